#include "search_query.h"

#include <array>
#include <string_view>

#include "text_util.h"

namespace qb::standin {

namespace {

constexpr std::array<std::string_view, 10> kCategories = {
    "kino", "nashe_kino",  "seriali", "nashi_seriali", "nauchno_popularnoe",
    "tv",   "inostrannoe", "multiki", "anime",         "jumor"};

constexpr std::string_view kSearchHead = "search/";
// Sort order, category and sort field that follow the page number: the only ones the client
// sends (all categories, by seeders).
constexpr std::string_view kSearchTail = "/0/000/2/";

} // namespace

bool isCategorySlug(const std::string& slug) {
    for (auto known : kCategories)
        if (slug == known)
            return true;
    return false;
}

SearchQuery parseSearchQuery(const std::string& q) {
    SearchQuery query;
    if (q == "top") {
        query.kind = SearchQuery::Kind::Top;
    } else if (isCategorySlug(q)) {
        query.kind = SearchQuery::Kind::Category;
        query.text = q;
    } else if (q.starts_with(kSearchHead)) {
        auto rest = std::string_view(q).substr(kSearchHead.size());
        auto tail = rest.find(kSearchTail);
        auto page = rest.substr(0, tail);
        if (tail != std::string_view::npos && isDecimal(page) && page.size() < 6) {
            query.kind = SearchQuery::Kind::Text;
            query.page = std::stoi(std::string(page));
            query.text = std::string(rest.substr(tail + kSearchTail.size()));
        }
    }
    return query;
}

} // namespace qb::standin
