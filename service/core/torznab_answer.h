#pragma once

#include "source_answer.h"

#include <string_view>

namespace qb::service {

// A Torznab indexer's answer to t=search (an RSS 2.0 feed whose items carry torznab:attr
// name/value pairs), or its <error code description> answer. Items without an info-hash (from
// the "infohash" attribute, else a magnet link in "magneturl", the link, the enclosure or the
// guid) are left out; an answer that is not well-formed XML gives no releases at all.
// `sourceLabel` names the source in each release unless the item names its indexer.
SourceAnswer readTorznabAnswer(std::string_view xml, std::string_view sourceLabel);

} // namespace qb::service
