// When the cache is used, which ids name cache files, and where the view may go.
#include "page_test_print.h"

#include "releaseinfo/page/info_cache.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::releaseinfo::PageSource;

struct ChoiceCase {
    const char* name;
    bool torrentSelected;
    const char16_t* rowText;
    bool cacheFileExists;
    PageSource expected;
};

class Choice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(Choice, FollowsTheTorrentListSelection) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(qb::releaseinfo::pageSource(c.torrentSelected, QString::fromUtf16(c.rowText),
                                          c.cacheFileExists),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Choice,
    ::testing::Values(
        ChoiceCase{"NoSelectionCached", false, u"", true, PageSource::Cache},
        ChoiceCase{"NoSelectionNotCached", false, u"", false, PageSource::Build},
        // An update mark on a row that is not selected does not count.
        ChoiceCase{"NoSelectionUpdateText", false, u"[update] A", true, PageSource::Cache},
        ChoiceCase{"RowCached", true, u"A - Размер: 1 ГБ", true, PageSource::Cache},
        ChoiceCase{"RowNotCached", true, u"A - Размер: 1 ГБ", false, PageSource::Build},
        ChoiceCase{"UpdateRowCached", true, u"[update] A", true, PageSource::Build},
        ChoiceCase{"UpdateRowNotCached", true, u"[update] A", false, PageSource::Build},
        ChoiceCase{"UpdateTextWithoutBracket", true, u"update A", true, PageSource::Cache}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReleaseId, IsDecimalDigitsOnly) {
    EXPECT_TRUE(qb::releaseinfo::isReleaseId(u"107187"));
    for (const char16_t* id : {u"", u"12a", u"../1", u"1/2", u" 1", u"1&x=2", u"١٢"}) {
        EXPECT_FALSE(qb::releaseinfo::isReleaseId(QStringView(id)))
            << QString::fromUtf16(id).toStdString();
    }
}

TEST(CacheFile, LiesInTheCacheFolder) {
    EXPECT_EQ(qb::releaseinfo::cacheFilePath(u"/opt/qb/cache/"_s, u"107187"_s),
              u"/opt/qb/cache/107187.html"_s);
}

TEST(ViewAddress, FilesOnlyFromTheCacheFolder) {
    const QString cache = u"/opt/qb/cache"_s;
    const auto allowed = [&cache](const char16_t* address) {
        return qb::releaseinfo::isAllowedViewAddress(QUrl(QString::fromUtf16(address)), cache);
    };
    EXPECT_TRUE(allowed(u"http://127.0.0.1:8091/abt.need"));
    EXPECT_TRUE(allowed(u"about:blank"));
    EXPECT_TRUE(allowed(u"file:///opt/qb/cache/107187.html"));
    EXPECT_FALSE(allowed(u"file:///etc/passwd"));
    EXPECT_FALSE(allowed(u"file:///opt/qb/app.json"));
    EXPECT_FALSE(allowed(u"file:///opt/qb/cache/../app.json"));
    EXPECT_FALSE(allowed(u"file:///opt/qb/cache/%2e%2e/app.json"));
    EXPECT_FALSE(allowed(u"file:///opt/qb/cache"));
    EXPECT_FALSE(allowed(u"file:///opt/qb/cachex/1.html"));
    EXPECT_FALSE(allowed(u"file://server/opt/qb/cache/1.html"));
    EXPECT_FALSE(allowed(u"FILE:///etc/passwd"));
}

} // namespace
