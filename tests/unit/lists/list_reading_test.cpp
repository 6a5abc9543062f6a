#include "lists/text/list_reading.h"
#include "platform/text/text_codec.h"

#include "lists_test_print.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::lists {
namespace {

// The file's bytes as the imports read them.
QStringList readBytes(const QByteArray& bytes) {
    return listLines(qb::platform::decodeText(bytes));
}

QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

TEST(ListReading, EncodingsAndLineEnds) {
    const QString name = u":: Сияние"_s;
    const QString link = u"magnet:?xt=urn:btih:AA"_s;
    const QStringList pair = {name, link};
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"UTF-8 with its mark, CR LF", "\xEF\xBB\xBF" + (name + u"\r\n" + link + u"\r\n").toUtf8(),
         pair},
        {"UTF-8 without a mark", (name + u"\n" + link).toUtf8(), pair},
        {"UTF-16 LE", utf16(name + u"\r\n" + link + u"\r\n", false), pair},
        {"UTF-16 BE", utf16(name + u"\r" + link, true), pair},
        {"Windows-1251", ":: \xD1\xE8\xFF\xED\xE8\xE5\r\n" + link.toLatin1(), pair},
        {"lone CR, lone LF and CR LF mixed", "a\rb\nc\r\nd", {u"a"_s, u"b"_s, u"c"_s, u"d"_s}},
        {"LF CR is two breaks", "a\n\rb", {u"a"_s, QString(), u"b"_s}},
        {"empty lines are kept", "a\r\n\r\nb\r\n", {u"a"_s, QString(), u"b"_s}},
        {"a final break makes no empty line", "a\r\n", {u"a"_s}},
        {"a lone break is one empty line", "\r\n", {QString()}},
        {"an empty file has no lines", "", {}},
        {"a mark alone has no lines", "\xEF\xBB\xBF", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readBytes(c.bytes), c.lines) << c.what;
    }
}

TEST(ListReading, KeepsTheFirst4096CharactersOfALine) {
    const QString longLine(5000, u'ж');
    const QStringList lines = listLines(longLine + u"\r\nnext"_s);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString(kMaxListLineLength, u'ж'));
    EXPECT_EQ(lines[1], u"next"_s);
    EXPECT_EQ(listLines(QString(4096, u'a'))[0].size(), 4096);
}

} // namespace
} // namespace qb::lists
