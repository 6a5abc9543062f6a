#pragma once

#include "standin_process.h"

#include <QTemporaryDir>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qb::testing {

struct TorrServerStandinOptions {
    std::string api = "1.1";        // --api: "1.1" or "matrix"
    std::string version;            // --version; empty: the generation's own
    std::int64_t unloadAfterMs = 0; // --unload-after-ms; 0: idle torrents stay loaded
    std::string account;            // --account "user:password": Basic authentication (matrix)
    int metadataDelayMs = 0;
    std::int64_t preloadSpeed = 64 * 1024 * 1024; // bytes per second
    std::string contentDir;                       // --content, when set
    std::string databaseDir;                      // --path; a temporary folder when empty
    std::vector<std::string> extraArgs;           // fault switches, --seed, --log ...
};

inline TorrServerStandinOptions matrixOptions(int metadataDelayMs = 0,
                                              std::int64_t preloadSpeed = 64 * 1024 * 1024) {
    TorrServerStandinOptions options;
    options.api = "matrix";
    options.metadataDelayMs = metadataDelayMs;
    options.preloadSpeed = preloadSpeed;
    return options;
}

inline TorrServerStandinOptions torrServerOptions(int metadataDelayMs,
                                                  std::int64_t preloadSpeed = 64 * 1024 * 1024,
                                                  std::string contentDir = {},
                                                  std::vector<std::string> extraArgs = {}) {
    TorrServerStandinOptions options;
    options.metadataDelayMs = metadataDelayMs;
    options.preloadSpeed = preloadSpeed;
    options.contentDir = std::move(contentDir);
    options.extraArgs = std::move(extraArgs);
    return options;
}

// The stand-in TorrServer (tools/torrserver-standin) for one test.
class TorrServerStandin : public StandinProcess {
public:
    explicit TorrServerStandin(TorrServerStandinOptions options = {});

    static std::string binaryPath();

    // Writes `size` deterministic bytes to folder/name and a .torrent of it made by mktorrent
    // beside it; answers the .torrent's path, or "" when mktorrent failed.
    static std::string makeTorrentFile(const std::string& folder, const std::string& name,
                                       std::size_t size);

    bool start();
    // Stops and starts again on the same database folder (for persistence).
    bool restart() { return start(); }
    const std::string& databaseDir() const { return options_.databaseDir; }

    // POST /__control with the given switches; resetFaults() clears them all.
    bool setFaults(const nlohmann::json& faults) { return control(faults); }
    bool resetFaults() { return control({{"reset", true}}); }

    bool matrix() const { return options_.api == "matrix"; }

    // Adds and saves a torrent as a client does (POST /torrent/add, or /torrents "add" with
    // "save_to_db"; the upload with its "save" field); the hash the server answers, or "" when
    // it refused.
    std::string addMagnet(const std::string& magnet);
    std::string addTorrentFile(const std::string& path);

private:
    TorrServerStandinOptions options_;
    std::optional<QTemporaryDir> database_;
};

} // namespace qb::testing
