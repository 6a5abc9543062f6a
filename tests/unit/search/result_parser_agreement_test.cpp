// The fast row reading against the same steps written plainly with QString's own searches and
// replacements, on many generated lines: both must give the same records, field for field.
#include "search/results/result_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::search::DisplayMode;
using qb::search::SearchRecord;

// Positions count from 1 here, and an absent marker stands at 0, as the row reading is told.
std::optional<SearchRecord> plainRecord(const QString& line, DisplayMode mode) {
    const qsizetype p1 = line.indexOf(u"<a href=\"magnet"_s) + 1;
    const qsizetype p2 = p1 == 0 ? 0 : line.indexOf(u"</span></td></tr>"_s, p1 - 1) + 1;
    if (p2 - p1 - 9 < 1) {
        return std::nullopt;
    }
    QString r = line.mid(p1 + 9 - 1, p2 - p1 - 9);
    r.remove(QChar(0x00A0));
    if (r.isEmpty()) {
        return std::nullopt;
    }
    const auto containsAny = [&r](std::initializer_list<QString> marks) {
        return std::any_of(marks.begin(), marks.end(),
                           [&r](const QString& mark) { return r.contains(mark); });
    };
    if (mode == DisplayMode::Fhd && !containsAny({u"1080p"_s, u"2160p"_s, u"1080i"_s})) {
        return std::nullopt;
    }
    if (containsAny({u") РС"_s, u") PC"_s, u"JPG"_s, u"JPEG"_s, u"FB2"_s, u"PDF"_s, u"PCRec"_s})) {
        return std::nullopt;
    }
    const auto before = [&r](const QString& marker) {
        const qsizetype at = r.indexOf(marker) + 1;
        return at > 1 ? r.left(at - 1) : QString();
    };
    const auto cut = [&r](const QString& marker) {
        const qsizetype at = r.indexOf(marker) + 1;
        r.remove(0, at > 0 ? at - 1 + marker.size() : marker.size() - 1);
    };
    SearchRecord record;
    record.Magnet = before(u"\">"_s);
    cut(u"f=\""_s);
    record.PagePath = before(u"\">"_s);
    cut(u"\">"_s);
    record.Title = before(u"</a"_s);
    record.Title.chop(1);
    cut(u"ht\">"_s);
    if (r.contains(u"ht\">"_s)) {
        cut(u"ht\">"_s);
    }
    r.replace(u"GB"_s, u" ГБ"_s, Qt::CaseInsensitive);
    record.Size = before(u"</t"_s);
    cut(u"S\">"_s);
    record.Seeders = before(u"</sp"_s);
    cut(u"red\">"_s);
    record.Leechers = r;
    return record;
}

// Lines put together from the markers, the marks, their near misses and filler, so that most
// lines reach the cuts and many hit an edge of them.
class LineMaker {
public:
    QString line() {
        QString text;
        const int pieces = static_cast<int>(random_() % 48);
        for (int i = 0; i < pieces; ++i) {
            const QString& piece = kPieces[random_() % std::size(kPieces)];
            // Now and then only a part of a piece: a marker cut short.
            text += random_() % 6 == 0 ? piece.first(static_cast<qsizetype>(
                                             random_() % static_cast<unsigned>(piece.size() + 1)))
                                       : piece;
        }
        return text;
    }

