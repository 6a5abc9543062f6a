#pragma once

// What every release read from a source must satisfy, and what the pages built from it must
// satisfy when the client reads them: for the fuzz targets of the sources' answers. A property
// that fails aborts, which the fuzzer reports with its input.
#include "core/release_page.h"
#include "core/release_store.h"
#include "core/result_page.h"
#include "lists/text/announced_count.h"
#include "releaseinfo/page/release_page.h"
#include "search/query/service_queries.h"
#include "search/results/result_parser.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace qb::service::fuzz {

inline void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

inline const PageContext kContext{"http://127.0.0.1:8091", "tracker.example"};

// The same release with every character that means something in markup, in each of its texts,
// replaced by a letter.
inline Release withoutMarkup(Release release) {
    for (std::string* text : {&release.title, &release.genre, &release.description,
                              &release.sourceCategory, &release.source}) {
        std::replace_if(
            text->begin(), text->end(),
            [](char c) { return c == '<' || c == '>' || c == '&' || c == '"' || c == '\''; }, 'x');
    }
    return release;
}

inline long tagsOf(const std::string& page) {
    return std::count(page.begin(), page.end(), '<');
}

inline bool isLowerHex(const std::string& hash) {
    return hash.size() == 40 && std::all_of(hash.begin(), hash.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// The releases of one answer: each with a lower-case info-hash and a one-line title; listed
// with ids of at most nine digits in a result page whose every release is one row the client
// finds, none of whose titles holds markup; and each release page keeps the source's texts out
// of its markup and tells the file count the client's series check reads.
inline void checkReleasesAndPages(const std::vector<Release>& releases) {
    ReleaseStore store(64);
    std::vector<ListedRelease> rows;
    for (const Release& release : releases) {
        require(isLowerHex(release.hash));
        require(std::none_of(release.title.begin(), release.title.end(),
                             [](char c) { return c == '\n' || c == '\r' || c == '\0'; }));
        const std::uint32_t id = store.remember(release, 1);
        require(id >= 1 && id <= kLargestReleaseId);
        rows.push_back({id, release});
        if (rows.size() == 100) {
            break;
        }
    }
    const std::string heading = releases.empty() ? std::string() : releases.front().title;
    const std::string page = resultPage(kContext, heading, rows);
    const QStringList lines = qb::search::prepareTextAnswer(QString::fromStdString(page));
    const auto listed = std::count_if(lines.begin(), lines.end(), [](const QString& line) {
        return line.contains(QStringLiteral("<a href=\"magnet:?xt=urn:btih:"));
    });
    require(static_cast<std::size_t>(listed) == rows.size());
    const auto records = qb::search::parseResultLines(lines, qb::search::DisplayMode::Normal);
    require(records.size() <= rows.size());
    for (const qb::search::SearchRecord& record : records) {
        require(!record.Title.contains(u'<') && !record.Title.contains(u'>'));
        require(record.PagePath.startsWith(QStringLiteral("/torrent/")));
    }
    require(tagsOf(page) == tagsOf(resultPage(kContext, "", [&rows] {
                auto plain = rows;
                for (ListedRelease& row : plain) {
                    row.release = withoutMarkup(row.release);
                }
                return plain;
            }())));

    const qb::releaseinfo::PageHosts hosts{QStringLiteral("http://127.0.0.1:8091"),
                                           QStringLiteral("img.tracker.example"),
                                           QStringLiteral("db.example")};
    for (std::size_t i = 0; i < rows.size() && i < 4; ++i) {
        const Release& release = rows[i].release;
        const std::string text = releasePage(kContext, rows[i].id, release);
        require(tagsOf(text) == tagsOf(releasePage(kContext, rows[i].id, withoutMarkup(release))));
        const QString answer = QString::fromStdString(text);
        const auto built = qb::releaseinfo::buildReleasePage(answer, hosts);
        require(built.magnet.contains(QString::fromStdString(release.hash)));
        const auto files = qb::lists::announcedFileCount(answer);
        if (release.files >= 0 && release.files <= 999'999'999) {
            require(files == release.files);
        } else {
            require(!files);
        }
    }
}

} // namespace qb::service::fuzz
