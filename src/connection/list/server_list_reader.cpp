#include "connection/list/server_list_reader.h"

#include "connection/http/json_value_text.h"

#include <simdjson.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace qb::connection {

namespace {
using Json = nlohmann::ordered_json;

// The reader met something it must not decide alone; the plain reader takes over.
struct NotForTheFastReader {};

constexpr std::size_t kSearchedMembers = 16;

// The two-character escape Json::dump writes for `c`; nullptr when it writes \u00XX.
const char* shortEscape(unsigned char c) {
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\b':
        return "\\b";
    case '\f':
        return "\\f";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        return nullptr;
    }
}

// Builds the value of an element and writes its compact text as Json::dump writes it (no
// blanks, members in received order, the same escapes), so no entry is written out twice.
class EntryBuilder {
public:
    explicit EntryBuilder(std::string& key)
        : Key_(key) {}

    Json build(simdjson::dom::element element, int depth) {
        if (depth > kMaxJsonAnswerDepth) {
            throw NotForTheFastReader{};
        }
        switch (element.type()) {
        case simdjson::dom::element_type::OBJECT:
            return buildObject(element.get_object().value_unsafe(), depth);
        case simdjson::dom::element_type::ARRAY:
            return buildArray(element.get_array().value_unsafe(), depth);
        case simdjson::dom::element_type::STRING: {
            const std::string_view text = element.get_string().value_unsafe();
            writeString(text);
            return Json(std::string(text));
        }
        case simdjson::dom::element_type::INT64: {
            const std::int64_t value = element.get_int64().value_unsafe();
            writeNumber(value);
            // The plain reader keeps non-negative integers unsigned.
            return value >= 0 ? Json(static_cast<std::uint64_t>(value)) : Json(value);
        }
        case simdjson::dom::element_type::UINT64: {
            const std::uint64_t value = element.get_uint64().value_unsafe();
            writeNumber(value);
            return Json(value);
        }
        case simdjson::dom::element_type::DOUBLE: {
            const double value = element.get_double().value_unsafe();
            // "-0" reads as an integer there, "-0.0" as a number with a fraction: only the
            // literal could tell them apart.
            if (value == 0.0 && std::signbit(value)) {
                throw NotForTheFastReader{};
            }
            Json number(value);
            Key_ += number.dump();
            return number;
        }
        case simdjson::dom::element_type::BOOL: {
            const bool value = element.get_bool().value_unsafe();
            Key_ += value ? "true" : "false";
            return Json(value);
        }
        case simdjson::dom::element_type::NULL_VALUE:
            Key_ += "null";
            return Json(nullptr);
        }
        throw NotForTheFastReader{};
    }

private:
    Json buildObject(simdjson::dom::object object, int depth) {
        Json value(Json::value_t::object);
        auto& members = value.get_ref<Json::object_t&>();
        members.reserve(object.size());
        Key_ += '{';
        // A repeated name keeps its first place with its last value there: the plain reader's
        // case. Small objects are searched, large ones hashed, so no answer takes quadratic time.
        std::unordered_set<std::string_view> names;
        const bool hashed = object.size() > kSearchedMembers;
        for (const simdjson::dom::key_value_pair member : object) {
            const bool repeated =
                hashed ? !names.insert(member.key).second
                       : std::any_of(members.begin(), members.end(),
                                     [&member](const auto& m) { return m.first == member.key; });
            if (repeated) {
                throw NotForTheFastReader{};
            }
            if (!members.empty()) {
                Key_ += ',';
            }
            writeString(member.key);
            Key_ += ':';
            Json memberValue = build(member.value, depth + 1);
            members.emplace_back(std::string(member.key), std::move(memberValue));
        }
        Key_ += '}';
        return value;
    }

    Json buildArray(simdjson::dom::array array, int depth) {
        Json value(Json::value_t::array);
        auto& items = value.get_ref<Json::array_t&>();
        items.reserve(array.size());
        Key_ += '[';
        for (const simdjson::dom::element item : array) {
            if (!items.empty()) {
                Key_ += ',';
            }
            items.push_back(build(item, depth + 1));
        }
        Key_ += ']';
        return value;
    }

