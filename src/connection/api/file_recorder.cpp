#include "connection/api/file_recorder.h"

#include "connection/http/http_client.h"
#include "connection/http/json_value_text.h"
#include "connection/list/member_text.h"
#include "connection/today/client_entry.h"
#include "connection/today/release_data.h"
#include "connection/today/today_bodies.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::connection {
namespace {
constexpr int kTries = 60;
constexpr auto kBetweenTries = std::chrono::seconds(1);
// A server that stops answering holds the thread no longer than this.
constexpr net::RequestLimits kLimits{5000, 10000};
} // namespace

FileRecorder::~FileRecorder() {
    {
        const std::lock_guard lock(Mutex_);
        Stopping_ = true;
    }
    Wake_.notify_all();
    if (Thread_.joinable()) {
        Thread_.join();
    }
}

void FileRecorder::watch(const QString& base, const QString& hash) {
    if (hash.isEmpty()) {
        return;
    }
    const std::lock_guard lock(Mutex_);
    if (Stopping_) {
        return;
    }
    Watches_.push_back({base, hash, kTries});
    if (!Thread_.joinable()) {
        Thread_ = std::thread([this] { run(); });
    }
    Wake_.notify_all();
}

void FileRecorder::run() {
    std::unique_lock lock(Mutex_);
    while (!Stopping_) {
        if (Watches_.empty()) {
            Wake_.wait(lock, [this] { return Stopping_ || !Watches_.empty(); });
            continue;
        }
        Watch watch = Watches_.front();
        Watches_.pop_front();
        lock.unlock();
        const bool done = tryRecord(watch);
        lock.lock();
        if (!done && --watch.triesLeft > 0 && !Stopping_) {
            Watches_.push_back(watch);
            Wake_.wait_for(lock, kBetweenTries, [this] { return Stopping_; });
        }
    }
}

bool FileRecorder::tryRecord(const Watch& watch) {
    const net::HttpResult got =
        Client_.post(watch.base + u"/torrents"_s, today::getBody(watch.hash), kLimits);
    if (!got.ok) {
        return got.failure == net::FailureKind::ErrorStatus; // gone from the server: nothing to do
    }
    const std::optional<nlohmann::ordered_json> status = parseJsonAnswer(got.body);
    if (!status || !status->is_object()) {
        return true;
    }
    const nlohmann::ordered_json files = today::serverFileList(*status);
    if (files.empty()) {
        return false; // the metadata has not come yet
    }
    const std::optional<QString> data =
        today::dataWithFiles(entryMemberText(*status, "data"), files);
    if (!data) {
        return true;
    }
    Client_.post(watch.base + u"/torrents"_s,
                 today::setBody({watch.hash, entryMemberText(*status, "title"),
                                 entryMemberText(*status, "poster"),
                                 entryMemberText(*status, "category"), *data}),
                 kLimits);
    return true;
}

} // namespace qb::connection
