#include "fixture_store.h"

#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "text_util.h"

namespace qb::standin {

FixtureStore::FixtureStore(std::filesystem::path root)
    : root_(std::move(root)) {}

bool FixtureStore::load(std::string& error) {
    auto text = read("search.json");
    if (!text) {
        error = "no search.json in the fixture folder " + root_.string();
        return false;
    }
    try {
        const auto index = nlohmann::json::parse(*text);
        for (const auto& [query, pages] : index.items())
            searches_[searchKey(query)] = pages.get<std::vector<std::string>>();
    } catch (const nlohmann::json::exception& e) {
        error = std::string("search.json: ") + e.what();
        return false;
    }
    return true;
}

std::optional<std::string> FixtureStore::searchPage(const std::string& text, int page) const {
    auto it = searches_.find(searchKey(text));
    if (it == searches_.end() || page < 0 || static_cast<size_t>(page) >= it->second.size())
        return std::nullopt;
    return it->second[static_cast<size_t>(page)];
}

std::optional<std::filesystem::path> FixtureStore::file(const std::string& relative) const {
    std::filesystem::path rel(relative);
    if (relative.empty() || rel.is_absolute())
        return std::nullopt;
    for (const auto& part : rel)
        if (part == "..")
            return std::nullopt;
    auto full = root_ / rel;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(full, ec))
        return std::nullopt;
    return full;
}

std::optional<std::string> FixtureStore::read(const std::string& relative) const {
    auto path = file(relative);
    if (!path)
        return std::nullopt;
    std::ifstream in(*path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    if (!in)
        return std::nullopt;
    return out.str();
}

std::filesystem::path defaultFixtureDir(const std::filesystem::path& executable) {
    auto beside = executable.parent_path() / "service-standin-fixtures";
    std::error_code ec;
    if (std::filesystem::is_directory(beside, ec))
        return beside;
    return QB_SERVICE_FIXTURES_DIR;
}

} // namespace qb::standin
