#include "search_fixture.h"

#include "search_text.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

namespace torrserver {

namespace {
constexpr const char* kZeroTime = "0001-01-01T00:00:00Z";

bool holdsEveryWord(const Json& record, const std::vector<std::string>& words) {
    const std::vector<std::string> title = searchTokens(record["Title"].get<std::string>());
    const std::set<std::string> have(title.begin(), title.end());
    return std::all_of(words.begin(), words.end(),
                       [&have](const std::string& word) { return have.count(word) > 0; });
}

std::string namesOf(const Json& record) {
    std::string out = record["Name"].get<std::string>();
    std::string joined;
    if (record["Names"].is_array()) {
        for (const Json& name : record["Names"]) {
            joined +=
                (joined.empty() ? "" : " ") + (name.is_string() ? name.get<std::string>() : "");
        }
    }
    return out + joined;
}

// A size as the server's torznab search writes it (with its "CiB" units).
std::string torznabSize(std::int64_t bytes) {
    if (bytes < 1024) {
        return std::to_string(bytes) + " B";
    }
    std::int64_t div = 1024;
    int exp = 0;
    for (std::int64_t n = bytes / 1024; n >= 1024; n /= 1024) {
        div *= 1024;
        ++exp;
    }
    char text[64];
    std::snprintf(text, sizeof(text), "%.1f %cCiB",
                  static_cast<double>(bytes) / static_cast<double>(div), "KMGTPE"[exp]);
    return text;
}

Json torznabRecord(const Json& given) {
    const Json full = releaseRecord(given);
    Json out = releaseRecord(Json::object());
    for (const char* kept :
         {"Title", "Link", "Tracker", "CreateDate", "Size", "Magnet", "Hash", "Seed", "Peer"}) {
        out[kept] = full[kept];
    }
    out["Name"] = full["Title"];
    if (given.is_object() && given.contains("Bytes") && given["Bytes"].is_number_integer()) {
        out["Size"] = torznabSize(given["Bytes"].get<std::int64_t>());
    }
    return out;
}

std::vector<Json> recordsOf(const Json& list, bool torznab) {
    std::vector<Json> out;
    if (list.is_array()) {
        for (const Json& item : list) {
            if (item.is_object()) {
                out.push_back(torznab ? torznabRecord(item) : releaseRecord(item));
            }
        }
    }
    return out;
}
} // namespace

Json releaseRecord(const Json& given) {
    static const std::pair<const char*, Json> kMembers[] = {
        {"Title", ""},      {"Name", ""},   {"Names", nullptr},
        {"Categories", ""}, {"Size", ""},   {"CreateDate", kZeroTime},
        {"Tracker", ""},    {"Link", ""},   {"Year", 0},
        {"Peer", 0},        {"Seed", 0},    {"Magnet", ""},
        {"Hash", ""},       {"IMDBID", ""}, {"VideoQuality", 0},
        {"AudioQuality", 0}};
    Json out = Json::object();
    for (const auto& [name, zero] : kMembers) {
        const auto it = given.is_object() ? given.find(name) : given.end();
        const bool fits =
            it != given.end() && ((zero.is_string() && it->is_string()) ||
                                  (zero.is_number() && it->is_number_integer()) ||
                                  (zero.is_null() && (it->is_array() || it->is_null())));
        out[name] = fits ? *it : zero;
    }
    return out;
}

SearchFixture::SearchFixture(const std::string& file) {
    if (file.empty()) {
        return;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error_ = "cannot read " + file;
        return;
    }
    const Json all =
        Json::parse(std::string((std::istreambuf_iterator<char>(in)), {}), nullptr, false);
    if (all.is_array()) {
        rutor_ = recordsOf(all, false);
        torznab_ = recordsOf(all, true);
    } else if (all.is_object()) {
        rutor_ = recordsOf(all.value("rutor", Json::array()), false);
        torznab_ = recordsOf(all.value("torznab", Json::array()), true);
    } else {
        error_ = file + " is not a JSON array or object";
        return;
    }
    loaded_ = true;
}

Json SearchFixture::rutor(const std::string& query) const {
    const std::vector<std::string> words = searchTokens(query);
    std::vector<Json> found;
    for (const Json& record : rutor_) {
        if (!words.empty() && holdsEveryWord(record, words)) {
            found.push_back(record);
        }
    }
    const std::u32string wanted = clearedText(query);
    const auto distance = [&wanted](const Json& record) {
        std::string year = std::to_string(record["Year"].get<std::int64_t>());
        std::u32string key = clearedText(namesOf(record));
        for (const char c : year) {
            key.push_back(static_cast<char32_t>(c));
        }
        return levenshtein(wanted, key);
    };
    std::stable_sort(found.begin(), found.end(), [&distance](const Json& a, const Json& b) {
        const std::size_t da = distance(a);
        const std::size_t db = distance(b);
        if (da != db) {
            return da < db;
        }
        // RFC 3339 times of one zone order as texts do.
        return a["CreateDate"].get<std::string>() > b["CreateDate"].get<std::string>();
    });
    return Json(found);
}

Json SearchFixture::torznab(const std::string& query) const {
    const std::vector<std::string> words = searchTokens(query);
    Json found = Json::array();
    for (const Json& record : torznab_) {
        if (words.empty() || holdsEveryWord(record, words)) {
            found.push_back(record);
        }
    }
    return found;
}

} // namespace torrserver
