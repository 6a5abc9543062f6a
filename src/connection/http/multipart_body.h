#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace qb::connection {

// A "multipart/form-data" body with one file part:
//   --<boundary>\r\n
//   Content-Disposition: form-data; name="<field>"; filename="<file name>"\r\n
//   Content-Type: application/octet-stream\r\n
//   \r\n
//   <content>\r\n
//   --<boundary>--\r\n
// The field and file names are written as UTF-8 with a quote, CR and LF percent-escaped
// (%22, %0D, %0A), so no name can end the header line or the quoted value early. The boundary
// must not occur in the content; see multipartBoundaryFits.
QByteArray multipartBody(const QByteArray& boundary, const QString& fieldName,
                         const QString& fileName, const QByteArray& content);

// A text part of a form: the field's name and its value.
struct FormField {
    QString name;
    QString value;
};

// The same body with text parts after the file part, each
//   --<boundary>\r\n
//   Content-Disposition: form-data; name="<name>"\r\n
//   \r\n
//   <value as UTF-8>\r\n
// The boundary must occur in no value either.
QByteArray multipartBody(const QByteArray& boundary, const QString& fieldName,
                         const QString& fileName, const QByteArray& content,
                         const QList<FormField>& fields);

// The Content-Type header value that announces a multipart body with this boundary.
QByteArray multipartContentType(const QByteArray& boundary);

// True when the boundary can delimit this content: its delimiter line does not occur in it.
bool multipartBoundaryFits(const QByteArray& boundary, const QByteArray& content);

} // namespace qb::connection
