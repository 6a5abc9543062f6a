// The text half of the builder: the tag strip, the captions set apart, and the fields read from
// the lines.
#include "page_test_print.h"

#include "releaseinfo/page/page_fields.h"
#include "releaseinfo/page/page_text.h"
#include "releaseinfo/page/page_text_ops.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::releaseinfo::captionedLines;
using qb::releaseinfo::PageFields;
using qb::releaseinfo::pageFields;
using qb::releaseinfo::strippedLines;

PageFields fieldsOf(const QString& answer) {
    return pageFields(captionedLines(strippedLines(answer)), u"www.filmdb.example"_s);
}

QString castLink(const QString& name) {
    return u"<a href=\"https://www.filmdb.example/index.php?level=7&from=forma&result=adv"
           u"&m_act[from]=forma&m_act[what]=actor&m_act[find]="_s +
           name + u"\" target=_blank>"_s + name + u"</a>"_s;
}

struct StripCase {
    const char* name;
    const char16_t* answer;
    const char16_t* lines;
};

class Strip : public ::testing::TestWithParam<StripCase> {};

TEST_P(Strip, KeepsTheTextOutsideTagsLineByLine) {
    EXPECT_EQ(strippedLines(QString::fromUtf16(GetParam().answer)),
              QString::fromUtf16(GetParam().lines));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Strip,
    ::testing::Values(
        // Text before the first ">" counts as inside a tag.
        StripCase{"StartsInsideATag", u"lost<p>kept</p>", u"kept<br>\r\n"},
        StripCase{"TagAcrossLines", u"<p>a<span\nclass=x>b</span>\r\nc</p>",
                  u"a<br>\r\nb<br>\r\nc<br>\r\n"},
        // Blank text waits for the next line's text and goes out with it.
        StripCase{"BlanksCarryOn", u"<p> \r\n\t\rx</p>", u" \tx<br>\r\n"},
        StripCase{"TrailingBlanksDropped", u"<p>x\n  ", u"x<br>\r\n"},
        StripCase{"BoldInAnyCaseBecomesText", u"<p><B>Жанр:</b> драма</p>",
                  u"[b]Жанр:[/b] драма<br>\r\n"},
        // A bold tag inside another tag is dropped with it; other tags with a b are tags.
        StripCase{"BoldInsideATag", u"<a <b> x><br>y", u"y<br>\r\n"}, StripCase{"Empty", u"", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Captions, SetApartInTheirOrderIgnoringCase) {
    // Rule "MI" takes the m and i of any word; "|" becomes a blank.
    EXPECT_EQ(captionedLines(u"Family | РАЗМЕР 1 ГБ<br>\r\n"_s),
              u"Fa\r\n<br>MI: ly   \r\n<br><b>Размер:</b>  1 ГБ<br>\r\n"_s);
    EXPECT_EQ(captionedLines(u"[B]Жанр:[/B] x M/I Mediainfo BDInfo [INFO]<br>"_s),
              u"\r\n<br><b>Жанр:</b> x \r\n<br>M/I:  \r\n<br>Mediainfo:  \r\n<br>[BDInfo]  "
              u"\r\n<br>[info] <br>"_s);
    // Earlier rules take their text first where two overlap.
    EXPECT_EQ(captionedLines(u"сидеразмер"_s), u"сиде\r\n<br><b>Размер:</b> "_s);
    EXPECT_EQ(captionedLines(u"Скриншоты Категория"_s), u"<br> <br>Категория: "_s);
}

TEST(Fields, CastWithThreeNamesAndARemarkLinksTheThree) {
    const PageFields f = fieldsOf(u"<p><b>В ролях:</b> Анна, Борис, Вера, и другие</p>"_s);
    EXPECT_EQ(f.actors, u"<br><b>В ролях:</b> "_s + castLink(u" Анна"_s) + u", "_s +
                            castLink(u"Борис"_s) + u", "_s + castLink(u"Вера"_s));
}

TEST(Fields, CastLinksStopAfterSixteenNames) {
    QString names;
    for (int i = 1; i <= 20; ++i) {
        names += u"N%1, "_s.arg(i, 2, 10, QChar(u'0'));
    }
    const PageFields f = fieldsOf(u"<p><b>В ролях:</b>"_s + names + u"</p>"_s);
    EXPECT_EQ(f.actors.count(u"<a href"_s), 16);
    EXPECT_TRUE(f.actors.endsWith(u">N16</a>"_s)) << f.actors.toStdString();
}

TEST(Fields, LaterCastLineReplacesTheEarlier) {
    const PageFields f =
        fieldsOf(u"<p><b>В ролях:</b> Анна, x</p>\n<p><b>В ролях:</b> Борис</p>"_s);
    EXPECT_EQ(f.actors, u"<br><b>В ролях:</b"_s);
}

struct FieldCase {
    const char* name;
    const char16_t* answer;
    QString PageFields::*field;
    const char16_t* expected;
};

class Field : public ::testing::TestWithParam<FieldCase> {};

TEST_P(Field, ComesFromItsLines) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(fieldsOf(QString::fromUtf16(c.answer)).*c.field, QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Field,
    ::testing::Values(
        FieldCase{"SingleCastNameGivesNoLink", u"<p><b>В ролях:</b> Иван Петров</p>",
                  &PageFields::actors, u"<br><b>В ролях:</b"},
        FieldCase{"DescriptionColonsGetABlank", u"<p><b>Описание:</b> Время: ночь</p>",
                  &PageFields::description, u"<br><b>Описание: </b> Время:  ночь<br>"},
        FieldCase{"LastDescriptionWins", u"<p><b>Описание</b> a</p>\n<p><b>О сериале</b> b</p>",
                  &PageFields::description, u"<br><b>О сериале</b> b<br>"},
        FieldCase{"SizeBeforeItsParenthesis",
                  u"<tr><td class=\"h\">Размер</td><td>10.23 GB (10,984 Bytes)</td></tr>",
                  &PageFields::size, u"<br><b>Размер:</b> 10.23 GB "},
        FieldCase{"AddedBeforeItsParenthesis",
                  u"<tr><td>Добавлен</td><td>2024-07-17 (5 месяцев назад)</td></tr>",
                  &PageFields::added, u"<br><b>Добавлен:</b> 2024-07-17 "},
        FieldCase{"AddedEpisodesAreNoDate", u"<p>Добавлены серии 1-8</p>", &PageFields::added, u""},
        FieldCase{"GenreLosesItsFirstBreak", u"<p><b>Жанр:</b> драма</p>", &PageFields::genre,
                  u"<b>Жанр:</b> драма<br>"},
        FieldCase{"AudioAndSoundAppend", u"<p><b>Аудио:</b> AC3</p>\n<p><b>Звук:</b> AAC</p>",
                  &PageFields::audio, u"<br><b>Аудио:</b> AC3<br><br><b>Звук:</b> AAC<br>"},
        FieldCase{"DubbingAppendsToTranslation",
                  u"<p><b>Перевод:</b> проф.</p>\n<p><b>Озвучивание:</b> студия</p>",
                  &PageFields::translation,
                  u"<br><b>Перевод:</b> проф.<br><br><b>Озвучивание:</b> студия<br>"},
        FieldCase{"YearOfRelease", u"<p><b>Год выпуска:</b> 2019</p>", &PageFields::year,
                  u"<br><b>Год выпуска:</b> 2019<br>"},
        FieldCase{"Title", u"<p><b>Название:</b> Северное сияние</p>", &PageFields::title,
                  u" Северное сияние"},
        // Nothing after the caption on its line: the next line is the title.
        FieldCase{"TitleOnTheNextLine", u"<p><b>Название:</b><b>Сияние</b></p>", &PageFields::title,
                  u"<b>Сияние</b><br>"},
        FieldCase{"OriginalTitleWhileNoTitle", u"<p><b>Оригинальное название:</b> Aurora</p>",
                  &PageFields::title, u"</b> Aurora<br>"},
        FieldCase{"OriginalTitleNotOverATitle",
                  u"<p><b>Название:</b> Сияние</p>\n<p><b>Оригинальное название:</b> Aurora</p>",
                  &PageFields::title, u" Сияние"},
        FieldCase{"TitleCaptionWithItsColonOutside", u"<p><b>Название</b>: Сияние</p>",
                  &PageFields::title, u"Сияние<br>"},
        FieldCase{"NoMarkersNoFields", u"<html><body>Страница не найдена</body></html>",
                  &PageFields::title, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Lines, EndAtEachKindOfBreak) {
    QStringList lines;
    qb::releaseinfo::forEachLine(u"a\r\nb\rc\n\nd\n"_s,
                                 [&lines](QStringView line) { lines << line.toString(); });
    EXPECT_EQ(lines, (QStringList{u"a"_s, u"b"_s, u"c"_s, u""_s, u"d"_s}));
}

} // namespace
