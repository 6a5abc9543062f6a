#include "connection/list/address_field.h"

namespace qb::connection {
AddressCleanUp cleanAddressOnExit(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.endsWith(u'/')) {
        return {trimmed.chopped(1), true};
    }
    return {text, false};
}
} // namespace qb::connection
