#include "connection/http/multipart_body.h"

namespace qb::connection {

namespace {
QByteArray quotedHeaderValue(const QString& value) {
    QByteArray out = value.toUtf8();
    out.replace('"', "%22");
    out.replace('\r', "%0D");
    out.replace('\n', "%0A");
    return out;
}
} // namespace

QByteArray multipartBody(const QByteArray& boundary, const QString& fieldName,
                         const QString& fileName, const QByteArray& content) {
    return multipartBody(boundary, fieldName, fileName, content, {});
}

QByteArray multipartBody(const QByteArray& boundary, const QString& fieldName,
                         const QString& fileName, const QByteArray& content,
                         const QList<FormField>& fields) {
    QByteArray body;
    body.reserve(content.size() + 256);
    body += "--" + boundary + "\r\n";
    body += "Content-Disposition: form-data; name=\"" + quotedHeaderValue(fieldName) +
            "\"; filename=\"" + quotedHeaderValue(fileName) + "\"\r\n";
    body += "Content-Type: application/octet-stream\r\n\r\n";
    body += content;
    for (const FormField& field : fields) {
        body += "\r\n--" + boundary + "\r\n";
        body += "Content-Disposition: form-data; name=\"" + quotedHeaderValue(field.name) +
                "\"\r\n\r\n";
        body += field.value.toUtf8();
    }
    body += "\r\n--" + boundary + "--\r\n";
    return body;
}

QByteArray multipartContentType(const QByteArray& boundary) {
    return "multipart/form-data; boundary=" + boundary;
}

bool multipartBoundaryFits(const QByteArray& boundary, const QByteArray& content) {
    return !boundary.isEmpty() && !content.contains(QByteArray("--" + boundary));
}

} // namespace qb::connection
