#include "standin_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace qb::testing {

TorrServerStandin::TorrServerStandin(TorrServerStandinOptions options)
    : StandinProcess(binaryPath(), "/echo")
    , options_(std::move(options)) {
    if (options_.databaseDir.empty()) {
        database_.emplace();
        options_.databaseDir = database_->path().toStdString();
    }
    if (const auto colon = options_.account.find(':'); colon != std::string::npos) {
        setBasicAuth(options_.account.substr(0, colon), options_.account.substr(colon + 1));
    }
}

std::string TorrServerStandin::binaryPath() {
    return buildDir() + "/bin/torrserver-standin";
}

std::string TorrServerStandin::makeTorrentFile(const std::string& folder, const std::string& name,
                                               std::size_t size) {
    const std::string dataPath = folder + "/" + name;
    {
        std::ofstream out(dataPath, std::ios::binary | std::ios::trunc);
        for (std::size_t i = 0; i < size; ++i) {
            out.put(static_cast<char>((i * 131 + i / 7) & 0xFF));
        }
    }
    const std::string torrentPath = dataPath + ".torrent";
    const std::string command = "mktorrent -l 15 -a http://tracker.example/announce -o '" +
                                torrentPath + "' '" + dataPath + "' >/dev/null 2>&1";
    std::remove(torrentPath.c_str());
    return std::system(command.c_str()) == 0 ? torrentPath : std::string();
}

bool TorrServerStandin::start() {
    std::vector<std::string> args = {"--api",
                                     options_.api,
                                     "--path",
                                     options_.databaseDir,
                                     "--metadata-delay-ms",
                                     std::to_string(options_.metadataDelayMs),
                                     "--preload-speed",
                                     std::to_string(options_.preloadSpeed),
                                     "--unload-after-ms",
                                     std::to_string(options_.unloadAfterMs)};
    if (!options_.version.empty()) {
        args.insert(args.end(), {"--version", options_.version});
    }
    if (!options_.account.empty()) {
        args.insert(args.end(), {"--account", options_.account});
    }
    if (!options_.contentDir.empty()) {
        args.insert(args.end(), {"--content", options_.contentDir});
    }
    args.insert(args.end(), options_.extraArgs.begin(), options_.extraArgs.end());
    return StandinProcess::start(args);
}

namespace {
std::string hashOfStatus(const std::string& body) {
    const nlohmann::json status = nlohmann::json::parse(body, nullptr, false);
    return status.is_object() && status.contains("hash") && status["hash"].is_string()
               ? status["hash"].get<std::string>()
               : std::string();
}
} // namespace

std::string TorrServerStandin::addMagnet(const std::string& magnet) {
    if (matrix()) {
        const nlohmann::json body = {{"action", "add"}, {"link", magnet}, {"save_to_db", true}};
        const auto answer = client().Post("/torrents", body.dump(), "application/json");
        return answer && answer->status == 200 ? hashOfStatus(answer->body) : std::string();
    }
    const nlohmann::json body = {{"link", magnet}};
    const auto answer = client().Post("/torrent/add", body.dump(), "application/json");
    return answer && answer->status == 200 ? answer->body : std::string();
}

std::string TorrServerStandin::addTorrentFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const std::string name = path.substr(path.find_last_of('/') + 1);
    httplib::MultipartFormDataItems items = {{"filename", bytes, name, "application/x-bittorrent"}};
    if (matrix()) {
        items.push_back({"save", "true", "", ""});
    }
    const auto answer = client().Post("/torrent/upload", items);
    if (!answer || answer->status != 200) {
        return {};
    }
    if (matrix()) {
        return hashOfStatus(answer->body);
    }
    const nlohmann::json hashes = nlohmann::json::parse(answer->body, nullptr, false);
    return hashes.is_array() && !hashes.empty() && hashes[0].is_string()
               ? hashes[0].get<std::string>()
               : std::string();
}

} // namespace qb::testing
