#include "preload.h"

#include <algorithm>
#include <thread>

namespace torrserver {

namespace {
double secondsSince(PreloadTracker::Clock::time_point start) {
    return std::chrono::duration<double>(PreloadTracker::Clock::now() - start).count();
}
constexpr double kNoProgressLimitSeconds = 120.0;
} // namespace

std::int64_t PreloadTracker::progressOf(const Session& session) {
    if (session.stopped) {
        return session.stoppedAt;
    }
    const double bytes = secondsSince(session.start) * static_cast<double>(session.speed);
    return std::max(session.base, std::min<std::int64_t>(
                                      session.base + static_cast<std::int64_t>(bytes),
                                      std::max(session.base, session.target) + session.readAhead));
}

bool PreloadTracker::stalled(const Session& session) {
    return session.speed <= 0 && secondsSince(session.start) >= kNoProgressLimitSeconds;
}

PreloadOutcome PreloadTracker::run(const std::string& hash, std::int64_t reportedSize,
                                   std::int64_t target, std::int64_t readAhead,
                                   const std::function<bool()>& cancelled) {
    {
        std::lock_guard lock(mutex_);
        Session& session = sessions_[hash];
        const bool started = session.start != Clock::time_point();
        if (started && !session.stopped && !stalled(session) &&
            progressOf(session) < session.target) {
            return PreloadOutcome::Skipped;
        }
        const std::int64_t before = started ? progressOf(session) : 0;
        session = Session{};
        session.start = Clock::now();
        session.base = before;
        session.reportedSize = reportedSize;
        session.target = target;
        session.readAhead = readAhead;
        session.speed = bytesPerSecond_;
    }
    while (true) {
        {
            std::lock_guard lock(mutex_);
            const auto it = sessions_.find(hash);
            if (it == sessions_.end()) {
                return PreloadOutcome::Abandoned;
            }
            Session& session = it->second;
            const bool done = progressOf(session) >= session.target;
            if (done || stalled(session)) {
                if (!done) {
                    session.stoppedAt = progressOf(session);
                    session.stoppedTime = Clock::now();
                    session.stopped = true;
                }
                return PreloadOutcome::Done;
            }
            if (cancelled()) {
                return PreloadOutcome::Abandoned;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::optional<PreloadState> PreloadTracker::state(const std::string& hash) const {
    std::lock_guard lock(mutex_);
    const auto it = sessions_.find(hash);
    if (it == sessions_.end()) {
        return std::nullopt;
    }
    const Session& session = it->second;
    // A preload that cannot progress has ended, whether or not a request still waited for it.
    const bool over = session.stopped || stalled(session);
    const double elapsed = secondsSince(session.start);
    PreloadState state;
    state.preloadSize = session.reportedSize;
    state.preloadedBytes = progressOf(session);
    state.running = !over && state.preloadedBytes < session.target;
    const bool filling =
        !over && state.preloadedBytes < std::max(session.base, session.target) + session.readAhead;
    if (filling) {
        // Reported speed climbs towards the real rate and always carries a fraction.
        const double ramp = 0.8 + 0.2 * std::min(1.0, elapsed / 2.0);
        state.downloadSpeed = static_cast<double>(session.speed) * ramp + 0.5;
    }
    state.connectedSeeders = std::min(9, 1 + static_cast<int>(elapsed * 4));
    state.activePeers = state.connectedSeeders + 2;
    state.totalPeers = 42;
    state.pendingPeers = 18;
    state.halfOpenPeers = 4;
    return state;
}

std::optional<PreloadTracker::Clock::time_point>
PreloadTracker::endOf(const std::string& hash) const {
    std::lock_guard lock(mutex_);
    const auto it = sessions_.find(hash);
    if (it == sessions_.end()) {
        return std::nullopt;
    }
    const Session& session = it->second;
    if (session.stopped) {
        return session.stoppedTime;
    }
    if (session.speed <= 0) {
        return std::min(Clock::now(), session.start + std::chrono::seconds(static_cast<int>(
                                                          kNoProgressLimitSeconds)));
    }
    const double seconds =
        static_cast<double>(std::max<std::int64_t>(0, session.target - session.base)) /
        static_cast<double>(session.speed);
    return std::min(Clock::now(), session.start + std::chrono::duration_cast<Clock::duration>(
                                                      std::chrono::duration<double>(seconds)));
}

void PreloadTracker::forget(const std::string& hash) {
    std::lock_guard lock(mutex_);
    sessions_.erase(hash);
}

} // namespace torrserver
