#pragma once

#include <QString>

namespace qb::app {
// The program's own version, "major.minor.release", as the build carries it; empty when the
// build carries none.
QString AppVersion();
} // namespace qb::app
