#pragma once

#include <nlohmann/json.hpp>

#include <QByteArray>
#include <QString>

// What the window asks of a TorrServer, in its own terms; each generation's interface says it
// in its own requests (torrserver_api.h).
namespace qb::connection {

// A release added from the tracker: its magnet (display name "id_" + hexadecimal id), its
// decimal id, its poster and, where the caller knows it, its title.
struct ReleaseAdd {
    QString magnet;
    QString releaseId;
    QString poster;
    QString title;
};

// A link line of a magnet-list file: the whole line, the poster its "&as=" names, whether
// the poster goes with it, and the torrent's name from the line before, where there is one.
struct ListLineAdd {
    QString line;
    QString poster;
    bool withPoster = false;
    QString title;
};

// What a playback preloads, as the play command and its source read it when the preload starts.
struct PreloadSource {
    enum class Kind {
        Torrent, // the torrent selected in the list
        Files,   // the focused file of the file list
        Search,  // a search result, played without adding it
    };
    Kind kind = Kind::Torrent;
    nlohmann::ordered_json entry; // the selected torrent's entry (Torrent, Files)
    nlohmann::ordered_json file;  // the focused file's entry (Files)
    QString magnet;               // the search result's magnet (Search)
    QByteArray playerPlaylist;    // the playlist the player will open
};

// The preload request's address, relative to the server, and the hash its progress is asked by.
struct PreloadTarget {
    QString path;
    QString hash;
};

} // namespace qb::connection
