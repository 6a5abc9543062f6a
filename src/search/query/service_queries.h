#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The search service's query addresses, and the preparation of its answers into lines, one
// result row per line, that the result parser reads.
namespace qb::search {

// The access token every query carries.
inline constexpr QStringView kServiceSecret = u"bqZanhMLfyKdoe";

// Page 0 or 1 of the text search; the text is URL-encoded here.
QString textSearchAddress(const QString& serviceBaseUrl, int page, const QString& text);
QString topAddress(const QString& serviceBaseUrl);
QString categoryAddress(const QString& serviceBaseUrl, const QString& slug);

// The two pages of a text search, joined: the table up to its header row is dropped and every
// row ends its line.
QStringList prepareTextAnswer(QString answer);
// The top list: one table row per line.
QStringList prepareTopAnswer(QString answer);
// A category: one table row per line.
QStringList prepareCategoryAnswer(QString answer);

// The text a search for similar releases looks for: the title before its first "/" (else "[",
// else "("), without the character before it. Nothing when the title has none of the three.
std::optional<QString> similarQuery(QStringView title);

} // namespace qb::search
