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

// What a preload request came to.
enum class PreloadOutcome {
    Done,      // the preload reached its size (or could not progress any more)
    Skipped,   // another preload of the torrent runs: the request does not wait for it
    Abandoned, // the client went away or the server stops; the preload itself goes on
};

// Preloads that progress at a set speed. Bytes preloaded before stay counted, as the real
// servers' caches keep them: a new preload starts from them. A preload fills its target and
// then up to `readAhead` more bytes, so PreloadedBytes ends above the target, as a real cache
// does.
class PreloadTracker {
public:
    using Clock = std::chrono::steady_clock;

    explicit PreloadTracker(std::int64_t bytesPerSecond)
        : bytesPerSecond_(bytesPerSecond) {}

    void setSpeed(std::int64_t bytesPerSecond) { bytesPerSecond_ = bytesPerSecond; }
    std::int64_t speed() const { return bytesPerSecond_; }

    // Starts a preload that reports `reportedSize` as its size and fills `target` bytes, and
    // blocks until it has: the real servers run a preload inside the request and go on when
    // its client leaves. A preload that makes no progress for 120 s ends.
    PreloadOutcome run(const std::string& hash, std::int64_t reportedSize, std::int64_t target,
                       std::int64_t readAhead, const std::function<bool()>& cancelled);

    std::optional<PreloadState> state(const std::string& hash) const;
    // When the torrent's last preload ended, now while one runs; nullopt: never preloaded.
    std::optional<Clock::time_point> endOf(const std::string& hash) const;
    void forget(const std::string& hash);

private:
    struct Session {
        Clock::time_point start;
        std::int64_t base = 0; // bytes preloaded before this session
        std::int64_t reportedSize = 0;
        std::int64_t target = 0;
        std::int64_t readAhead = 0;
        std::int64_t speed = 0;
        bool stopped = false;
        std::int64_t stoppedAt = 0;
        Clock::time_point stoppedTime;
    };
    static std::int64_t progressOf(const Session& session);
    static bool stalled(const Session& session);

    std::atomic<std::int64_t> bytesPerSecond_;
    mutable std::mutex mutex_;
    std::map<std::string, Session> sessions_;
};

} // namespace torrserver
