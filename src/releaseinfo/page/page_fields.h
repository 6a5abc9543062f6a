#pragma once

#include <QString>
#include <QStringView>

namespace qb::releaseinfo {

// The details of a release as the lines of its page give them, each still in its page markup.
struct PageFields {
    QString title, year, country, director, genre, actors, duration, translation, subtitles, video,
        audio, seeders, leechers, description, added, size;
};

// Walks the captioned lines; a line can feed several fields. `filmDbHost` is the film
// database's host for the cast links.
PageFields pageFields(QStringView captioned, const QString& filmDbHost);

// The cast links of a "В ролях" line: at most the first 16 names that a comma ends.
QString castLinks(QStringView line, const QString& filmDbHost);

} // namespace qb::releaseinfo
