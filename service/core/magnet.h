#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Magnet links: what a source's link says, and the link a result row carries.
namespace qb::service {

// An info-hash as the service writes it, 40 lower-case hexadecimal digits, from a hash given
// as 40 hexadecimal digits (any case) or as 32 base32 characters; nothing for anything else.
std::optional<std::string> normalisedHash(std::string_view text);

// The info-hash of a magnet link's "xt=urn:btih:" parameter.
std::optional<std::string> hashOfMagnet(std::string_view magnet);

// The tracker addresses ("tr=") of a magnet link, decoded: http, https, udp and wss ones only,
// at most `limit` of them.
std::vector<std::string> trackersOfMagnet(std::string_view magnet, std::size_t limit);

// Whether an announce address is one a magnet may carry: http, https, udp or wss, at most 300
// characters, no control characters.
bool isUsableTracker(std::string_view address);

// A link for a result row or a release page: the hash, the display name as given (the client
// recognises the tracker's domain in it), and the trackers. Every character of the trackers
// beyond lower-case letters, digits and "-._~" is percent-encoded with lower-case digits, so
// the link holds no upper-case letter, no quote and no markup: the client drops rows whose text
// holds words such as "PDF" or "FB2" anywhere, the link included.
std::string rowMagnet(std::string_view hash, std::string_view displayName,
                      const std::vector<std::string>& trackers);

// Percent-decoding of a query value ("+" stays "+"); a broken escape stays as it is.
std::string percentDecoded(std::string_view text);

} // namespace qb::service
