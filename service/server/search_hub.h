#pragma once

#include "core/release.h"
#include "source_lanes.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace qb::service {

using Clock = std::chrono::steady_clock;

// One search of the sources: its lanes run side by side and their releases are merged as they
// arrive. The pages that ask for it while it runs, and for a while after, share it.
class Search {
public:
    explicit Search(int lanes);

    // The releases merged from the lanes that answered by `deadline`, or from all of them when
    // they all answered earlier, in the order they came. Never waits past the deadline: a slow
    // source does not hold a page.
    std::vector<Release> releasesBy(Clock::time_point deadline);
    bool complete() const;

    // The releases the first page of a text search listed, so that its second lists others.
    void setFirstPage(std::unordered_set<std::string> hashes);
    std::optional<std::unordered_set<std::string>> firstPage() const;

    void addAnswer(std::vector<Release> releases);

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Release> releases_;
    int pending_;
    std::optional<std::unordered_set<std::string>> firstPage_;
};

// The searches running and recently finished, by what they ask.
class SearchHub {
public:
    explicit SearchHub(FetchLimits limits, std::chrono::seconds keep = std::chrono::minutes(5));
    ~SearchHub();
    SearchHub(const SearchHub&) = delete;
    SearchHub& operator=(const SearchHub&) = delete;

    // The search of the sources for the request: one that runs or ended less than `keep` ago
    // (texts that differ only in letter case and blanks are one search), else a new one.
    std::shared_ptr<Search> search(const std::vector<SourceAddress>& sources,
                                   const SourceRequest& request);

    // Ends every request to the sources at once and waits for the lanes to end.
    void stop();

private:
    struct Entry {
        std::shared_ptr<Search> search;
        Clock::time_point started;
    };
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void startLane(const std::shared_ptr<Search>& search, Lane lane, const std::string& what);
    void forgetOld(Clock::time_point now);
    void joinFinished();

    FetchLimits limits_;
    std::chrono::seconds keep_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::map<std::string, Entry> searches_;
    std::list<Worker> workers_;
};

} // namespace qb::service
