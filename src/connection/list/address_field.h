#pragma once

#include <QString>

namespace qb::connection {
struct AddressCleanUp {
    QString text;
    bool changed = false; // the field takes `text` and the caret goes to its end
};

// What SrvAdress holds after the user leaves it: trimmed and without one final "/" when the
// trimmed text ends with "/"; otherwise the text as it was. Leaving an empty field is the
// caller's case (it falls back to the remembered address).
AddressCleanUp cleanAddressOnExit(const QString& text);
} // namespace qb::connection
