#include "search_hub.h"

#include "core/merging.h"
#include "core/service_query.h"
#include "service_log.h"

namespace qb::service {

namespace {

constexpr std::size_t kMostKeptSearches = 200;

std::string keyOf(const std::vector<SourceAddress>& sources, const SourceRequest& request) {
    std::string key =
        request.newest ? "newest:" + request.categories : "text:" + searchKey(request.text);
    for (const SourceAddress& source : sources) {
        key += '\n';
        key += source.address;
    }
    return key;
}

std::string describe(const SourceRequest& request) {
    if (request.newest) {
        return request.categories.empty() ? "the newest releases"
                                          : "the newest releases of " + request.categories;
    }
    return "\"" + request.text + "\"";
}

} // namespace

Search::Search(int lanes)
    : pending_(lanes) {}

std::vector<Release> Search::releasesBy(Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    arrived_.wait_until(lock, deadline, [this] { return pending_ == 0; });
    return releases_;
}

bool Search::complete() const {
    const std::lock_guard lock(mutex_);
    return pending_ == 0;
}

void Search::setFirstPage(std::unordered_set<std::string> hashes) {
    const std::lock_guard lock(mutex_);
    firstPage_ = std::move(hashes);
}

std::optional<std::unordered_set<std::string>> Search::firstPage() const {
    const std::lock_guard lock(mutex_);
    return firstPage_;
}

void Search::addAnswer(std::vector<Release> releases) {
    {
        const std::lock_guard lock(mutex_);
        mergeInto(releases_, std::move(releases));
        --pending_;
    }
    arrived_.notify_all();
}

SearchHub::SearchHub(FetchLimits limits, std::chrono::seconds keep)
    : limits_(limits)
    , keep_(keep) {}

SearchHub::~SearchHub() {
    stop();
}

std::shared_ptr<Search> SearchHub::search(const std::vector<SourceAddress>& sources,
                                          const SourceRequest& request) {
    const std::string key = keyOf(sources, request);
    const Clock::time_point now = Clock::now();
    const std::lock_guard lock(mutex_);
    joinFinished();
    forgetOld(now);
    if (const auto found = searches_.find(key); found != searches_.end()) {
        return found->second.search;
    }
    const std::vector<Lane> lanes = lanesOf(sources, request);
    auto search = std::make_shared<Search>(static_cast<int>(lanes.size()));
    if (stopping_) {
        return search;
    }
    searches_[key] = {search, now};
    const std::string what = describe(request);
    for (const Lane& lane : lanes) {
        startLane(search, lane, what);
    }
    return search;
}

void SearchHub::startLane(const std::shared_ptr<Search>& search, Lane lane,
                          const std::string& what) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([this, search, lane = std::move(lane), what, done] {
        SourceAnswer answer = askLane(lane, limits_, stopping_);
        if (!answer.error.empty() && !stopping_) {
            logLine(sourceName(lane.source) + ": " + what + ": " + answer.error);
        } else if (answer.withoutHash > 0) {
            logLine(sourceName(lane.source) + ": " + what + ": " +
                    std::to_string(answer.withoutHash) + " releases without an info-hash left out");
        }
        search->addAnswer(std::move(answer.releases));
        done->store(true);
    });
    workers_.push_back({std::move(thread), std::move(done)});
}

void SearchHub::forgetOld(Clock::time_point now) {
    for (auto it = searches_.begin(); it != searches_.end();) {
        const bool old = now - it->second.started > keep_ && it->second.search->complete();
        it = old ? searches_.erase(it) : std::next(it);
    }
    while (searches_.size() >= kMostKeptSearches) {
        auto oldest = searches_.begin();
        for (auto it = searches_.begin(); it != searches_.end(); ++it) {
            if (it->second.started < oldest->second.started) {
                oldest = it;
            }
        }
        searches_.erase(oldest);
    }
}

void SearchHub::joinFinished() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

void SearchHub::stop() {
    stopping_ = true;
    std::list<Worker> workers;
    {
        const std::lock_guard lock(mutex_);
        workers.swap(workers_);
        searches_.clear();
    }
    for (Worker& worker : workers) {
        worker.thread.join();
    }
}

} // namespace qb::service
