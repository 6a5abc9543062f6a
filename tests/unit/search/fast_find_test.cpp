#include "search/text/fast_find.h"

#include <QString>

#include <gtest/gtest.h>

#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::search::findText;

TEST(FastFind, Cases) {
    struct Case {
        QString text;
        QString needle;
        qsizetype from;
        qsizetype found;
    };
    const Case cases[] = {
        {u"0123456789abcdef</span></td></tr>"_s, u"</span></td></tr>"_s, 0, 16},
        {u"</span></td></tr>"_s, u"</span></td></tr>"_s, 0, 0},
        {u"</span></td></tr"_s, u"</span></td></tr>"_s, 0, -1},
        {u"xx\">yy\">"_s, u"\">"_s, 3, 6},
        {u"aaaaaaaaaaaaaaaaaab"_s, u"aab"_s, 0, 16},
        {u"ht\"ht\">"_s, u"ht\">"_s, 0, 3},
        {u"abc"_s, u"c"_s, 0, 2},
        {u"abc"_s, u"x"_s, 0, -1},
        {u"abc"_s, QString(), 3, 3},
        {u"abc"_s, u"b"_s, 4, -1},
        {u"abc"_s, u"b"_s, -1, -1},
        {u"Пиры</td></tr> Пиры</td></tr>"_s, u"Пиры</td></tr>"_s, 1, 15},
        {QString(), u"ab"_s, 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findText(c.text, c.needle, c.from), c.found)
            << c.text.toStdString() << " / " << c.needle.toStdString();
    }
}

// Random texts over a small alphabet, so that near matches are common: the answer is always
// the library's.
TEST(FastFind, AgreesWithTheLibraryOnRandomTexts) {
    std::mt19937 random(7);
    const QString alphabet = u"ab\"<>Пи"_s;
    const auto randomText = [&](int maxLength) {
        QString text;
        const int length = static_cast<int>(random() % static_cast<unsigned>(maxLength + 1));
        for (int i = 0; i < length; ++i) {
            text += alphabet[static_cast<qsizetype>(random() % alphabet.size())];
        }
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const QString text = randomText(60);
        const QString needle = randomText(5);
        const auto from = static_cast<qsizetype>(random() % static_cast<unsigned>(text.size() + 1));
        ASSERT_EQ(findText(text, needle, from), QStringView(text).indexOf(needle, from))
            << text.toStdString() << " / " << needle.toStdString() << " from " << from;
    }
}

} // namespace
