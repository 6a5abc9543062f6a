#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace torrserver {

struct PreloadState {
    bool running = false; // the torrent shows status 2 meanwhile
    std::int64_t preloadSize = 0;
    std::int64_t preloadedBytes = 0;
    double downloadSpeed = 0;
    int connectedSeeders = 0;
    int activePeers = 0;
    int totalPeers = 0;
    int pendingPeers = 0;
    int halfOpenPeers = 0;
};

// Preloads that progress at a set speed. A preload fills its size and then one more piece of
// read-ahead, so its PreloadedBytes ends above PreloadSize, as a real cache does.
class PreloadTracker {
public:
    explicit PreloadTracker(std::int64_t bytesPerSecond)
        : bytesPerSecond_(bytesPerSecond) {}

    void setSpeed(std::int64_t bytesPerSecond) { bytesPerSecond_ = bytesPerSecond; }
    std::int64_t speed() const { return bytesPerSecond_; }

    // Blocks until `size` bytes are preloaded (true), or until `cancelled` says so or 120 s
    // pass without progress (false). Requests for a hash whose preload runs join it. When the
    // last waiting request is gone the preload stops where it is.
    bool run(const std::string& hash, std::int64_t size, std::int64_t readAhead,
             const std::function<bool()>& cancelled);

    std::optional<PreloadState> state(const std::string& hash) const;
    void forget(const std::string& hash);

private:
    struct Session {
        std::chrono::steady_clock::time_point start;
        std::int64_t size = 0;
        std::int64_t readAhead = 0;
        std::int64_t speed = 0;
        int waiters = 0;
        bool stopped = false;
        std::int64_t stoppedAt = 0;
    };
    std::int64_t progressOf(const Session& session) const;

    std::atomic<std::int64_t> bytesPerSecond_;
    mutable std::mutex mutex_;
    std::map<std::string, Session> sessions_;
};

} // namespace torrserver
