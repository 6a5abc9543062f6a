#include "list_answer_maker.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace qb::bench {
namespace {
using Json = nlohmann::ordered_json;

const std::array<const char*, 12> kTitles{"Мастер и Маргарита",
                                          "Брат",
                                          "Ирония судьбы",
                                          "Солярис",
                                          "Сталкер",
                                          "Кин-дза-дза!",
                                          "Тайна Третьей планеты",
                                          "Москва слезам не верит",
                                          "Белое солнце пустыни",
                                          "Любовь и голуби",
                                          "Operation Ы",
                                          "The Expanse"};
const std::array<const char*, 6> kQualities{"WEB-DL 1080p", "BDRip 720p",    "HDTVRip",
                                            "WEB-DLRip",    "BDRemux 2160p", "DVDRip"};

std::string hexText(std::mt19937& rng, int digits) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < digits; ++i) {
        out.push_back(kHex[rng() % 16]);
    }
    return out;
}

Json makeFiles(std::mt19937& rng, const std::string& folder, const std::string& hash) {
    const int count = 1 + static_cast<int>(rng() % 30);
    Json files = Json::array();
    for (int i = 1; i <= count; ++i) {
        const bool single = count == 1;
        const bool subtitle = !single && rng() % 5 == 0;
        const std::string base = single ? folder : folder + "/Серия " + std::to_string(i);
        const std::string name = base + (subtitle ? ".srt" : ".mkv");
        files.push_back(Json{
            {"Name", name},
            {"Link",
             "/stream/" + std::to_string(i) + "?link=" + hash + "&index=" + std::to_string(i)},
            {"Preload", "/stream/?link=" + hash + "&index=" + std::to_string(i) + "&preload"},
            {"Size", 200'000'000ULL + rng() % 3'000'000'000ULL},
            {"Viewed", rng() % 3 == 0},
        });
    }
    return files;
}

Json makeEntry(std::mt19937& rng, int index) {
    const std::string hash = hexText(rng, 40);
    const std::string title = std::string(kTitles[rng() % kTitles.size()]) + " (" +
                              std::to_string(1960 + rng() % 64) + ") " +
                              kQualities[rng() % kQualities.size()] + " #" + std::to_string(index);
    const bool fromTracker = rng() % 2 == 0;
    const std::string displayName = fromTracker ? "id_" + hexText(rng, 6) : "Torrent";
    const std::string magnet = "magnet:?xt=urn:btih:" + hash + "&dn=" + displayName +
                               "&tr=http%3A%2F%2Fbt.tracker.example%3A2710%2Fannounce"
                               "&tr=udp%3A%2F%2Fopentor.example%3A6969%2Fannounce";
    Json files = makeFiles(rng, title, hash);
    std::uint64_t length = 0;
    for (const auto& file : files) {
        length += file["Size"].get<std::uint64_t>();
    }
    return Json{
        {"Name", title},
        {"Hash", hash},
        {"Length", length},
        {"Status", rng() % 20 == 0 ? 1 : 3},
        {"Magnet", magnet},
        {"Playlist", "/stream/" + hash + ".m3u?link=urn%3Abtih%3A" + hash + "%26&m3u=true"},
        {"Info", R"({"id":")" + std::to_string(rng() % 6'000'000) +
                     R"(", "poster_path":"https://img.tracker.example/posters/)" + hexText(rng, 8) +
                     R"(.jpg"})"},
        {"Files", std::move(files)},
    };
}

// A status object of today's server, members in the order its encoder writes them.
Json makeStatus(std::mt19937& rng, int index) {
    const std::string hash = hexText(rng, 40);
    const std::string title = std::string(kTitles[rng() % kTitles.size()]) + " (" +
                              std::to_string(1960 + rng() % 64) + ") " +
                              kQualities[rng() % kQualities.size()] + " #" + std::to_string(index);
    const bool fromTracker = rng() % 2 == 0;
    const bool inDatabase = rng() % 5 == 0;
    const bool seeking = !inDatabase && rng() % 20 == 0;
    Json status = Json::object();
    status["title"] = title;
    status["category"] = rng() % 3 == 0 ? "movie" : "";
    status["poster"] =
        fromTracker ? "https://img.tracker.example/posters/" + hexText(rng, 8) + ".jpg" : "";
    if (fromTracker) {
        status["data"] = R"({"id":")" + std::to_string(rng() % 6'000'000) +
                         R"(", "poster_path":"https://img.tracker.example/posters/)" +
                         hexText(rng, 8) + R"(.jpg"})";
    }
    status["timestamp"] = 1'700'000'000 - index * 60;
    if (!inDatabase && !seeking) {
        status["name"] = title;
    }
    status["hash"] = hash;
    status["stat"] = inDatabase ? 5 : (seeking ? 1 : 3);
    status["stat_string"] =
        inDatabase ? "Torrent in db" : (seeking ? "Torrent getting info" : "Torrent working");
    if (seeking) {
        return status;
    }
    const int count = 1 + static_cast<int>(rng() % 30);
    Json files = Json::array();
    std::uint64_t length = 0;
    for (int i = 1; i <= count; ++i) {
        const bool single = count == 1;
        const bool subtitle = !single && rng() % 5 == 0;
        const std::string base = single ? title : title + "/Серия " + std::to_string(i);
        const std::uint64_t size = 200'000'000ULL + rng() % 3'000'000'000ULL;
        length += size;
        files.push_back(
            Json{{"id", i}, {"path", base + (subtitle ? ".srt" : ".mkv")}, {"length", size}});
    }
    if (!inDatabase) {
        status["loaded_size"] = rng() % 100'000'000;
    }
    status["torrent_size"] = length;
    if (!inDatabase) {
        status["download_speed"] = static_cast<double>(rng() % 5'000'000) + 0.25;
        status["active_peers"] = rng() % 40;
        status["connected_seeders"] = rng() % 20;
        status["file_stats"] = std::move(files);
    }
    return status;
}

QByteArray goEncoded(const Json& value) {
    // The server's encoder (Go's) writes "&", "<" and ">" inside strings as escapes.
    QByteArray text = QByteArray::fromStdString(value.dump());
    text.replace("&", "\\u0026").replace("<", "\\u003c").replace(">", "\\u003e");
    return text;
}
} // namespace

QByteArray makeTodayListAnswer(int entries, unsigned seed) {
    std::mt19937 rng(seed);
    Json list = Json::array();
    for (int i = 0; i < entries; ++i) {
        list.push_back(makeStatus(rng, i));
    }
    return goEncoded(list);
}

QByteArray makeListAnswer(int entries, unsigned seed) {
    std::mt19937 rng(seed);
    Json list = Json::array();
    for (int i = 0; i < entries; ++i) {
        list.push_back(makeEntry(rng, i));
    }
    return goEncoded(list);
}
} // namespace qb::bench
