#pragma once

#include <QString>
#include <QStringView>
#include <QUrl>

// The cache of release pages: one file per release in the cache folder (the program folder's
// "cache", or the user's cache folder of an installed program), shown in place of a new fetch
// unless the selected torrent waits for an update of its release.
namespace qb::releaseinfo {

enum class PageSource { Cache, Build };

// Whether a release's page comes from its cache file or is built anew. The torrent list's
// selection decides, whoever asks: a torrent marked for an update is always built anew.
PageSource pageSource(bool torrentSelected, QStringView selectedRowText, bool cacheFileExists);

// A tracker release id is decimal digits. Only such ids name cache files and are asked for, so
// an id taken from a page can never point a file name outside the cache folder.
bool isReleaseId(QStringView id);

// `cacheDir` is the cache folder with a trailing "/".
QString cacheFilePath(const QString& cacheDir, const QString& releaseId);

// Whether the information view may load this address: any address but a file outside the
// cache folder, so a page can never show or reach the user's other files.
bool isAllowedViewAddress(const QUrl& address, const QString& cacheFolder);

} // namespace qb::releaseinfo
