#include "matrix_load.h"

#include "text_escape.h"

namespace torrserver {

namespace {
LoadOptions optionsOf(const TorrentMeta& linked) {
    LoadOptions options;
    options.displayName = linked.name;
    return options;
}
} // namespace

bool matrixHashOk(const std::string& text) {
    return isHexHash(text);
}

OnInfo matrixOnInfo(bool save, bool fromLink) {
    OnInfo onInfo;
    onInfo.save = save;
    onInfo.saveReplaces = true;
    onInfo.titleFromLink = fromLink;
    onInfo.titleFromName = !fromLink;
    return onInfo;
}

FoundTorrent matrixGetTorrent(App& app, const std::string& hash) {
    FoundTorrent found;
    found.loaded = app.store.loaded(hash);
    if (found.loaded) {
        app.store.touch(hash);
        return found;
    }
    found.saved = app.store.saved(hash);
    if (found.saved) {
        const SavedTorrent& record = *found.saved;
        if (app.store.load(record.meta, optionsOf(record.meta)).second) {
            app.store.update(hash, [&record](LoadedTorrent& torrent) {
                torrent.title = record.title;
                torrent.poster = record.poster;
                torrent.data = record.data;
                torrent.size = record.size;
                torrent.timestamp = record.timestamp;
                torrent.category = record.category;
            });
        }
    }
    return found;
}

LoadedTorrent matrixAddTorrent(App& app, const TorrentMeta& linked, const AddFields& fields,
                               const OnInfo& onInfo) {
    const std::optional<SavedTorrent> record = app.store.saved(linked.hash);
    // The add's own fields, the database's where the add gives none.
    const auto fillFields = [&](LoadedTorrent& torrent) {
        const auto fill = [](std::string& field, const std::string& given,
                             const std::string& fromDb) {
            if (field.empty()) {
                field = given.empty() ? fromDb : given;
            }
        };
        const bool hadTitle = !torrent.title.empty();
        fill(torrent.title, fields.title, record ? record->title : std::string());
        if (!hadTitle && torrent.title.empty() && torrent.meta.hasFiles) {
            torrent.title = torrent.meta.name;
        }
        fill(torrent.category, fields.category, record ? record->category : std::string());
        fill(torrent.poster, fields.poster, record ? record->poster : std::string());
        fill(torrent.data, fields.data, record ? record->data : std::string());
    };
    LoadOptions options = optionsOf(linked);
    options.onInfo = onInfo;
    options.prepare = fillFields;
    const std::pair<LoadedTorrent, bool> load = app.store.load(linked, options);
    const LoadedTorrent& loaded = load.first;
    const bool created = load.second;
    if (!created) {
        app.store.update(linked.hash, [&](LoadedTorrent& torrent) {
            fillFields(torrent);
            if (!torrent.meta.hasFiles) {
                // The add waits for the metadata again and then does what it was asked for.
                torrent.onInfo.save = torrent.onInfo.save || onInfo.save;
                torrent.onInfo.saveReplaces = torrent.onInfo.saveReplaces || onInfo.saveReplaces;
                torrent.onInfo.titleFromLink = torrent.onInfo.titleFromLink || onInfo.titleFromLink;
                torrent.onInfo.titleFromName = torrent.onInfo.titleFromName || onInfo.titleFromName;
            }
        });
    }
    // What the answer shows: the add's own work is done; what follows the metadata runs
    // beside the answer on the server.
    const LoadedTorrent now = app.store.loaded(linked.hash).value_or(loaded);
    if (now.meta.hasFiles) {
        app.store.update(linked.hash, [&onInfo](LoadedTorrent& torrent) {
            if (torrent.title.empty() && onInfo.titleFromLink) {
                torrent.title = titleFromLinkName(torrent.displayName);
            }
            if (torrent.title.empty() && (onInfo.titleFromLink || onInfo.titleFromName)) {
                torrent.title = torrent.name();
            }
        });
        if (onInfo.save) {
            app.store.saveLoaded(linked.hash);
        }
    }
    return now;
}

std::optional<FoundTorrent> matrixFindNamed(App& app, const std::string& hash, Response& res) {
    if (hash.empty() || !matrixHashOk(hash)) {
        res.status = hash.empty() ? 400 : 500;
        return std::nullopt;
    }
    FoundTorrent found = matrixGetTorrent(app, toLower(hash));
    if (!found.found()) {
        res.status = 404;
        return std::nullopt;
    }
    return found;
}

std::optional<LoadedTorrent> matrixGotInfo(App& app, const std::string& hash) {
    return app.store.waitForFiles(
        hash, std::chrono::steady_clock::now() + app.store.timings().metadataTimeout,
        app.cancelled());
}

} // namespace torrserver
