#pragma once

namespace qb::platform {
// The window asks for Tahoma 9 pt, and its captions are laid out for that font's widths. A
// desktop without Tahoma gets Wine's Tahoma, built into the program, so that no caption is cut
// by a wider substitute; a desktop that has its own Tahoma keeps it.
void provideTahoma();
} // namespace qb::platform
