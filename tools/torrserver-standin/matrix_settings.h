#pragma once

#include "matrix_routes.h"

namespace torrserver {

// Today's server's settings ("BTSets"): the defaults of a fresh server (its searches switched
// on when the stand-in has a search fixture), or what a "set" stored.
Json matrixSettingsOf(App& app);

// The preload size the settings give: PreloadCache percent of CacheSize.
std::int64_t matrixPreloadSize(App& app);

} // namespace torrserver
