// A text search through the search service (quillbrook-service) for 100 results of a Torznab
// indexer (the stand-in, on loopback), beside the indexer's own answer to the same search:
//   indexerAnswer   the indexer's answer of 100 items, asked directly
//   servicePage     the service's first result page of a new search: it asks the indexer, reads
//                   its answer, merges, gives ids and builds the page
//   keptSearchPage  the same page again from the kept search: the service's own work alone
//   readAnswer      the service's reading of the indexer's answer of 100 items (in memory)
// servicePage - indexerAnswer is the service's share of a search.
#include "search_service_rig.h"

#include "core/torznab_answer.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

using qb::testing::SearchServiceRig;
using qb::testing::StandinProcess;

constexpr int kReleases = 100;
constexpr int kWords = 50;

// Every release's title holds "bench" and the words w0 ... w49, so that every pair of words is
// a text of its own that finds all of them: a new search each time, 100 results each.
std::string fixture() {
    std::string words;
    for (int w = 0; w < kWords; ++w) {
        words += " w" + std::to_string(w);
    }
    std::string json = "[";
    for (int i = 0; i < kReleases; ++i) {
        char hash[41];
        std::snprintf(hash, sizeof hash, "%040x", i + 1);
        json += std::string(i == 0 ? "" : ",") + "{\"title\":\"Bench release " + std::to_string(i) +
                " (2024) WEB-DL 1080p" + words + "\",\"hash\":\"" + hash +
                "\",\"size\":" + std::to_string(1'000'000'000LL + i) +
                ",\"seeders\":" + std::to_string(i) +
                ",\"leechers\":1,\"files\":" + std::to_string(i % 12 + 1) +
                ",\"ageHours\":" + std::to_string(i) + "}";
    }
    return json + "]";
}

struct Rig {
    QTemporaryDir folder;
    StandinProcess indexer{StandinProcess::buildDir() + "/bin/torznab-standin",
                           "/api?t=caps&apikey=standin-key"};
    StandinProcess service{StandinProcess::buildDir() + "/bin/quillbrook-service", "/version.txt"};

    Rig() {
        const std::string file = folder.path().toStdString() + "/bench.json";
        std::ofstream(file) << fixture();
        if (!indexer.start({"--fixture", file})) {
            throw std::runtime_error(indexer.error());
        }
        if (!service.start({"--torznab", indexer.baseUrl() + "/api?apikey=standin-key", "--state",
                            folder.path().toStdString() + "/state.json", "--settings",
                            folder.path().toStdString() + "/none.conf"})) {
            throw std::runtime_error(service.error());
        }
    }
};

Rig& rig() {
    static Rig instance;
    return instance;
}

// A GET as the service sends one to its sources (gzip accepted), and as the client asks pages.
std::string get(const StandinProcess& process, const std::string& target) {
    httplib::Client http = process.client();
    http.set_url_encode(false);
    const auto answer = http.Get(target, {{"Accept-Encoding", "gzip"}});
    return answer && answer->status == 200 ? answer->body : std::string();
}

std::string pageTarget(const std::string& text) {
    return std::string("/get.php?secret=") + SearchServiceRig::kSecret + "&q=search/0/0/000/2/" +
           qb::testing::percentEncoded(text);
}

void indexerAnswer(benchmark::State& state) {
    int n = 0;
    for (auto _ : state) {
        const std::string text = "bench w" + std::to_string(n++ % kWords);
        const std::string body =
            get(rig().indexer, "/api?t=search&apikey=standin-key&limit=100&q=" +
                                   qb::testing::percentEncoded(text));
        if (body.find("</rss>") == std::string::npos) {
            state.SkipWithError("the indexer did not answer");
        }
    }
}

void servicePage(benchmark::State& state) {
    int n = 0;
    for (auto _ : state) {
        // A pair of words not asked before: a new search of the indexer.
        const int pair = n++;
        const std::string text =
            "w" + std::to_string(pair % kWords) + " w" + std::to_string(pair / kWords % kWords);
        const std::string page = get(rig().service, pageTarget(text + " bench"));
        if (page.find("/torrent/") == std::string::npos) {
            state.SkipWithError("the service listed nothing");
        }
    }
}

void keptSearchPage(benchmark::State& state) {
    get(rig().service, pageTarget("bench kept"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(get(rig().service, pageTarget("bench kept")));
    }
}

void readAnswer(benchmark::State& state) {
    const std::string body =
        get(rig().indexer, "/api?t=search&apikey=standin-key&limit=100&q=bench");
    for (auto _ : state) {
        const auto answer = qb::service::readTorznabAnswer(body, "bench");
        if (answer.releases.size() != kReleases) {
            state.SkipWithError("not every release was read");
        }
    }
}

BENCHMARK(indexerAnswer)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(servicePage)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(keptSearchPage)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(readAnswer)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
