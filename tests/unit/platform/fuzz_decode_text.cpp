// Any bytes decode to text, and that text written in the legacy code page, or as UTF-8 with a
// mark, reads back the same.
#include "platform/text/text_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = qb::platform::decodeText(bytes);
    if (qb::platform::decodeText(qb::platform::encodeLegacy(text)) != text) {
        std::abort();
    }
    if (qb::platform::decodeText(qb::platform::encodeUtf8WithBom(text)) != text) {
        std::abort();
    }
    return 0;
}
