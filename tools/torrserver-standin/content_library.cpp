#include "content_library.h"

#include "text_escape.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace torrserver {

namespace fs = std::filesystem;

ContentLibrary::ContentLibrary(std::string folder)
    : folder_(std::move(folder)) {
    std::lock_guard lock(mutex_);
    scan();
}

std::optional<TorrentMeta> ContentLibrary::find(const std::string& hash) {
    std::lock_guard lock(mutex_);
    auto it = byHash_.find(hash);
    if (it == byHash_.end()) {
        scan();
        it = byHash_.find(hash);
    }
    if (it == byHash_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void ContentLibrary::scan() {
    if (folder_.empty()) {
        return;
    }
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder_, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it.depth() > 3 || !it->is_regular_file(ec) ||
            extensionOf(it->path().string()) != ".torrent") {
            continue;
        }
        std::ifstream in(it->path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        MetaResult parsed = parseTorrentBytes(bytes);
        if (parsed.ok) {
            parsed.meta.dataRoot = it->path().parent_path().string();
            byHash_[parsed.meta.hash] = parsed.meta;
        }
    }
}

} // namespace torrserver
