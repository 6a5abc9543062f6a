#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace torznab {

// One release of the indexer, as its fixture describes it.
struct Item {
    std::string title;
    std::string hash; // 40 hexadecimal digits, written as given
    std::int64_t size = 0;
    int seeders = 0;
    int leechers = 0;
    std::vector<int> categories;
    int files = -1;
    std::string poster; // "/posters/<file>": one of the fixture's folder, served by the stand-in
    std::int64_t published = 0; // seconds since the epoch
    bool magnet = true;         // a "magneturl" attribute
    bool infohash = true;       // an "infohash" attribute
    std::vector<std::string> trackers;
    std::string description;
    std::string genre;
    int year = 0;
};

// The fixture: a JSON array of items with "title", "hash", "size", "seeders", "leechers",
// "categories", "files", "poster", "ageHours" (published that long before the start) or
// "published", "magnet", "infohash", "trackers", "description", "genre" and "year".
std::vector<Item> readFixture(const nlohmann::json& items, std::int64_t now);

// t=search: the items whose title holds every word of q (any case), all of them for an empty q,
// of the categories asked ("cat": a number matches itself, a thousand its whole group), newest
// first, from `offset`, at most `limit`.
std::vector<Item> search(const std::vector<Item>& items, const std::string& q,
                         const std::string& categories, int offset, int limit);

// The RSS answer of t=search, and the answers of t=caps and of an error.
std::string rssOf(const std::vector<Item>& items, const std::string& self);
std::string capsAnswer();
std::string errorAnswer(int code, const std::string& description);

} // namespace torznab
