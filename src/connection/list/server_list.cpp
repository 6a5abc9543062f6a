#include "connection/list/server_list.h"

#include <QString>

#include <algorithm>
#include <numeric>
#include <vector>

namespace qb::connection {
namespace {
// The deepest nesting of arrays and objects in a JSON text, brackets inside strings ignored.
// Stops counting once `limit` is passed.
int nestingDepth(const QByteArray& text, int limit) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    for (qsizetype i = 0; i < text.size() && deepest <= limit; ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

QString compactText(const nlohmann::ordered_json& value) {
    // Replacing broken UTF-8 keeps the sort total for values that did not come from the parser.
    return QString::fromStdString(
        value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}
} // namespace

ListParseOutcome parseServerList(const QByteArray& answer) {
    ListParseOutcome outcome;
    if (nestingDepth(answer, kMaxListAnswerDepth) > kMaxListAnswerDepth) {
        return outcome;
    }
    auto parsed = nlohmann::ordered_json::parse(answer.cbegin(), answer.cend(), nullptr, false);
    if (parsed.is_discarded()) {
        return outcome;
    }
    if (!parsed.is_array()) {
        outcome.kind = ListAnswerKind::NotArray;
        return outcome;
    }
    outcome.kind = ListAnswerKind::Array;
    outcome.array = std::move(parsed);
    return outcome;
}

void sortServerList(nlohmann::ordered_json& array) {
    if (!array.is_array() || array.size() < 2) {
        return;
    }
    // Each key is written once; the comparisons then only compare texts.
    std::vector<QString> keys;
    keys.reserve(array.size());
    for (const auto& entry : array) {
        keys.push_back(compactText(entry));
    }
    std::vector<std::size_t> order(array.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });

    auto sorted = nlohmann::ordered_json::array();
    auto& target = sorted.get_ref<nlohmann::ordered_json::array_t&>();
    auto& source = array.get_ref<nlohmann::ordered_json::array_t&>();
    target.reserve(source.size());
    for (const std::size_t index : order) {
        target.push_back(std::move(source[index]));
    }
    array = std::move(sorted);
}
} // namespace qb::connection
