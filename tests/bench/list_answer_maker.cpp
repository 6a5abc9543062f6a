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
} // namespace

QByteArray makeListAnswer(int entries, unsigned seed) {
    std::mt19937 rng(seed);
    Json list = Json::array();
    for (int i = 0; i < entries; ++i) {
        list.push_back(makeEntry(rng, i));
    }
    // The server's encoder (Go's) writes "&", "<" and ">" inside strings as escapes.
    QByteArray text = QByteArray::fromStdString(list.dump());
    text.replace("&", "\\u0026").replace("<", "\\u003c").replace(">", "\\u003e");
    return text;
}
} // namespace qb::bench
