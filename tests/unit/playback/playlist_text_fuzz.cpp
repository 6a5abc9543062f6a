// Any bytes as the file list of a server's answer, and as the texts the playlists are made of:
// the playlist always has its head and two lines for each file chosen, whatever the names and
// links hold, and the decoding of addresses and names neither crashes nor hangs.
#include "playback/playlist/file_playlist.h"
#include "playback/text/url_decoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromUtf8(bytes);
    const auto files = nlohmann::ordered_json::parse(bytes.begin(), bytes.end(), nullptr, false);
    QList<int> chosen{-1, 0, 1, 2, 3, 1000};
    qsizetype inside = 0;
    for (const int index : chosen) {
        inside += files.is_array() && index >= 0 && static_cast<size_t>(index) < files.size();
    }
    const QByteArray playlist = qb::playback::filePlaylistBytes(text, files, chosen);
    if (!playlist.startsWith("\xEF\xBB\xBF#EXTM3U\r\n") || playlist.count('\n') != 1 + 2 * inside ||
        playlist.count('\r') != 1 + 2 * inside) {
        std::abort();
    }
    (void)qb::playback::filePlaylistAddress(text, text, 7);
    (void)qb::playback::urlDecode(text);
    (void)qb::playback::playlistFileName(text);
    return 0;
}
