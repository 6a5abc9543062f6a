#include "search/query/service_queries.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kBase = u"http://127.0.0.1:8091"_s;

TEST(ServiceQueries, Addresses) {
    EXPECT_EQ(qb::search::textSearchAddress(kBase, 0, u"Матрица 1999"_s),
              kBase + u"/get.php?secret=bqZanhMLfyKdoe&q=search/0/0/000/2/"
                      u"%D0%9C%D0%B0%D1%82%D1%80%D0%B8%D1%86%D0%B0+1999"_s);
    EXPECT_EQ(qb::search::textSearchAddress(kBase, 1, u"  "_s),
              kBase + u"/get.php?secret=bqZanhMLfyKdoe&q=search/1/0/000/2/++"_s);
    EXPECT_EQ(qb::search::topAddress(kBase), kBase + u"/get.php?secret=bqZanhMLfyKdoe&q=top"_s);
    EXPECT_EQ(qb::search::categoryAddress(kBase, u"nashe_kino"_s),
              kBase + u"/get.php?secret=bqZanhMLfyKdoe&q=nashe_kino"_s);
}

TEST(ServiceQueries, TextAnswerStartsAfterTheHeaderRowAndEndsEachRow) {
    const QString answer = u"<html>\r\n<table><tr><td>Пиры</td></tr>\n<tr>a</span></td></tr>"
                           u"<tr>b</SPAN></TD></TR>x\r\n<table><tr><td>Пиры</td></tr><tr>c"_s;
    EXPECT_EQ(qb::search::prepareTextAnswer(answer),
              (QStringList{u"<tr>a</span></td></tr>"_s, u"<tr>b</span></td></tr>"_s,
                           u"x<table><tr><td>Пиры</td></tr>"_s, u"<tr>c"_s}));
    // Without the header row the first 13 characters go.
    EXPECT_EQ(qb::search::prepareTextAnswer(u"0123456789ABCrest"_s), QStringList{u"rest"_s});
    EXPECT_EQ(qb::search::prepareTextAnswer(QString()), QStringList());
}

TEST(ServiceQueries, TopAndCategoryAnswersHaveOneTableRowPerLine) {
    const QString answer = u"<tr>a\r\n1</tr><tr>b\n2</TR>\rc"_s;
    // The top list keeps a lone CR, which ends a line too.
    EXPECT_EQ(qb::search::prepareTopAnswer(answer),
              (QStringList{u"<tr>a1</tr>"_s, u"<tr>b2</tr>"_s, QString(), u"c"_s}));
    EXPECT_EQ(qb::search::prepareCategoryAnswer(answer),
              (QStringList{u"<tr>a1</tr>"_s, u"<tr>b2</tr>"_s, u"c"_s}));
}

TEST(ServiceQueries, SimilarReleaseQuery) {
    const std::pair<QString, std::optional<QString>> cases[] = {
        {u"Фильм / Film (2020)"_s, u"Фильм"_s}, {u"Film (2020)"_s, u"Film"_s},
        {u"Film [2020] (x)"_s, u"Film"_s},      {u"Film (2020) [x] / y"_s, u"Film (2020) [x]"_s},
        {u"(2020) Film"_s, QString()},          {u"Film 2020"_s, std::nullopt},
    };
    for (const auto& [title, query] : cases) {
        EXPECT_EQ(qb::search::similarQuery(title), query) << title.toStdString();
    }
}

} // namespace
