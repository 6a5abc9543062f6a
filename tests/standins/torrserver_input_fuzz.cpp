// The stand-in TorrServer's parsers of outside input: request bodies, Range headers, request
// heads, query parameters, magnet links and .torrent files must take any bytes.
#include "byte_range.h"
#include "request_body.h"
#include "standin_server.h"
#include "text_escape.h"
#include "torrent_meta.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    torrserver::parseTorrentRequest(input);
    torrserver::parseByteRange(input, 70000);
    torrserver::parseByteRange("bytes=" + input, 0);
    const torrserver::RawRequestHead head = torrserver::parseRawHead(input);
    torrserver::headForLibrary(input, head);
    torrserver::queryParam("/torrent/play?" + input, "link");
    torrserver::cleanName(input);
    // Only magnets: other links would reach the network or the file system.
    torrserver::parseLink("magnet:?" + input);
    torrserver::parseTorrentBytes(input);
    torrserver::parseTorrentBytes("d4:info" + input + "e");
    return 0;
}
