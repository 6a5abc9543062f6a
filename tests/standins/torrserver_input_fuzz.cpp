// The stand-in TorrServer's parsers of outside input: request bodies of both API generations,
// Range headers, request heads, query parameters and flags, upload forms, seed lines, argument
// files, magnet links and .torrent files must take any bytes.
#include "byte_range.h"
#include "go_decode.h"
#include "go_query.h"
#include "matrix_request.h"
#include "matrix_status.h"
#include "matrix_upload.h"
#include "options.h"
#include "request_body.h"
#include "routes.h"
#include "search_fixture.h"
#include "search_text.h"
#include "standin_server.h"
#include "text_escape.h"
#include "torrent_meta.h"
#include "torrs_hash.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    torrserver::parseTorrentRequest(input);
    torrserver::parseTorrentsRequest(input);
    torrserver::parseViewedRequest(input);
    torrserver::decodeGoObject(input, {{"sets", torrserver::GoField::Kind::Object},
                                       {"n", torrserver::GoField::Kind::Float}});
    torrserver::parseByteRange(input, 70000);
    torrserver::parseByteRange("bytes=" + input, 0);
    const torrserver::RawRequestHead head = torrserver::parseRawHead(input);
    torrserver::headForLibrary(input, head);
    torrserver::queryParam("/torrent/play?" + input, "link");
    torrserver::goQueryValue("/stream?" + input, "link");
    torrserver::goQueryUnescape(input);
    torrserver::cleanName(input);
    torrserver::pathEscape(input);
    // Form parts: the input cut into field, file name and content at the first two NULs.
    const std::size_t first = input.find('\0');
    const std::size_t second = first == std::string::npos ? first : input.find('\0', first + 1);
    torrserver::readUploadForm(
        {{input.substr(0, first),
          first == std::string::npos ? "" : input.substr(first + 1, second - first - 1),
          second == std::string::npos ? "" : input.substr(second + 1)},
         {"save", "", input}});
    std::string error;
    torrserver::seedItemOfLine(input, error);
    torrserver::argsFileLines(input);
    torrserver::matrixPathBefore(input.substr(0, size / 2), input.substr(size / 2));
    torrserver::searchTokens(input);
    torrserver::levenshtein(torrserver::clearedText(input.substr(0, 64)),
                            torrserver::clearedText(input.substr(size / 2, 64)));
    torrserver::releaseRecord(torrserver::Json::parse(input, nullptr, false));
    torrserver::base62(input);
    // Only magnets: other links would reach the network or the file system.
    torrserver::parseLink("magnet:?" + input);
    torrserver::parseTorrentBytes(input);
    torrserver::parseTorrentBytes("d4:info" + input + "e");
    return 0;
}
