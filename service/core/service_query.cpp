#include "service_query.h"

#include "magnet.h"
#include "plain_text.h"
#include "release_store.h"

#include <algorithm>
#include <charconv>

namespace qb::service {

namespace {
constexpr std::size_t kLongestSearch = 200;
constexpr int kSearchParts = 5; // "search", the page and three fixed parts before the text

// "+" is a blank; "%2B" stays a plus.
std::string formDecoded(std::string_view value) {
    std::string blanks(value);
    std::replace(blanks.begin(), blanks.end(), '+', ' ');
    return percentDecoded(blanks);
}

} // namespace

std::string queryParameter(std::string_view target, std::string_view name) {
    const std::size_t question = target.find('?');
    if (question == std::string_view::npos) {
        return {};
    }
    std::string_view rest = target.substr(question + 1);
    while (true) {
        const std::size_t amp = rest.find('&');
        const std::string_view pair = rest.substr(0, amp);
        const std::size_t equals = pair.find('=');
        if (pair.substr(0, equals) == name) {
            return equals == std::string_view::npos ? std::string()
                                                    : formDecoded(pair.substr(equals + 1));
        }
        if (amp == std::string_view::npos) {
            return {};
        }
        rest.remove_prefix(amp + 1);
    }
}

std::optional<ServiceQuery> parseServiceQuery(std::string_view q) {
    ServiceQuery query;
    if (q == "top") {
        query.kind = ServiceQuery::Kind::Top;
        return query;
    }
    if (const auto shelf = shelfOfSlug(q)) {
        query.kind = ServiceQuery::Kind::Category;
        query.shelf = *shelf;
        return query;
    }
    std::string_view rest = q;
    std::string_view parts[kSearchParts];
    for (std::string_view& part : parts) {
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos) {
            return std::nullopt;
        }
        part = rest.substr(0, slash);
        rest.remove_prefix(slash + 1);
    }
    if (parts[0] != "search" || (parts[1] != "0" && parts[1] != "1")) {
        return std::nullopt;
    }
    query.page = parts[1] == "1" ? 1 : 0;
    query.text = oneLine(rest, kLongestSearch);
    if (query.text.empty()) {
        return std::nullopt;
    }
    return query;
}

std::string searchKey(std::string_view text) {
    return foldedCase(oneLine(text, kLongestSearch));
}

std::optional<std::uint32_t> parseReleaseId(std::string_view text) {
    std::uint32_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || text.size() > 9 || error != std::errc() ||
        end != text.data() + text.size() || id == 0 || id > kLargestReleaseId) {
        return std::nullopt;
    }
    return id;
}

} // namespace qb::service
