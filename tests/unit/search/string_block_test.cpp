// Parts cut into one shared block must behave as separate strings.
#include "search/text/string_block.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::search::StringBlock;

const QStringList kTexts = {u"magnet:?xt=urn:btih:AB&amp;dn=x"_s,
                            u"/torrent/77/q"_s,
                            u"Северное сияние"_s,
                            u""_s,
                            u"12"_s,
                            u"3"_s};

std::vector<QString> partsOf(const QStringList& texts) {
    qsizetype characters = 0;
    for (const QString& text : texts) {
        characters += text.size();
    }
    StringBlock block(characters, texts.size());
    std::vector<QString> parts;
    for (const QString& text : texts) {
        parts.push_back(block.add(text));
    }
    return parts;
}

TEST(StringBlock, PartsHoldTheirTextEndedForUtf16) {
    const std::vector<QString> parts = partsOf(kTexts);
    ASSERT_EQ(parts.size(), static_cast<size_t>(kTexts.size()));
    EXPECT_TRUE(parts[3].isNull()); // an empty part holds no share (utf16() below would make one)
    for (size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i], kTexts[static_cast<qsizetype>(i)]);
        EXPECT_EQ(parts[i].utf16()[parts[i].size()], 0) << i;
    }
}

TEST(StringBlock, WritingToAPartLeavesTheOthers) {
    std::vector<QString> parts = partsOf(kTexts);
    parts[2] += u" / Northern Lights"_s;
    parts[0].replace(u"&amp;"_s, u"&"_s);
    parts[4].prepend(u'1');
    EXPECT_EQ(parts[0], u"magnet:?xt=urn:btih:AB&dn=x"_s);
    EXPECT_EQ(parts[1], kTexts[1]);
    EXPECT_EQ(parts[2], u"Северное сияние / Northern Lights"_s);
    EXPECT_EQ(parts[4], u"112"_s);
    EXPECT_EQ(parts[5], kTexts[5]);
}

TEST(StringBlock, ALastPartOutlivesTheOthersAndGrowsInPlaceSafely) {
    std::optional<QString> last;
    {
        std::vector<QString> parts = partsOf(kTexts);
        last = parts[1];
    }
    // The block is now this part's alone: growing it may write over the released parts.
    *last += u"/and/more/text/than/the/block/ever/held/before/it/was/released"_s;
    EXPECT_EQ(*last,
              u"/torrent/77/q/and/more/text/than/the/block/ever/held/before/it/was/released"_s);
    const QString copy = *last;
    last.reset();
    EXPECT_TRUE(copy.startsWith(u"/torrent/77/q"_s));
}

} // namespace
