#include "file_stream.h"

#include "byte_range.h"
#include "byte_source.h"
#include "text_escape.h"

#include <ctime>
#include <memory>

namespace torrserver {

namespace {
// A 416 answer as Go's http.Error writes it.
void refuseRange(Response& res, std::int64_t size, bool invalid) {
    res.status = 416;
    res.set_header("Content-Range", "bytes */" + std::to_string(size));
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_content(invalid ? "invalid range\n" : "invalid range: failed to overlap\n",
                    "text/plain; charset=utf-8");
}
} // namespace

std::string goQuote(const std::string& text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7f) {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string httpDate(std::int64_t unixSeconds) {
    const std::time_t time = static_cast<std::time_t>(unixSeconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[64];
    std::strftime(text, sizeof(text), "%a, %d %b %Y %H:%M:%S GMT", &parts);
    return text;
}

void streamFile(App& app, const Request& req, Response& res, const LoadedTorrent& torrent,
                std::size_t index, const StreamHeaders& extra) {
    TorrentMeta meta = torrent.meta;
    if (meta.dataRoot.empty()) {
        // An uploaded or seeded .torrent may have its data in the content folder too.
        if (const std::optional<TorrentMeta> content = app.content.find(meta.hash)) {
            meta.dataRoot = content->dataRoot;
        }
    }
    const std::string& path = meta.files[index].path;
    const std::int64_t size = meta.files[index].size;
    for (const auto& [name, value] : extra.headers) {
        res.set_header(name, value);
    }
    if (extra.lastModified > 0) {
        res.set_header("Last-Modified", httpDate(extra.lastModified));
    }
    const ByteRange range = parseByteRange(req.get_header_value(kRawRangeHeader), size);
    if (range.kind == ByteRange::Kind::Unsatisfiable || range.kind == ByteRange::Kind::Invalid) {
        refuseRange(res, size, range.kind == ByteRange::Kind::Invalid);
        return;
    }
    const std::string type = extra.contentType.empty() ? mimeTypeOf(path) : extra.contentType;
    res.set_header("Accept-Ranges", "bytes");
    std::int64_t first = 0;
    std::int64_t length = size;
    if (range.kind == ByteRange::Kind::Partial) {
        first = range.first;
        length = range.last - range.first + 1;
        res.status = 206;
        res.set_header("Content-Range", "bytes " + std::to_string(range.first) + "-" +
                                            std::to_string(range.last) + "/" +
                                            std::to_string(size));
    }
    if (length == 0) {
        res.set_content("", type);
        return;
    }
    auto source = std::make_shared<ByteSource>(meta, index);
    const std::string hash = meta.hash;
    app.store.openReader(hash);
    res.set_content_provider(
        static_cast<std::size_t>(length), type,
        [source, first](std::size_t offset, std::size_t wanted, httplib::DataSink& sink) {
            const std::string bytes = source->read(first + static_cast<std::int64_t>(offset),
                                                   std::min<std::size_t>(wanted, 256 * 1024));
            return !bytes.empty() && sink.write(bytes.data(), bytes.size());
        },
        [&app, hash](bool) { app.store.closeReader(hash); });
}

void sendPlaylist(Response& res, const std::string& text, const std::string& fileName,
                  const std::string& etag) {
    res.set_header("Connection", "close");
    if (!etag.empty()) {
        res.set_header("ETag", goQuote(etag));
    }
    res.set_header("Content-Disposition", "attachment; filename=\"" + fileName + "\"");
    res.set_header("Accept-Ranges", "bytes");
    res.set_header("Last-Modified", httpDate(unixNow()));
    res.set_content(text, "audio/x-mpegurl");
}

} // namespace torrserver
