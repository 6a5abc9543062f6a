#pragma once

// Small helpers of the stand-in TorrServer's tests.
#include "standin_fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace qb::testing {

inline constexpr std::int64_t kMiB = 1024 * 1024;

struct Answer {
    int status = 0;
    std::string body;
    httplib::Headers headers;
    std::string header(const std::string& name) const {
        const auto it = headers.find(name);
        return it == headers.end() ? std::string() : it->second;
    }
};

inline Answer answerOf(const httplib::Result& result) {
    if (!result) {
        return {};
    }
    return {result->status, result->body, result->headers};
}

inline Answer postTo(TorrServerStandin& server, const std::string& path, const std::string& body) {
    return answerOf(server.client().Post(path, body, "application/json"));
}

inline Answer getFrom(TorrServerStandin& server, const std::string& path,
                      const httplib::Headers& headers = {}) {
    return answerOf(server.client().Get(path, headers));
}

// The 1.1 stat object of a torrent, null when the server answers anything but 200.
inline nlohmann::json statOf(TorrServerStandin& server, const std::string& hash) {
    const Answer answer = postTo(server, "/torrent/stat", R"({"Hash": ")" + hash + R"("})");
    return answer.status == 200 ? nlohmann::json::parse(answer.body, nullptr, false)
                                : nlohmann::json();
}

// Polls until `predicate` holds, for at most twenty seconds.
template <class Predicate> bool eventually(Predicate predicate) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!predicate()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// Writes the files (path inside the torrent's folder, size) into folder/name and a .torrent
// of that folder beside it, made by mktorrent; answers its path, or "" when mktorrent failed.
inline std::string
makeFolderTorrent(const std::string& folder, const std::string& name,
                  const std::vector<std::pair<std::string, std::size_t>>& files) {
    QDir().mkpath(QString::fromStdString(folder + "/" + name));
    for (const auto& [path, size] : files) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>((i * 7 + path.size()) & 0xFF);
        }
        writeFile(folder + "/" + name + "/" + path, bytes);
    }
    const std::string torrent = folder + "/" + name + ".torrent";
    const std::string command =
        "mktorrent -l 15 -o '" + torrent + "' '" + folder + "/" + name + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? torrent : std::string();
}

} // namespace qb::testing
