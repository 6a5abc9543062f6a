#include "connection/list/member_text.h"

#include "connection/http/json_value_text.h"

namespace qb::connection {
QString entryMemberText(const nlohmann::ordered_json& entry, const char* member) {
    if (!entry.is_object()) {
        return {};
    }
    const auto found = entry.find(member);
    if (found == entry.end() || found->is_structured()) {
        return {};
    }
    return JsonValueText(entry, member);
}
} // namespace qb::connection
