#pragma once

namespace qb::platform {
// The window asks for Tahoma. Where the desktop has none but Wine's metric-compatible Tahoma is
// installed, that one is loaded for the program, so captions fit their controls as designed;
// otherwise fontconfig substitutes a sans font.
void provideTahoma();
} // namespace qb::platform
