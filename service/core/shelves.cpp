#include "shelves.h"

#include "plain_text.h"

#include <algorithm>

namespace qb::service {

namespace {

struct ShelfRow {
    Shelf shelf;
    std::string_view slug;
    std::string_view caption;
    std::string_view categories;
};

constexpr ShelfRow kShelves[] = {
    {Shelf::Kino, "kino", "Зарубежные фильмы", "2000"},
    {Shelf::NasheKino, "nashe_kino", "Наши фильмы", "2000"},
    {Shelf::Seriali, "seriali", "Зарубежные сериалы", "5000"},
    {Shelf::NashiSeriali, "nashi_seriali", "Наши сериалы", "5000"},
    {Shelf::NauchnoPopularnoe, "nauchno_popularnoe", "Научно-популярные фильмы", "2000,5000"},
    {Shelf::Tv, "tv", "Телевизор", "5000"},
    {Shelf::Inostrannoe, "inostrannoe", "Иностранные релизы", "2000,5000"},
    {Shelf::Multiki, "multiki", "Мультипликация", "2000,5000"},
    {Shelf::Anime, "anime", "Аниме", "5070"},
    {Shelf::Jumor, "jumor", "Юмор", "5000"},
};

const ShelfRow& rowOf(Shelf shelf) {
    return *std::find_if(std::begin(kShelves), std::end(kShelves),
                         [shelf](const ShelfRow& row) { return row.shelf == shelf; });
}

// What a release is, before the shelf tells ours from foreign.
enum class Kind { Unknown, Movie, Series, Documentary, Cartoon, Show, Anime };

bool holdsAny(const std::string& folded, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(), [&folded](std::string_view word) {
        return folded.find(word) != std::string::npos;
    });
}

Kind kindOfWords(const std::string& folded) {
    if (holdsAny(folded, {"аниме", "anime"})) {
        return Kind::Anime;
    }
    if (holdsAny(folded, {"мультфильм", "мультсериал", "мультипликац", "animation", "cartoon"})) {
        return Kind::Cartoon;
    }
    if (holdsAny(folded, {"документальн", "научно-популяр", "documentary"})) {
        return Kind::Documentary;
    }
    return Kind::Unknown;
}

Kind kindOfSourceCategory(std::string_view category) {
    struct Word {
        std::string_view word;
        Kind kind;
    };
    static constexpr Word kWords[] = {
        {"Movie", Kind::Movie},          {"Series", Kind::Series},
        {"DocMovie", Kind::Documentary}, {"DocSeries", Kind::Documentary},
        {"CartoonMovie", Kind::Cartoon}, {"CartoonSeries", Kind::Cartoon},
        {"TVShow", Kind::Show},          {"Anime", Kind::Anime}};
    for (const Word& word : kWords) {
        if (category == word.word) {
            return word.kind;
        }
    }
    return Kind::Unknown;
}

// Newznab's numbers: 2000-2999 films; 5000-5999 television, of which 5070 anime, 5080
// documentaries, 5060 sport and 5050 other shows; numbers from 100000 on are an indexer's own.
Kind kindOfCategories(const std::vector<int>& categories) {
    Kind kind = Kind::Unknown;
    for (const int c : categories) {
        if (c == 5070) {
            return Kind::Anime;
        }
        if (c == 5080) {
            return Kind::Documentary;
        }
        if (c == 5050 || c == 5060) {
            kind = Kind::Show;
        } else if (c >= 5000 && c < 6000 && kind != Kind::Show) {
            kind = Kind::Series;
        } else if (c >= 2000 && c < 3000 && kind == Kind::Unknown) {
            kind = Kind::Movie;
        }
    }
    return kind;
}

// The name of a release title: the text before its year or its first bracket.
std::string_view nameOfTitle(std::string_view title) {
    const std::size_t end = title.find_first_of("([");
    return title.substr(0, end);
}

} // namespace

std::optional<Shelf> shelfOfSlug(std::string_view slug) {
    for (const ShelfRow& row : kShelves) {
        if (row.slug == slug) {
            return row.shelf;
        }
    }
    return std::nullopt;
}

std::string_view slugOf(Shelf shelf) {
    return rowOf(shelf).slug;
}

std::string_view captionOf(Shelf shelf) {
    return rowOf(shelf).caption;
}

std::string_view torznabCategoriesOf(Shelf shelf) {
    return rowOf(shelf).categories;
}

std::optional<Shelf> shelfOf(const Release& release) {
    const std::string words = foldedCase(release.genre + " " + release.title);
    Kind kind = kindOfSourceCategory(release.sourceCategory);
    if (kind == Kind::Unknown || kind == Kind::Movie || kind == Kind::Series) {
        if (const Kind fromWords = kindOfWords(words); fromWords != Kind::Unknown) {
            kind = fromWords;
        }
    }
    if (kind == Kind::Unknown) {
        kind = kindOfCategories(release.categories);
    }
    switch (kind) {
    case Kind::Unknown:
        return std::nullopt;
    case Kind::Documentary:
        return Shelf::NauchnoPopularnoe;
    case Kind::Cartoon:
        return Shelf::Multiki;
    case Kind::Anime:
        return Shelf::Anime;
    case Kind::Show:
        return holdsAny(words,
                        {"юмор", "comedy", "stand-up", "standup", "стендап", "квн", "камеди"})
                   ? Shelf::Jumor
                   : Shelf::Tv;
    case Kind::Movie:
    case Kind::Series:
        break;
    }
    // A Russian tracker titles a foreign release "Русское / Original", one of ours in Russian
    // alone; a release without any Russian in its title has no Russian translation.
    const std::string_view name = nameOfTitle(release.title);
    const bool series = kind == Kind::Series;
    if (!hasCyrillic(name)) {
        return Shelf::Inostrannoe;
    }
    if (hasLatin(name)) {
        return series ? Shelf::Seriali : Shelf::Kino;
    }
    return series ? Shelf::NashiSeriali : Shelf::NasheKino;
}

} // namespace qb::service
