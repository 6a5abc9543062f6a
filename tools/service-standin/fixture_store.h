#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qb::standin {

// The fixture folder: result pages, release pages, images and the idle page.
//   search.json          {"<search text>": ["pages/<page 0>", "pages/<page 1>"], ...}
//   pages/<name>.html    result pages: top.html, <category slug>.html, empty.html, abt.need.html
//   releases/<id>.html   release pages; releases/missing.html for any other id
//   img/...              images
// Files are read on every request, so a fixture can be edited while the service runs.
class FixtureStore {
public:
    explicit FixtureStore(std::filesystem::path root);

    // Loads search.json; false with a message when the folder is not usable.
    bool load(std::string& error);
    const std::filesystem::path& root() const { return root_; }

    // The page file of a text search, or nullopt when the search finds nothing on that page.
    std::optional<std::string> searchPage(const std::string& text, int page) const;
    std::optional<std::string> read(const std::string& relative) const;
    // A path below the root that names an existing file; nullopt for "..", absolute paths...
    std::optional<std::filesystem::path> file(const std::string& relative) const;

private:
    std::filesystem::path root_;
    std::map<std::string, std::vector<std::string>> searches_;
};

// The fixture folder used when none is given: beside the executable, else the source tree.
std::filesystem::path defaultFixtureDir(const std::filesystem::path& executable);

} // namespace qb::standin
