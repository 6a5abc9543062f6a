// Torrents put on the stand-in before a test or the demo (--seed, the control endpoint).
#include "routes.h"
#include "text_escape.h"

#include <fstream>
#include <iterator>
#include <string_view>

namespace torrserver {

namespace {
MetaResult metaOfSeed(const std::string& link) {
    const bool isPath = link.find("://") == std::string::npos && link.rfind("magnet:", 0) != 0 &&
                        extensionOf(link) == ".torrent";
    if (!isPath) {
        return parseLink(link);
    }
    std::ifstream in(link, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    return in ? parseTorrentBytes(bytes) : MetaResult{false, {}, "cannot read " + link};
}

// The files a seed marked ready has at once: from the content folder, or made up.
void resolveFiles(App& app, TorrentMeta& meta) {
    if (std::optional<TorrentMeta> found = app.content.find(meta.hash)) {
        found->trackers = meta.trackers;
        meta = *found;
    } else {
        fillSyntheticFiles(meta);
    }
}
} // namespace

std::optional<SeedItem> seedItemOf(const Json& value, std::string& error) {
    if (value.is_string()) {
        return seedItemOfLine(value.get<std::string>(), error);
    }
    if (!value.is_object() || !value.contains("link") || !value["link"].is_string()) {
        error = "a seed is a link, or an object with a \"link\"";
        return std::nullopt;
    }
    SeedItem item;
    item.link = value["link"].get<std::string>();
    struct Text {
        const char* name;
        std::string* target;
    };
    for (const Text& text :
         {Text{"title", &item.title}, Text{"poster", &item.poster},
          Text{"category", &item.category}, Text{"data", &item.data}, Text{"info", &item.info}}) {
        if (const auto it = value.find(text.name); it != value.end()) {
            if (!it->is_string()) {
                error = std::string("a seed's \"") + text.name + "\" is a string";
                return std::nullopt;
            }
            *text.target = it->get<std::string>();
        }
    }
    if (const auto it = value.find("ready"); it != value.end()) {
        item.ready = it->is_boolean() && it->get<bool>();
    }
    if (const auto it = value.find("timestamp"); it != value.end() && it->is_number_integer()) {
        item.timestamp = it->get<std::int64_t>();
    }
    return item;
}

std::optional<SeedItem> seedItemOfLine(const std::string& line, std::string& error) {
    if (!line.empty() && line.front() == '{') {
        const Json value = Json::parse(line, nullptr, false);
        if (value.is_discarded()) {
            error = "a seed line starting with \"{\" is a JSON object";
            return std::nullopt;
        }
        return seedItemOf(value, error);
    }
    // A link followed by " ready" has its metadata at once, without the metadata delay.
    constexpr std::string_view kReady = " ready";
    SeedItem item;
    item.link = line;
    if (line.size() > kReady.size() && line.ends_with(kReady)) {
        item.link.resize(line.size() - kReady.size());
        item.ready = true;
    }
    return item;
}

std::vector<std::string> seedTorrents(App& app, const std::vector<SeedItem>& items) {
    std::vector<std::string> errors;
    for (const SeedItem& item : items) {
        MetaResult parsed = metaOfSeed(item.link);
        if (!parsed.ok) {
            errors.push_back(item.link + ": " + parsed.error);
            continue;
        }
        TorrentMeta& meta = parsed.meta;
        if (!item.info.empty()) {
            app.store.addInfo(meta.hash, item.info);
        }
        // 1.1 names a torrent by the title it was added with; matrix keeps the link's name.
        const std::string linkName = !app.matrix() && !item.title.empty() ? item.title : meta.name;
        if (!meta.hasFiles && !item.ready) {
            LoadOptions options;
            options.displayName = linkName;
            options.onInfo = {true, app.matrix(), app.matrix(), false};
            app.store.load(meta, options);
            app.store.update(meta.hash, [&item](LoadedTorrent& torrent) {
                torrent.title = item.title;
                torrent.poster = item.poster;
                torrent.category = item.category;
                torrent.data = item.data;
                torrent.timestamp = item.timestamp.value_or(torrent.timestamp);
            });
            continue;
        }
        if (!meta.hasFiles) {
            resolveFiles(app, meta);
        }
        LoadedTorrent torrent;
        torrent.meta = meta;
        torrent.displayName = linkName;
        // Without a title, matrix titles a torrent as an add by link does once it has its files.
        torrent.title = item.title;
        if (torrent.title.empty() && app.matrix()) {
            torrent.title = titleFromLinkName(linkName);
        }
        if (torrent.title.empty()) {
            torrent.title = meta.name;
        }
        torrent.poster = item.poster;
        torrent.category = item.category;
        torrent.data = item.data;
        torrent.timestamp = item.timestamp.value_or(unixNow());
        torrent.infoKept = true;
        SavedTorrent record =
            (app.matrix() ? matrixRecordMaker() : v11RecordMaker(app.forms))(torrent);
        record.infoKept = true; // a ready seed loads with its files at once in every version
        record.timestamp = torrent.timestamp;
        app.store.save(record);
    }
    return errors;
}

} // namespace torrserver
