// The refresh's work between the list answer and the rows of TorrentList.
#include "list_answer_maker.h"

#include "connection/list/row_colours.h"
#include "connection/list/server_list.h"
#include "connection/list/server_list_reader.h"
#include "connection/list/torrent_row.h"
#include "connection/today/today_list.h"

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <QStringList>

namespace {
using namespace qb::connection;

const QStringList kUpdateRows{
    QStringLiteral("Солярис (1972) BDRip 720p #3^0123456789abcdef0123456789abcdef01234567"),
    QStringLiteral("Сталкер (1979) HDTVRip #8^89abcdef0123456789abcdef0123456789abcdef"),
    QStringLiteral("The Expanse (2015) WEB-DL 1080p #13^fedcba9876543210fedcba9876543210fedcba98"),
};

// The refresh's way from the answer to the rows: read and sort (off the window's thread), then
// the row texts (on it).
void toRows(benchmark::State& state, QByteArray answer, const ListDialect& dialect) {
    // As a body read from the network in pieces, with room to spare behind it.
    answer.reserve(answer.size() + qsizetype{simdjson::SIMDJSON_PADDING});
    for (auto _ : state) {
        ServerListRead read = readServerList(answer, dialect);
        QStringList rows;
        rows.reserve(static_cast<qsizetype>(read.rowFields.size()));
        for (const auto& fields : read.rowFields) {
            rows.append(torrentRowText(fields, kUpdateRows));
        }
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * answer.size());
    state.counters["answer_kB"] = static_cast<double>(answer.size()) / 1024.0;
}

void answerToRows(benchmark::State& state) {
    toRows(state, qb::bench::makeListAnswer(static_cast<int>(state.range(0))), kApi11ListDialect);
}

// The same for today's server, whose list holds status objects that the rows read through the
// client's entries.
void todayAnswerToRows(benchmark::State& state) {
    toRows(state, qb::bench::makeTodayListAnswer(static_cast<int>(state.range(0))),
           today::kListDialect);
}

// The same with the plain reader and sort alone, as the refresh once did it.
void answerToRowsPlainReader(benchmark::State& state) {
    const QByteArray answer = qb::bench::makeListAnswer(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ListParseOutcome outcome = parseServerList(answer);
        sortServerList(outcome.array);
        QStringList rows;
        rows.reserve(static_cast<qsizetype>(outcome.array.size()));
        for (const auto& entry : outcome.array) {
            rows.append(torrentRowText(entry, kUpdateRows));
        }
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * answer.size());
}

// The yardstick: a plain simdjson parse of the same bytes into its document, nothing more. The
// refresh (answerToRows) is to stay within three times this.
void simdjsonParse(benchmark::State& state, const QByteArray& answer) {
    const simdjson::padded_string padded(answer.constData(),
                                         static_cast<std::size_t>(answer.size()));
    simdjson::dom::parser parser;
    for (auto _ : state) {
        simdjson::dom::element root;
        if (parser.parse(padded).get(root) != simdjson::SUCCESS) {
            state.SkipWithError("simdjson refused the answer");
            break;
        }
        benchmark::DoNotOptimize(root);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * answer.size());
}

void simdjsonParseOnly(benchmark::State& state) {
    simdjsonParse(state, qb::bench::makeListAnswer(static_cast<int>(state.range(0))));
}

// Today's answer: todayAnswerToRows is to stay within three times this.
void todaySimdjsonParseOnly(benchmark::State& state) {
    simdjsonParse(state, qb::bench::makeTodayListAnswer(static_cast<int>(state.range(0))));
}

void parseOnly(benchmark::State& state) {
    const QByteArray answer = qb::bench::makeListAnswer(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseServerList(answer));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void sortOnly(benchmark::State& state) {
    const nlohmann::ordered_json parsed =
        parseServerList(qb::bench::makeListAnswer(static_cast<int>(state.range(0)))).array;
    for (auto _ : state) {
        state.PauseTiming();
        nlohmann::ordered_json list = parsed;
        state.ResumeTiming();
        sortServerList(list);
        benchmark::DoNotOptimize(list);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Drawing every row once, as a full repaint of the list does.
void drawAllRows(benchmark::State& state) {
    ListParseOutcome outcome =
        parseServerList(qb::bench::makeListAnswer(static_cast<int>(state.range(0))));
    sortServerList(outcome.array);
    QStringList rows;
    for (const auto& entry : outcome.array) {
        rows.append(torrentRowText(entry, kUpdateRows));
    }
    for (auto _ : state) {
        qsizetype index = 0;
        for (const auto& entry : outcome.array) {
            benchmark::DoNotOptimize(torrentRowColour(entry, rows[index++], false));
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
} // namespace

BENCHMARK(simdjsonParseOnly)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(answerToRows)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(todaySimdjsonParseOnly)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(todayAnswerToRows)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(answerToRowsPlainReader)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(parseOnly)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(sortOnly)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(drawAllRows)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
