#include "connection/list/member_text.h"

namespace qb::connection {
namespace {
// The JsonValueText rule for the scalar values that reach it.
QString scalarText(const nlohmann::ordered_json& value) {
    if (value.is_string()) {
        return QString::fromStdString(value.get_ref<const std::string&>());
    }
    if (value.is_boolean()) {
        return value.get<bool>() ? QStringLiteral("true") : QStringLiteral("false");
    }
    if (value.is_number()) {
        return QString::fromStdString(value.dump());
    }
    return {};
}
} // namespace

QString entryMemberText(const nlohmann::ordered_json& entry, const char* member) {
    if (!entry.is_object()) {
        return {};
    }
    const auto found = entry.find(member);
    if (found == entry.end() || found->is_structured()) {
        return {};
    }
    return scalarText(*found);
}
} // namespace qb::connection
