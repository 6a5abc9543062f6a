// Feeds arbitrary bytes through everything the window does with a list answer: parse, sort,
// row texts and colours, the file rows and the release id of every entry.
#include "connection/list/address_field.h"
#include "connection/list/alive_check.h"
#include "connection/list/file_rows.h"
#include "connection/list/member_text.h"
#include "connection/list/release_id.h"
#include "connection/list/row_colours.h"
#include "connection/list/server_list.h"
#include "connection/list/torrent_row.h"
#include "connection/list/update_rows.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

using namespace qb::connection;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);

    (void)releaseIdFromMagnet(text);
    (void)cleanAddressOnExit(text);
    (void)aliveCheckDecision(true, text, text);

    ListParseOutcome outcome = parseServerList(bytes);
    if (outcome.kind != ListAnswerKind::Array) {
        return 0;
    }
    sortServerList(outcome.array);

    // Update rows made from the answer itself, so that names and hashes can match.
    QStringList updateRows{text, QStringLiteral("^")};
    for (const auto& entry : outcome.array) {
        updateRows.append(entryMemberText(entry, "Name") + u'^' + entryMemberText(entry, "Hash"));
    }
    for (const auto& entry : outcome.array) {
        const QString row = torrentRowText(entry, updateRows);
        (void)torrentRowColour(entry, row, false);
        (void)torrentRowColour(entry, row, true);
        (void)releaseIdFromMagnet(entryMemberText(entry, "Magnet"));
        if (const nlohmann::ordered_json* files = entryFiles(entry)) {
            (void)addListRows(*files);
            (void)singleTopFileForDownload(*files);
        }
        (void)addListRows(entry);
        (void)firstUpdateRowWithHash(updateRows, entryMemberText(entry, "Hash"));
    }
    return 0;
}