    // A row as the tracker writes it, with a few characters dropped or doubled.
    QString damagedRow() {
        QString text = u"<tr><td>01"_s + kNbsp +
                       u"Янв</td><td><a href=\"magnet:?xt=urn:btih:AB&amp;dn=x\"><img "
                       u"alt=\"M\"></a><a href=\"/torrent/77/q\">Film &AMP; Co (2020) 1080p "
                       u"</a></td><td align=\"right\">1<img alt=\"C\"></td><td "
                       u"align=\"right\">1.5"_s +
                       kNbsp + u"gB</td><td><span class=\"green\"><img alt=\"S\">"_s + kNbsp +
                       u"12</span><span class=\"red\">"_s + kNbsp + u"3</span></td></tr>"_s;
        const int edits = static_cast<int>(random_() % 4);
        for (int i = 0; i < edits; ++i) {
            const auto at = static_cast<qsizetype>(random_() % static_cast<unsigned>(text.size()));
            if (random_() % 2 == 0) {
                text.remove(at, 1 + static_cast<qsizetype>(random_() % 3));
            } else {
                text.insert(at, text.mid(at, 1 + static_cast<qsizetype>(random_() % 3)));
            }
        }
        return text;
    }

private:
    static inline const QString kNbsp = QString(QChar(0x00A0));
    static inline const QString kPieces[] = {u"<a href=\"magnet"_s,
                                             u"</span></td></tr>"_s,
                                             u"\">"_s,
                                             u"f=\""_s,
                                             u"</a"_s,
                                             u"ht\">"_s,
                                             u"</t"_s,
                                             u"S\">"_s,
                                             u"</sp"_s,
                                             u"red\">"_s,
                                             kNbsp,
                                             u"GB"_s,
                                             u"gb"_s,
                                             u"Gb"_s,
                                             u"G"_s,
                                             u"b"_s,
                                             u"&amp;"_s,
                                             u"&AmP;"_s,
                                             u"&am"_s,
                                             u"1080p"_s,
                                             u"1080i"_s,
                                             u"1080P"_s,
                                             u"2160p"_s,
                                             u"10"_s,
                                             u"21"_s,
                                             u") РС"_s,
                                             u") PC"_s,
                                             u")"_s,
                                             u"JPG"_s,
                                             u"JPEG"_s,
                                             u"FB2"_s,
                                             u"PDF"_s,
                                             u"pdf"_s,
                                             u"PCRec"_s,
                                             u"P"_s,
                                             u"magnet:?xt=urn:btih:6E38"_s,
                                             u"Северное сияние "_s,
                                             u"x"_s,
                                             u" "_s,
                                             u"\""_s,
                                             u"<"_s,
                                             u">"_s,
                                             u"\U0001F3AC"_s,
                                             u"\u0429 "_s,
                                             u"0123456789abcdef"_s};
    std::mt19937 random_{2024};
};

void expectSame(const std::optional<SearchRecord>& fast, const std::optional<SearchRecord>& plain,
                const QString& line) {
    ASSERT_EQ(fast.has_value(), plain.has_value()) << line.toStdString();
    if (!plain) {
        return;
    }
    EXPECT_EQ(fast->Magnet, plain->Magnet) << line.toStdString();
    EXPECT_EQ(fast->PagePath, plain->PagePath) << line.toStdString();
    EXPECT_EQ(fast->Title, plain->Title) << line.toStdString();
    EXPECT_EQ(fast->Size, plain->Size) << line.toStdString();
    EXPECT_EQ(fast->Seeders, plain->Seeders) << line.toStdString();
    EXPECT_EQ(fast->Leechers, plain->Leechers) << line.toStdString();
}

TEST(ResultParserAgreement, EveryLineGivesThePlainStepsRecord) {
    LineMaker maker;
    for (int round = 0; round < 30000; ++round) {
        const QString line = round % 3 == 0 ? maker.damagedRow() : maker.line();
        for (const DisplayMode mode : {DisplayMode::Normal, DisplayMode::Fhd}) {
            expectSame(qb::search::parseResultLine(line, mode), plainRecord(line, mode), line);
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
    }
}

TEST(ResultParserAgreement, ListedTitlesAreDecodedAsByAReplaceIgnoringCase) {
    LineMaker maker;
    QStringList lines;
    std::vector<SearchRecord> plain;
    for (int i = 0; i < 3000; ++i) {
        lines << (i % 2 == 0 ? maker.damagedRow() : maker.line());
        if (auto record = plainRecord(lines.back(), DisplayMode::Normal)) {
            record->Title.replace(u"&amp;"_s, u"&"_s, Qt::CaseInsensitive);
            plain.push_back(*record);
        }
    }
    const std::vector<SearchRecord> fast = qb::search::parseResultLines(lines, DisplayMode::Normal);
    ASSERT_EQ(fast.size(), plain.size());
    ASSERT_GT(plain.size(), 100u); // the lines do reach the cuts
    for (size_t i = 0; i < plain.size(); ++i) {
        expectSame(fast[i], plain[i], plain[i].Title);
        ASSERT_FALSE(::testing::Test::HasFailure()) << "record " << i;
    }
}

} // namespace
