// The parse of a search answer into result records and rows (showSR without its widgets),
// beside one memmem scan of the same bytes for the row marker.
#include "search/query/service_queries.h"
#include "search/results/result_parser.h"

#include <benchmark/benchmark.h>

#include <QStringList>

#include <cstring>

namespace {

using namespace qb::search;

constexpr int kRowsPerPage = 50;

// One result row in the tracker's markup, varied as a real page is: comments cells, excluded
// releases, every resolution.
QString resultRow(int id) {
    static const char* const kRips[] = {"BDRip 1080p",   "WEB-DL 2160p | HDR", "HDTV 1080i",
                                        "DVDRip",        "WEB-DL 720p",        "PDF",
                                        "BDRemux 1080p", "WEBRip 1080p"};
    const QString nbsp(QChar(0x00A0));
    const QString n = QString::number(id);
    const QString comments =
        id % 3 == 0
            ? QStringLiteral("<td align=\"right\">%1<img src=\"/s/t/ic.gif\" alt=\"C\"></td>")
                  .arg(id % 40)
            : QString();
    return QStringLiteral("<tr class=\"gai\"><td>12") + nbsp + QStringLiteral("Дек") + nbsp +
           QStringLiteral("24</td><td colspan=\"2\"><a class=\"downgif\" href=\"/download/") + n +
           QStringLiteral("\"><img src=\"/s/t/d.gif\" alt=\"D\"></a><a href=\"magnet:?xt=urn:btih:"
                          "6E38DD076E2E61C511669A7B3628C2DE7111A9") +
           n.right(2) +
           QStringLiteral("&amp;dn=tracker.example&amp;tr=http%3A%2F%2Fbt.tracker.example%2Fann%3"
                          "Fmagnet\"><img src=\"/s/t/m.png\" alt=\"M\"></a><a href=\"/torrent/") +
           n + QStringLiteral("/release-") + n +
           QStringLiteral("\">Северное сияние / Northern Lights (2019) ") +
           QString::fromUtf8(kRips[id % 8]) + QStringLiteral(" | Лицензия </a></td>") + comments +
           QStringLiteral("<td align=\"right\">10.23") + nbsp +
           QStringLiteral("GB</td><td align=\"center\"><span class=\"green\"><img "
                          "src=\"/s/t/arrowup.gif\" alt=\"S\">") +
           nbsp + QString::number(id % 300) + QStringLiteral("</span>") + nbsp +
           QStringLiteral("<span class=\"red\">") + nbsp + QString::number(id % 17) +
           QStringLiteral("</span></td></tr>\n");
}

QString resultPage(int page) {
    QString text = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>Поиск :: "
        "tracker.example</title>\n<link rel=\"stylesheet\" href=\"/s/t/t.css\">\n</head>\n<body>\n"
        "<div id=\"logo\"><a href=\"/\"><img src=\"/s/t/logo.png\" alt=\"tracker.example\"></a>"
        "</div>\n<div id=\"menu\"><a href=\"/\">Главная</a> | <a href=\"/top\">Топ</a></div>\n"
        "<table width=\"100%\" class=\"t\">\n<tr class=\"backgr\"><td>Добавлен</td><td "
        "colspan=\"2\">Название</td><td>Размер</td><td align=\"center\">Пиры</td></tr>\n");
    for (int i = 0; i < kRowsPerPage; ++i) {
        text += resultRow(page * kRowsPerPage + i + 100000);
    }
    return text + QStringLiteral("</table>\n<div id=\"footer\">tracker.example</div>\n</body>\n"
                                 "</html>\n");
}

const QString& twoPageAnswer() {
    static const QString answer = resultPage(0) + resultPage(1);
    return answer;
}

// showSR's work without the list widget: records, then the rows' texts.
void showSRLines(benchmark::State& state) {
    const QStringList lines = prepareTextAnswer(twoPageAnswer());
    qint64 bytes = 0;
    for (const QString& line : lines) {
        bytes += line.size() * 2;
    }
    const auto mode = state.range(0) == 0 ? DisplayMode::Normal : DisplayMode::Fhd;
    for (auto _ : state) {
        std::vector<SearchRecord> records = parseResultLines(lines, mode);
        QStringList rows;
        rows.reserve(static_cast<qsizetype>(records.size()));
        for (const SearchRecord& record : records) {
            rows << displayLine(record, mode);
        }
        benchmark::DoNotOptimize(rows);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["rows"] = static_cast<double>(parseResultLines(lines, mode).size());
    state.counters["answer_kB"] = static_cast<double>(twoPageAnswer().toUtf8().size()) / 1024.0;
}

// Counts the row markers in `haystack` with memmem: one pass over its bytes.
int countWithMemmem(const char* haystack, size_t size, const void* needle, size_t needleSize) {
    int count = 0;
    const char* at = haystack;
    const char* const end = haystack + size;
    while (const void* found = memmem(at, static_cast<size_t>(end - at), needle, needleSize)) {
        ++count;
        at = static_cast<const char*>(found) + needleSize;
    }
    return count;
}

// The same bytes as showSR reads: the prepared lines in memory (UTF-16).
void memmemScanOfTheLines(benchmark::State& state) {
    const QString joined = prepareTextAnswer(twoPageAnswer()).join(QString());
    const QString marker = QStringLiteral("<a href=\"magnet");
    const auto size = static_cast<size_t>(joined.size()) * 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(countWithMemmem(reinterpret_cast<const char*>(joined.utf16()),
                                                 size, marker.utf16(),
                                                 static_cast<size_t>(marker.size()) * 2));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}

// The answer as it came over the wire (UTF-8).
void memmemScanOfTheAnswer(benchmark::State& state) {
    const QByteArray bytes = twoPageAnswer().toUtf8();
    for (auto _ : state) {
        benchmark::DoNotOptimize(countWithMemmem(
            bytes.constData(), static_cast<size_t>(bytes.size()), "<a href=\"magnet", 15));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(showSRLines)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(memmemScanOfTheLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(memmemScanOfTheAnswer)->Unit(benchmark::kMicrosecond);
