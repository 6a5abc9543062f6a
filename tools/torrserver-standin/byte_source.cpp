#include "byte_source.h"

#include <filesystem>
#include <fstream>

namespace torrserver {

namespace {
std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}
} // namespace

ByteSource::ByteSource(const TorrentMeta& meta, std::size_t fileIndex) {
    const FileMeta& file = meta.files.at(fileIndex);
    size_ = file.size;
    seed_ = mix(std::hash<std::string>{}(meta.hash) ^ mix(fileIndex));
    if (!meta.dataRoot.empty()) {
        const std::filesystem::path path = std::filesystem::path(meta.dataRoot) / file.path;
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec) &&
            static_cast<std::int64_t>(std::filesystem::file_size(path, ec)) == file.size) {
            dataPath_ = path.string();
        }
    }
}

std::string ByteSource::read(std::int64_t offset, std::size_t length) const {
    if (offset < 0 || offset >= size_) {
        return {};
    }
    const auto count = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(length), size_ - offset));
    std::string out(count, '\0');
    if (isReal()) {
        std::ifstream in(dataPath_, std::ios::binary);
        in.seekg(offset);
        in.read(out.data(), static_cast<std::streamsize>(count));
        out.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
        return out;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const auto position = static_cast<std::uint64_t>(offset) + i;
        out[i] = static_cast<char>(mix(seed_ ^ (position / 8)) >> ((position % 8) * 8));
    }
    return out;
}

} // namespace torrserver
