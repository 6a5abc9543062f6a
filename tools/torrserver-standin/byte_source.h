#pragma once

#include "torrent_meta.h"

#include <cstdint>
#include <string>

namespace torrserver {

// The bytes of a torrent's file: read from its data file when the content folder holds one of
// the right size, generated deterministically from the hash, index and offset otherwise.
class ByteSource {
public:
    ByteSource(const TorrentMeta& meta, std::size_t fileIndex);

    std::int64_t size() const { return size_; }
    bool isReal() const { return !dataPath_.empty(); }

    // Up to `length` bytes from `offset`; fewer at the end of the file or on a read failure.
    std::string read(std::int64_t offset, std::size_t length) const;

private:
    std::string dataPath_;
    std::uint64_t seed_ = 0;
    std::int64_t size_ = 0;
};

} // namespace torrserver
