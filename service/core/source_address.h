#pragma once

#include <string>
#include <string_view>

// The addresses the service asks its sources at, from the addresses the user gave.
namespace qb::service {

enum class SourceKind { Torznab, TorrServer };

struct SourceAddress {
    SourceKind kind = SourceKind::Torznab;
    std::string address; // as the user gave it: an indexer's API address with its apikey, or a
                         // TorrServer's base address (user:password@ for its accounts)
};

// Whether the user's address can be asked: http or https, a host, at most 2000 characters,
// no blanks or control characters.
bool isUsableSourceAddress(std::string_view address);

// An indexer's search: the address's path ends in "/api" (added when the user gave the feed's
// folder, as Jackett shows it), its own parameters (the apikey) kept, then t=search, q (empty
// for the newest releases), cat when given, extended=1 and limit.
std::string torznabSearchAddress(std::string_view address, std::string_view text,
                                 std::string_view categories, int limit);

// TorrServer's search routes: "/search/?query=" (its own index) or "/torznab/search/?query="
// (the indexers set in it), with the text encoded twice, as the server decodes it twice.
std::string torrServerSearchAddress(std::string_view address, bool throughItsIndexers,
                                    std::string_view text);

// How the source is named in the log and on the idle page: scheme, host and path, without the
// user's name and password and without the query (which holds the apikey).
std::string sourceName(const SourceAddress& source);

// Percent-encoding of a query value: everything but letters, digits and "-._~".
std::string queryEncoded(std::string_view text);

} // namespace qb::service
