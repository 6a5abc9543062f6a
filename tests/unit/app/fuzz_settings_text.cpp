// Any file content either reads as settings or is refused; settings that were read are saved
// and read back unchanged, whatever characters they hold.
#include "app/settings/settings_text.h"
#include "platform/text/text_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkRoundTrip(const QString& fileText) {
    const auto loaded = qb::app::parseSettingsText(fileText);
    if (!loaded) {
        return;
    }
    const qb::app::Settings& s = *loaded;
    const QString address = qb::app::cleanAddressForSave(s.server, s.server).text;
    const QString text =
        qb::app::settingsText(qb::app::saveValuesFor(s, QStringLiteral("t"), false, address));
    const auto back =
        qb::app::parseSettingsText(qb::platform::decodeText(qb::platform::encodeLegacy(text)));
    if (!back || back->player != s.player || back->minimize != s.minimize ||
        back->server != address || back->keepLocalServer != s.keepLocalServer ||
        back->serviceBaseUrl != s.serviceBaseUrl) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString decoded = qb::platform::decodeText(bytes);
    checkRoundTrip(decoded);
    // The same bytes as the inside of a value, where escapes and odd characters end up.
    checkRoundTrip(u"[{\"Server\":\"" + decoded + u"\",\"Tor\":\"" + decoded + u"\"}]");
    return 0;
}
