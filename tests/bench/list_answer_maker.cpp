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

// The file list of a torrent, as today's server lists it: sorted by path, ids from 1.
Json makeFileStats(std::mt19937& rng, const std::string& title, std::uint64_t& length) {
    const int count = 1 + static_cast<int>(rng() % 30);
    Json files = Json::array();
    for (int i = 1; i <= count; ++i) {
        const bool single = count == 1;
        const bool subtitle = !single && rng() % 5 == 0;
        const std::string base = single ? title : title + "/Серия " + std::to_string(i);
        const std::uint64_t size = 200'000'000ULL + rng() % 3'000'000'000ULL;
        length += size;
        files.push_back(
            Json{{"id", i}, {"path", base + (subtitle ? ".srt" : ".mkv")}, {"length", size}});
    }
    return files;
}

std::string base62Text(std::mt19937& rng, int digits) {
    static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string out;
    for (int i = 0; i < digits; ++i) {
        out.push_back(kDigits[rng() % 62]);
    }
    return out;
}

// A status object of today's server, members in the order its encoder writes them and the
// empty ones left out. A server that has run a while holds most torrents only in its database:
// title, poster, data (the client's release data, or the server's own copy of the file list),
// size. One in four is loaded, with its peers' and transfer counters and its files.
Json makeStatus(std::mt19937& rng, int index) {
    const std::string hash = hexText(rng, 40);
    const std::string title = std::string(kTitles[rng() % kTitles.size()]) + " (" +
                              std::to_string(1960 + rng() % 64) + ") " +
                              kQualities[rng() % kQualities.size()] + " #" + std::to_string(index);
    const bool fromTracker = rng() % 2 == 0;
    const bool loaded = rng() % 4 == 0;
    const bool seeking = loaded && rng() % 10 == 0;
    std::uint64_t length = 0;
    Json files = makeFileStats(rng, title, length);
    Json status = Json::object();
    status["title"] = title;
    status["category"] = rng() % 3 == 0 ? "movie" : "";
    status["poster"] =
        fromTracker ? "https://img.tracker.example/posters/" + hexText(rng, 8) + ".jpg" : "";
    if (fromTracker) {
        const std::string id = std::to_string(rng() % 6'000'000);
        status["data"] =
            R"({"id":")" + id + R"(", "poster_path":"https://img.tracker.example/posters/)" +
            hexText(rng, 8) + R"(.jpg", "magnet":"magnet:?xt=urn:btih:)" + hash + "&dn=id_" +
            hexText(rng, 5) + R"(&tr=http%3A%2F%2Fbt.tracker.example%3A2710%2Fannounce"})";
    } else {
        status["data"] = Json{{"TorrServer", Json{{"Files", files}}}}.dump();
    }
    status["timestamp"] = 1'700'000'000 - index * 60;
    if (loaded && !seeking) {
        status["name"] = title;
    }
    status["hash"] = hash;
    if (loaded && !seeking) {
        status["torrs_hash"] = base62Text(rng, 120);
    }
    status["stat"] = loaded ? (seeking ? 1 : 3) : 5;
    status["stat_string"] =
        loaded ? (seeking ? "Torrent getting info" : "Torrent working") : "Torrent in db";
    if (seeking) {
        return status;
    }
    if (loaded) {
        status["loaded_size"] = rng() % 100'000'000;
    }
    status["torrent_size"] = length;
    if (!loaded) {
        return status;
    }
    status["download_speed"] = static_cast<double>(rng() % 5'000'000) + 0.25;
    status["upload_speed"] = static_cast<double>(rng() % 500'000) + 0.5;
    for (const char* counter :
         {"total_peers", "pending_peers", "active_peers", "connected_seeders", "half_open_peers"}) {
        status[counter] = rng() % 60;
    }
    for (const char* counter :
         {"bytes_written", "bytes_written_data", "bytes_read", "bytes_read_data",
          "bytes_read_useful_data", "chunks_written", "chunks_read", "chunks_read_useful",
          "chunks_read_wasted", "pieces_dirtied_good"}) {
        status[counter] = rng() % 900'000'000;
    }
    status["file_stats"] = std::move(files);
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