    template <typename Integer> void writeNumber(Integer value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        Key_.append(digits, end);
    }

    // A string as Json::dump writes it without ASCII escaping: the quote, the backslash and
    // control characters escaped, everything else as it is.
    void writeString(std::string_view text) {
        Key_ += '"';
        std::size_t plainFrom = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c >= 0x20 && c != '"' && c != '\\') {
                continue;
            }
            Key_.append(text.substr(plainFrom, i - plainFrom));
            plainFrom = i + 1;
            if (const char* escape = shortEscape(c)) {
                Key_ += escape;
            } else {
                static const char kHex[] = "0123456789abcdef";
                Key_ += "\\u00";
                Key_ += kHex[c >> 4];
                Key_ += kHex[c & 0xF];
            }
        }
        Key_.append(text.substr(plainFrom));
        Key_ += '"';
    }

    std::string& Key_;
};

// The plain way: the strict reader, then the sort by each entry's written text.
ListParseOutcome readPlainly(const QByteArray& answer) {
    ListParseOutcome outcome = parseServerList(answer);
    if (outcome.kind == ListAnswerKind::Array) {
        sortServerList(outcome.array);
    }
    return outcome;
}

std::optional<ListParseOutcome> readFast(const QByteArray& answer) {
    // One parser per thread keeps its buffers from one refresh to the next.
    thread_local simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (parser.parse(answer.constData(), static_cast<std::size_t>(answer.size())).get(root) !=
            simdjson::SUCCESS ||
        !root.is_array()) {
        return std::nullopt;
    }
    const simdjson::dom::array entries = root.get_array().value_unsafe();
    std::vector<Json> values;
    std::vector<std::string> keys;
    values.reserve(entries.size());
    keys.reserve(entries.size());
    try {
        for (const simdjson::dom::element entry : entries) {
            std::string& key = keys.emplace_back();
            values.push_back(EntryBuilder(key).build(entry, 2));
            // Text that is not UTF-8 (a lone surrogate written as an escape) is refused by the
            // strict reader.
            if (!simdjson::validate_utf8(key.data(), key.size())) {
                return std::nullopt;
            }
        }
    } catch (const NotForTheFastReader&) {
        return std::nullopt;
    }

    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&keys](std::size_t a, std::size_t b) { return utf16Less(keys[a], keys[b]); });
    ListParseOutcome outcome;
    outcome.kind = ListAnswerKind::Array;
    auto& sorted = outcome.array.get_ref<Json::array_t&>();
    sorted.reserve(values.size());
    for (const std::size_t index : order) {
        sorted.push_back(std::move(values[index]));
    }
    return outcome;
}
} // namespace

bool utf16Less(std::string_view a, std::string_view b) {
    const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (left == a.end() || right == b.end()) {
        return a.size() < b.size();
    }
    // Byte order is code point order. UTF-16 differs only where a character past U+FFFF (a
    // surrogate pair, D800-DFFF) meets one of U+E000-U+FFFF: the pair orders first there.
    std::size_t start = static_cast<std::size_t>(left - a.begin());
    while (start > 0 && (static_cast<unsigned char>(a[start]) & 0xC0) == 0x80) {
        --start;
    }
    const auto leadA = static_cast<unsigned char>(a[start]);
    const auto leadB = static_cast<unsigned char>(b[start]);
    const auto highBmp = [](unsigned char lead) { return lead == 0xEE || lead == 0xEF; };
    if (leadA >= 0xF0 && highBmp(leadB)) {
        return true;
    }
    if (leadB >= 0xF0 && highBmp(leadA)) {
        return false;
    }
    return static_cast<unsigned char>(*left) < static_cast<unsigned char>(*right);
}

ListParseOutcome readSortedServerList(const QByteArray& answer) {
    if (std::optional<ListParseOutcome> fast = readFast(answer)) {
        return std::move(*fast);
    }
    return readPlainly(answer);
}

} // namespace qb::connection
