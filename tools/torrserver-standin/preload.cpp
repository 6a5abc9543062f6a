#include "preload.h"

#include <algorithm>
#include <thread>

namespace torrserver {

namespace {
double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
constexpr double kNoProgressLimitSeconds = 120.0;
} // namespace

std::int64_t PreloadTracker::progressOf(const Session& session) const {
    if (session.stopped) {
        return session.stoppedAt;
    }
    const double bytes = secondsSince(session.start) * static_cast<double>(session.speed);
    return std::min<std::int64_t>(static_cast<std::int64_t>(bytes),
                                  session.size + session.readAhead);
}

bool PreloadTracker::run(const std::string& hash, std::int64_t size, std::int64_t readAhead,
                         const std::function<bool()>& cancelled) {
    {
        std::lock_guard lock(mutex_);
        Session& session = sessions_[hash];
        const bool running = session.waiters > 0 && !session.stopped;
        if (!running) {
            session = Session{};
            session.start = std::chrono::steady_clock::now();
            session.size = size;
            session.readAhead = readAhead;
            session.speed = bytesPerSecond_;
        }
        ++session.waiters;
    }
    while (true) {
        {
            std::lock_guard lock(mutex_);
            const auto it = sessions_.find(hash);
            if (it == sessions_.end()) {
                return false;
            }
            Session& session = it->second;
            const bool done = progressOf(session) >= session.size;
            const bool stalled =
                session.speed <= 0 && secondsSince(session.start) >= kNoProgressLimitSeconds;
            if (done || stalled || cancelled()) {
                if (--session.waiters == 0 && !done) {
                    session.stoppedAt = progressOf(session);
                    session.stopped = true;
                }
                return done;
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
    const double elapsed = secondsSince(session.start);
    PreloadState state;
    state.preloadSize = session.size;
    state.preloadedBytes = progressOf(session);
    state.running = !session.stopped && state.preloadedBytes < session.size;
    const bool filling =
        !session.stopped && state.preloadedBytes < session.size + session.readAhead;
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

void PreloadTracker::forget(const std::string& hash) {
    std::lock_guard lock(mutex_);
    sessions_.erase(hash);
}

} // namespace torrserver
