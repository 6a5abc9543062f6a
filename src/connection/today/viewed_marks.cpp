#include "connection/today/viewed_marks.h"

#include "connection/http/json_value_text.h"

#include <climits>

namespace qb::connection::today {
ViewedMarks readViewedMarks(const QByteArray& answer) {
    ViewedMarks marks;
    const std::optional<nlohmann::ordered_json> list = parseJsonAnswer(answer);
    if (!list || !list->is_array()) {
        return marks;
    }
    for (const nlohmann::ordered_json& mark : *list) {
        if (!mark.is_object()) {
            continue;
        }
        const auto hash = mark.find("hash");
        const auto index = mark.find("file_index");
        if (hash == mark.end() || !hash->is_string() || index == mark.end() ||
            !index->is_number_integer()) {
            continue;
        }
        if (index->is_number_unsigned() &&
            index->get<unsigned long long>() > static_cast<unsigned long long>(LLONG_MAX)) {
            continue;
        }
        marks[QString::fromStdString(hash->get<std::string>())].insert(index->get<long long>());
    }
    return marks;
}
} // namespace qb::connection::today
