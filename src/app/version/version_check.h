#pragma once

#include <QString>

namespace qb::app {

// The address of the version file under the service's base address.
QString versionFileAddress(const QString& serviceBaseUrl);

// The remote version to go on with: the answer unchanged, or `appVersion` when the answer is
// empty or longer than five characters (an error page, a text with a line break).
QString usableRemoteVersion(const QString& answer, const QString& appVersion);

// Whether `remote` is a newer version than `own`: both without their dots, compared as texts
// by character code, a text that is the start of the other being the lower.
bool isRemoteVersionHigher(const QString& remote, const QString& own);

// The release archive of `version` under the build's default service address (not the
// configured one).
QString updateDownloadAddress(const QString& version);

// The message when the service does not answer the version request, and its title.
QString noConnectionText();
QString noConnectionTitle();

// The question offering the update to `version`, and its title.
QString updateQuestionText(const QString& version);
QString updateQuestionTitle();

} // namespace qb::app
