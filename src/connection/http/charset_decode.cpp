#include "connection/http/charset_decode.h"

#include <QList>
#include <QStringDecoder>

namespace qb::connection {

namespace {
// windows-1251, 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F. 0x98 is unassigned.
constexpr char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

QString decodeCp1251(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += QChar(char16_t(b));
        } else if (b < 0xC0) {
            out += QChar(kCp1251High[b - 0x80]);
        } else {
            out += QChar(char16_t(0x0410 + (b - 0xC0)));
        }
    }
    return out;
}
} // namespace

QByteArray charsetOf(const QByteArray& contentType) {
    for (const QByteArray& rawParameter : contentType.split(';')) {
        const QByteArray parameter = rawParameter.trimmed();
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0 || parameter.left(equals).trimmed().toLower() != "charset") {
            continue;
        }
        QByteArray value = parameter.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) {
            value = value.mid(1, value.size() - 2);
        }
        return value;
    }
    return {};
}

QString decodeCharset(const QByteArray& bytes, const QByteArray& charset) {
    const QByteArray name = charset.toLower();
    if (name == "windows-1251" || name == "cp1251" || name == "x-cp1251") {
        return decodeCp1251(bytes);
    }
    if (!name.isEmpty()) {
        QStringDecoder decoder(name.constData());
        if (decoder.isValid() && name != "locale" && name != "system") {
            return decoder.decode(bytes);
        }
    }
    return QString::fromUtf8(bytes);
}

} // namespace qb::connection
