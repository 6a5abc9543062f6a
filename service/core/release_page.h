#pragma once

#include "page_context.h"
#include "release.h"

#include <cstdint>
#include <string>

namespace qb::service {

// A release page in the tracker's form, which the client turns into its own page by markers:
// nothing before the magnet link holds a double quote, so the link's opening quote is the
// page's first; the poster (the service's placeholder when the source gave none) is the first
// image after the next "<tr>"; the fields are "<b>Name:</b> value<br>" lines and "header" rows
// (Раздают, Качают, Размер with "Bytes)", Добавлен); "displayfiles" comes first of all, in
// the head, followed by the file count in parentheses, empty when the source did not say.
// The magnet's display name is the tracker's domain + "_" + the id, the form the client's
// series update rewrites.
std::string releasePage(const PageContext& context, std::uint32_t id, const Release& release);

} // namespace qb::service
