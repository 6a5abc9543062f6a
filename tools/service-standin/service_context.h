#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "fault_rules.h"
#include "fixture_store.h"
#include "options.h"
#include "request_log.h"

namespace qb::standin {

// Everything the handlers share.
struct ServiceContext {
    ServiceContext(Options opts, std::filesystem::path fixtureDir)
        : options(std::move(opts))
        , fixtures(std::move(fixtureDir))
        , log(options.logFile) {}

    Options options;
    FixtureStore fixtures;
    FaultTable faults;
    RequestLog log;

    // Waits for a slow answer; returns early when the service stops.
    void sleepFor(std::chrono::milliseconds ms);
    void stop();

private:
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
};

} // namespace qb::standin
