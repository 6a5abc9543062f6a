#include "torrent_meta.h"

#include "text_escape.h"

#include <fstream>
#include <httplib.h>
#include <iterator>
#include <libtorrent/announce_entry.hpp>
#include <libtorrent/error_code.hpp>
#include <libtorrent/magnet_uri.hpp>
#include <libtorrent/torrent_info.hpp>
#include <memory>

namespace torrserver {

namespace {
std::string hexOf(const lt::sha1_hash& hash) {
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    for (const char byte : hash) {
        const auto u = static_cast<unsigned char>(byte);
        out.push_back(kHex[u >> 4]);
        out.push_back(kHex[u & 15]);
    }
    return out;
}

MetaResult failure(std::string error) {
    MetaResult result;
    result.error = std::move(error);
    return result;
}

MetaResult parseMagnet(const std::string& link) {
    lt::error_code ec;
    const lt::add_torrent_params params = lt::parse_magnet_uri(link, ec);
    if (ec) {
        return failure(ec.message());
    }
    if (!params.info_hashes.has_v1()) {
        return failure("magnet link has no btih info-hash");
    }
    MetaResult result;
    result.ok = true;
    result.meta.hash = hexOf(params.info_hashes.v1);
    result.meta.name = params.name;
    result.meta.trackers = params.trackers;
    return result;
}

MetaResult fetchTorrent(const std::string& url) {
    const auto schemeEnd = url.find("://");
    const auto pathStart = url.find('/', schemeEnd + 3);
    const std::string origin = url.substr(0, pathStart);
    const std::string path = pathStart == std::string::npos ? "/" : url.substr(pathStart);
    httplib::Client client(origin);
    client.set_follow_location(true);
    client.set_connection_timeout(10);
    client.set_read_timeout(30);
    const httplib::Result answer = client.Get(path);
    if (!answer) {
        return failure("error download torrent: " + httplib::to_string(answer.error()));
    }
    if (answer->status != 200) {
        return failure("error download torrent: status " + std::to_string(answer->status));
    }
    return parseTorrentBytes(answer->body);
}

MetaResult readTorrentFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return failure("open " + path + ": no such file or directory");
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    return parseTorrentBytes(bytes);
}
} // namespace

MetaResult parseLink(const std::string& link) {
    const std::string lower = toLower(link);
    if (lower.rfind("magnet:", 0) == 0) {
        return parseMagnet(link);
    }
    if (lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0) {
        return fetchTorrent(link);
    }
    if (lower.rfind("file://", 0) == 0) {
        return readTorrentFile(link.substr(7));
    }
    if (isHexHash(link)) {
        return parseMagnet("magnet:?xt=urn:btih:" + link);
    }
    const auto colon = link.find(':');
    if (colon != std::string::npos && colon > 0) {
        return failure("unknown scheme: " + link.substr(0, colon));
    }
    return failure("wrong link: " + link);
}

MetaResult parseTorrentBytes(std::string_view bytes) {
    lt::load_torrent_limits limits;
    limits.max_buffer_size = 32 * 1024 * 1024;
    std::unique_ptr<lt::torrent_info> parsed;
    try {
        parsed = std::make_unique<lt::torrent_info>(
            lt::span<char const>(bytes.data(), static_cast<long>(bytes.size())), limits,
            lt::from_span);
    } catch (const std::exception& e) {
        return failure(e.what());
    }
    const lt::torrent_info& info = *parsed;
    MetaResult result;
    if (!info.info_hashes().has_v1()) {
        return failure("torrent has no v1 info-hash");
    }
    TorrentMeta& meta = result.meta;
    meta.hash = hexOf(info.info_hashes().v1);
    meta.name = info.name();
    for (const lt::announce_entry& tracker : info.trackers()) {
        meta.trackers.push_back(tracker.url);
    }
    const lt::file_storage& storage = info.files();
    for (const lt::file_index_t index : storage.file_range()) {
        if (!storage.pad_file_at(index)) {
            meta.files.push_back({storage.file_path(index), storage.file_size(index)});
        }
    }
    meta.hasFiles = true;
    meta.pieceLength = info.piece_length();
    result.ok = true;
    return result;
}

void fillSyntheticFiles(TorrentMeta& meta) {
    auto byteAt = [&](std::size_t i) {
        return std::stoi(meta.hash.substr((i % 20) * 2, 2), nullptr, 16);
    };
    const std::string name = meta.name.empty() ? "Torrent " + meta.hash.substr(0, 8) : meta.name;
    const int videos = byteAt(0) % 2 == 0 ? 1 : 3;
    meta.files.clear();
    for (int i = 0; i < videos; ++i) {
        const std::string stem = videos == 1 ? name : name + " E0" + std::to_string(i + 1);
        const std::int64_t size =
            (std::int64_t{120} + byteAt(1 + i) * 2) * 1024 * 1024 + byteAt(5 + i) * 1021;
        meta.files.push_back({name + "/" + stem + ".mkv", size});
    }
    meta.files.push_back({name + "/" + name + ".srt", 20000 + byteAt(9) * 97});
    meta.pieceLength = 2 * 1024 * 1024;
    meta.hasFiles = true;
    if (meta.name.empty()) {
        meta.name = name;
    }
}

std::string magnetOf(const std::string& hash, const std::string& name,
                     const std::vector<std::string>& trackers) {
    std::string magnet = "magnet:?xt=urn:btih:" + hash;
    if (!name.empty()) {
        magnet += "&dn=" + queryEscape(name);
    }
    for (const std::string& tracker : trackers) {
        magnet += "&tr=" + queryEscape(tracker);
    }
    return magnet;
}

std::int64_t totalLength(const TorrentMeta& meta) {
    std::int64_t total = 0;
    for (const FileMeta& file : meta.files) {
        total += file.size;
    }
    return total;
}

} // namespace torrserver
