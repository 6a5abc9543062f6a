// Any bytes as an answer of today's server: the list (read the fast way and the plain way
// alike, every entry a client entry with a file array and a magnet), a status answer (a finished
// preload has its bytes in), a playlist's first stream, and the client's data and links. An
// entry that is no object reads as one without members.
#include "connection/http/json_value_text.h"
#include "connection/list/member_text.h"
#include "connection/list/torrent_row.h"
#include "connection/today/client_entry.h"
#include "connection/today/playlist_stream.h"
#include "connection/today/release_data.h"
#include "connection/today/today_list.h"
#include "connection/today/viewed_marks.h"
#include "playback/preload/today_stat_answer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace qb::connection;

namespace {
void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkList(const QByteArray& bytes) {
    const ServerListRead fast = readServerList(bytes, today::kListDialect);
    ListParseOutcome plain = parseServerList(bytes);
    check(fast.kind == plain.kind);
    if (plain.kind != ListAnswerKind::Array) {
        return;
    }
    sortServerList(plain.array);
    check(fast.entries.size() == plain.array.size() && fast.rowFields.size() == plain.array.size());
    for (std::size_t i = 0; i < plain.array.size(); ++i) {
        const nlohmann::ordered_json& entry = fast.entries[i];
        check(entry == today::clientEntry(plain.array[i]));
        check(entry["Files"].is_array());
        check(!plain.array[i].is_object() ||
              entryMemberText(entry, "Magnet").startsWith(QStringLiteral("magnet:?xt=urn:btih:")));
        check(torrentRowText(fast.rowFields[i], {}) == torrentRowText(entry, {}));
    }
}

bool decimalId(const QString& id) {
    return id.size() <= 9 &&
           std::all_of(id.begin(), id.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkList(bytes);

    if (const auto stat = qb::playback::readTodayStatAnswer(bytes)) {
        check(!stat->finished ||
              (stat->preloadSize > 0 && stat->preloadedBytes >= stat->preloadSize));
    }
    if (const auto stream = today::firstPlaylistStream(bytes)) {
        check(!stream->hash.isEmpty());
    }
    const QString text = QString::fromUtf8(bytes);
    check(decimalId(today::readReleaseData(text).releaseId));
    for (const auto& [hash, ids] : today::readViewedMarks(bytes).asKeyValueRange()) {
        check(!ids.empty());
    }
    if (const auto data = today::dataWithFiles(text, nlohmann::ordered_json::array())) {
        check(today::readReleaseData(*data).releaseId == today::readReleaseData(text).releaseId);
    }
    const today::MarkedLink marked = today::takeReleaseMarker(text);
    check(decimalId(marked.releaseId) && marked.link.size() <= text.size());
    return 0;
}
