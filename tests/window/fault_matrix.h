#pragma once

// The vocabulary of the fault matrix: request kinds, faults, and what a row expects.
#include <nlohmann/json.hpp>

#include <QString>

#include <string>

namespace qb::test::faults {

enum class Kind {
    List,
    Echo,
    Version,
    Remove,
    AddLink,
    SearchPages,
    ReleasePage,
    Playlist,
    Stat,
    WebLink,
    Upload,
    PosterCheck,
    SeriesCheck,
    Play,   // a search result played without adding it
    Preload // the preload that follows a torrent's playlist
};

enum class Fault {
    Refused,   // nothing listens at the address
    Reset,     // a head and part of the body, then the connection is reset
    Slow,      // the answer comes later than the client's time-out (or late, where it has none)
    Status,    // 500 with an error page
    NotHttp,   // bytes that are not HTTP, then the connection closes
    Malformed, // JSON that breaks off
    NotArray,  // a JSON object where an array belongs
    Huge,      // a 100 MiB answer
};

// The release view after the request.
enum class Page { Any, Error, Built };

// The poster an added release is sent with: the one it was given, or the service's placeholder.
enum class Poster { Any, Given, Placeholder };

struct Expect {
    const char16_t* message = nullptr; // text of the last message box; nullptr: none at all
    bool messageStartsSo = false;      // the text is the start of the message (the transport's)
    const char16_t* status = nullptr;  // the status panel; nullptr: not looked at
    int torrentRows = -1;              // rows of TorrentList; -1: not looked at
    int searchRows = -1;
    const char16_t* log = nullptr; // LogP
    int playerStarts = -1;         // players started; -1: not looked at
    int uploads = -1;              // upload requests the server received; -1: not looked at
    Page page = Page::Any;
    Poster poster = Poster::Any;
    int updateMarks = -1; // rows marked "[update]"; -1: not looked at
    bool started = true;  // Version: whether the window may start at all
};

struct Row {
    Kind kind;
    Fault fault;
    Expect expect;
    bool inProgram = false; // also run the real program into the fault and end it from outside
    bool today = false;     // the server speaks today's interface, not the 1.1 one
};

// Where a kind's request goes: the stand-in service or the stand-in TorrServer, and the path.
struct Target {
    bool service;
    std::string path;
};

// Today's server: the first request of the kind to "/torrents" after the fault is switched on is
// the kind's own (the list, the removal, the add, the state of a preload).
inline Target todayTargetOf(Kind kind) {
    switch (kind) {
    case Kind::List:
    case Kind::Remove:
    case Kind::AddLink:
    case Kind::Stat:
        return {false, "/torrents"};
    case Kind::Playlist:
        return {false, "/playlist"};
    case Kind::Play:
        return {false, "/stream/play.m3u"};
    case Kind::Preload:
        return {false, "/stream"};
    default:
        return {false, ""};
    }
}

inline Target targetOf(Kind kind, bool today = false) {
    if (today) {
        const Target own = todayTargetOf(kind);
        if (!own.path.empty()) {
            return own;
        }
    }
    switch (kind) {
    case Kind::List:
        return {false, "/torrent/list"};
    case Kind::Echo:
        return {false, "/echo"};
    case Kind::Remove:
        return {false, "/torrent/rem"};
    case Kind::AddLink:
        return {false, "/torrent/add"};
    case Kind::Version:
        return {true, "/version.txt"};
    case Kind::SearchPages:
        return {true, "/get.php"};
    case Kind::ReleasePage:
        return {true, "/get_info.php"};
    case Kind::Playlist:
        return {false, "/torrent/play"}; // the first request there is the playlist
    case Kind::Stat:
        return {false, "/torrent/stat"};
    case Kind::Upload:
        return {false, "/torrent/upload"};
    case Kind::WebLink:
        return {true, "/ts/"}; // a file the service hands out, dropped as a web address
    case Kind::PosterCheck:
        return {true, "/check_poster.php"};
    case Kind::Play:
    case Kind::Preload: // the second request there, after the playlist
        return {false, "/torrent/play"};
    case Kind::SeriesCheck:
        return {true, "/get_info.php"}; // the series' release page, with its count of files
    }
    return {false, ""};
}

// Longer than the search clients' 3000 ms response time-out and Ping1's 800 ms; the TorrServer
// client has no read time-out of its own, so its answers come late but whole.
inline int slowMs(Kind kind) {
    return targetOf(kind).service ? 3600 : 1500;
}

// `skip`: how many requests to the path pass before the fault meets one.
inline nlohmann::json torrServerFault(Fault fault, const std::string& path, int slow,
                                      int skip = 0) {
    const nlohmann::json once = {{"path", path}, {"times", 1}, {"skip", skip}};
    switch (fault) {
    case Fault::Reset:
        return {{"cut", once}};
    case Fault::Slow: {
        nlohmann::json rule = once;
        rule["ms"] = slow;
        return {{"delay", rule}};
    }
    case Fault::Status: {
        nlohmann::json rule = once;
        rule["code"] = 500;
        return {{"status", rule}};
    }
    case Fault::NotHttp:
        return {{"garbage", once}};
    case Fault::Malformed:
        return {{"list", "malformed"}};
    case Fault::NotArray:
        return {{"list", "object"}};
    case Fault::Huge:
        return {{"huge", once}};
    case Fault::Refused:
        break;
    }
    return nlohmann::json::object();
}

inline nlohmann::json serviceFault(Fault fault, const std::string& path, int slow) {
    static const char* const kKinds[] = {"", "cut", "delay", "status", "garbage", "", "", "huge"};
    nlohmann::json rule = {{"kind", kKinds[static_cast<int>(fault)]}, {"match", path}};
    if (fault == Fault::Slow) {
        rule["ms"] = slow;
    }
    if (fault == Fault::Status) {
        rule["status"] = 500;
    }
    return rule;
}

// An address where nothing listens.
inline QString deadAddress() {
    return QStringLiteral("http://127.0.0.1:1");
}

} // namespace qb::test::faults
