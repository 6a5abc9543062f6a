#include "platform/text/text_codec.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace qb::platform {

namespace {

// The upper half of Windows-1251; the lower half is ASCII.
constexpr std::array<char16_t, 128> kWindows1251High = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\uFFFD', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417',
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F',
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427',
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F',
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437',
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F',
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447',
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F',
};

constexpr char16_t kByteOrderMark = 0xFEFF;

bool startsWith(const QByteArray& bytes, const char* mark, qsizetype length) {
    return bytes.size() >= length && std::equal(mark, mark + length, bytes.constData());
}

QString decodeUtf16(const QByteArray& bytes, qsizetype from, bool bigEndian) {
    const auto unitAt = [&](qsizetype i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    };
    QString text;
    text.reserve((bytes.size() - from) / 2);
    for (qsizetype i = from; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = unitAt(i);
        if (QChar::isHighSurrogate(unit) && i + 3 < bytes.size() &&
            QChar::isLowSurrogate(unitAt(i + 2))) {
            text.append(QChar(unit));
            text.append(QChar(unitAt(i + 2)));
            i += 2;
        } else if (QChar::isSurrogate(unit)) {
            // An unpaired half would make text that cannot be written back.
            text.append(QChar(QChar::ReplacementCharacter));
        } else {
            text.append(QChar(unit));
        }
    }
    // A lone trailing byte cannot be a character.
    if ((bytes.size() - from) % 2 != 0) {
        text.append(QChar(QChar::ReplacementCharacter));
    }
    return text;
}

} // namespace

QString fromUtf8Exactly(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool isValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) {
                low = 0xA0; // overlong
            } else if (lead == 0xED) {
                high = 0x9F; // surrogates
            }
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) {
                low = 0x90; // overlong
            } else if (lead == 0xF4) {
                high = 0x8F; // past U+10FFFF
            }
        } else {
            return false;
        }
        if (n - i < length) {
            return false;
        }
        if (p[i + 1] < low || p[i + 1] > high) {
            return false;
        }
        for (int k = 2; k < length; ++k) {
            if (p[i + k] < 0x80 || p[i + k] > 0xBF) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

QString decodeWindows1251(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(QChar(byte < 0x80 ? char16_t(byte) : kWindows1251High[byte - 0x80]));
    }
    return text;
}

QString decodeText(const QByteArray& bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF", 3)) {
        // Only that one mark is taken off: a U+FEFF after it is the text's first character.
        return fromUtf8Exactly(QByteArrayView(bytes).sliced(3));
    }
    if (startsWith(bytes, "\xFF\xFE", 2)) {
        return decodeUtf16(bytes, 2, false);
    }
    if (startsWith(bytes, "\xFE\xFF", 2)) {
        return decodeUtf16(bytes, 2, true);
    }
    if (isValidUtf8(bytes)) {
        return fromUtf8Exactly(bytes);
    }
    return decodeWindows1251(bytes);
}

QByteArray encodeLegacy(const QString& text) {
    // A text whose first character is U+FEFF would read back with that character taken for a
    // byte-order mark; a real mark in front keeps it.
    if (text.startsWith(QChar(kByteOrderMark))) {
        return encodeUtf8WithBom(text);
    }
    return text.toUtf8();
}

QByteArray encodeUtf8WithBom(const QString& text) {
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace qb::platform
