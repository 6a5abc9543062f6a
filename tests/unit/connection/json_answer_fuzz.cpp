// Any bytes as a server's JSON answer: parsing, reading members as text and writing entries
// out as sort keys must neither crash nor hang.
#include "connection/http/json_value_text.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using qb::connection::JsonValueText;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto answer = qb::connection::parseJsonAnswer(bytes);
    if (!answer) {
        return 0;
    }
    const auto readEntry = [](const nlohmann::ordered_json& entry) {
        for (const char* member : {"Name", "Hash", "Length", "Status", "Magnet", "Playlist", "Info",
                                   "Files", "Viewed", "DownloadSpeed"}) {
            try {
                (void)JsonValueText(entry, member);
            } catch (const std::runtime_error&) {
            }
        }
        (void)qb::connection::compactJsonText(entry);
    };
    readEntry(*answer);
    if (answer->is_array()) {
        for (const auto& entry : *answer) {
            readEntry(entry);
        }
    }
    return 0;
}
