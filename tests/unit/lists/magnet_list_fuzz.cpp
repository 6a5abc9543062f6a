// Any bytes as a magnet-list file: decoding, splitting into lines and reading each line as the
// imports do must neither crash nor hang, and no line may exceed its length limit.
#include "lists/text/link_lines.h"
#include "lists/text/list_reading.h"
#include "platform/text/text_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = qb::lists::listLines(qb::platform::decodeText(bytes));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].size() > qb::lists::kMaxListLineLength) {
            std::abort();
        }
        if (!qb::lists::isNameLine(lines[i])) {
            (void)qb::lists::addBodyOfLine(lines[i]);
            (void)qb::lists::errorEntry(lines, i, qb::lists::ErrorEntryForm::Long);
        }
    }
    if (qb::lists::importProgressMaximum(lines) < 0) {
        std::abort();
    }
    (void)qb::lists::holdsLinks(lines);
    return 0;
}
