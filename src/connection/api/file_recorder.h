#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace qb::net {
class HttpClient;
}

namespace qb::connection {

// Today's server keeps a torrent's file list in its "data" only when the client has put nothing
// of its own there, and a torrent that rests in its database shows no files otherwise. For a
// torrent the client adds with its release data, the file list is put beside that data once the
// server knows it, so that the file list, the row's colour and the series check work for it
// after the server has closed it. This runs on a thread of its own, started with the first
// torrent, and gives up on a torrent whose metadata has not come within a minute.
class FileRecorder {
public:
    explicit FileRecorder(net::HttpClient& client)
        : Client_(client) {}
    ~FileRecorder();
    FileRecorder(const FileRecorder&) = delete;
    FileRecorder& operator=(const FileRecorder&) = delete;

    // Records the files of the torrent `hash` on the server at `base` once they are known.
    void watch(const QString& base, const QString& hash);

private:
    struct Watch {
        QString base;
        QString hash;
        int triesLeft = 0;
    };
    void run();
    // True when the watch is done with (recorded, or nothing to record).
    bool tryRecord(const Watch& watch);

    net::HttpClient& Client_;
    std::mutex Mutex_;
    std::condition_variable Wake_;
    std::deque<Watch> Watches_;
    bool Stopping_ = false;
    std::thread Thread_;
};

} // namespace qb::connection
