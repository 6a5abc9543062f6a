#pragma once

#include "release.h"

#include <optional>
#include <string_view>

// The ten categories of the client's menu ("shelves" here, so as not to mix them up with the
// sources' category numbers), and which releases belong on each.
namespace qb::service {

enum class Shelf {
    Kino,              // "kino": foreign films
    NasheKino,         // "nashe_kino": our films
    Seriali,           // "seriali": foreign series
    NashiSeriali,      // "nashi_seriali": our series
    NauchnoPopularnoe, // "nauchno_popularnoe": documentaries
    Tv,                // "tv": television shows
    Inostrannoe,       // "inostrannoe": releases without a Russian title (no translation)
    Multiki,           // "multiki": cartoons
    Anime,             // "anime"
    Jumor,             // "jumor": humour shows
};

inline constexpr Shelf kAllShelves[] = {
    Shelf::Kino, Shelf::NasheKino,   Shelf::Seriali, Shelf::NashiSeriali, Shelf::NauchnoPopularnoe,
    Shelf::Tv,   Shelf::Inostrannoe, Shelf::Multiki, Shelf::Anime,        Shelf::Jumor};

std::optional<Shelf> shelfOfSlug(std::string_view slug);
std::string_view slugOf(Shelf shelf);
// The caption the client's menu gives the shelf.
std::string_view captionOf(Shelf shelf);

// The Torznab categories to ask an indexer for when listing the shelf ("cat=" of t=search).
std::string_view torznabCategoriesOf(Shelf shelf);

// The shelf a release belongs on, from its categories (Torznab numbers, TorrServer's words),
// its genre and its title; nothing when they say too little.
std::optional<Shelf> shelfOf(const Release& release);

} // namespace qb::service
