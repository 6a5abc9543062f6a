#include "connection/list/server_list.h"

#include "connection/http/json_value_text.h"

#include <QString>

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

namespace qb::connection {

ListParseOutcome parseServerList(const QByteArray& answer) {
    ListParseOutcome outcome;
    std::optional<nlohmann::ordered_json> parsed = parseJsonAnswer(answer);
    if (!parsed) {
        return outcome;
    }
    if (!parsed->is_array()) {
        outcome.kind = ListAnswerKind::NotArray;
        return outcome;
    }
    outcome.kind = ListAnswerKind::Array;
    outcome.array = std::move(*parsed);
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
        keys.push_back(compactJsonText(entry));
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
