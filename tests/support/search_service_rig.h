#pragma once

#include "standin_fixture.h"
#include "standin_process.h"

#include <QTemporaryDir>

#include <optional>
#include <string>
#include <vector>

namespace qb::testing {

// The project's search service (quillbrook-service) fed by both kinds of sources a user runs:
// the stand-in Torznab indexer with its fixture (tools/torznab-standin/fixtures/releases.json)
// and today's stand-in TorrServer with its search switched on, answering from
// tools/torrserver-standin/fixtures/search-releases.json: a release only it knows ("BDRip"),
// the indexer's WEB-DL release again with an upper-case hash and fewer seeders, and a release of
// a word nobody searches for. The
// state file, settings file and log live in a temporary folder of the rig, so that the service
// can be restarted on the same state.
class SearchServiceRig {
public:
    SearchServiceRig();

    // Starts the indexer, the TorrServer and the service; false with the reason in error().
    bool start(const std::vector<std::string>& serviceArgs = {});
    // Starts (again) only the service: on the rig's state file and log, with these arguments,
    // and with the running sources unless `withSources` is false.
    bool startService(const std::vector<std::string>& serviceArgs = {}, bool withSources = true);

    // GET on the service; the body, or "" with status 0 when nothing answered.
    struct Answer {
        int status = 0;
        std::string body;
        std::string contentType;
    };
    Answer get(const std::string& target);
    // A text search page as the client asks for it (the text as given, encoded here).
    Answer searchPage(const std::string& text, int page);

    std::string indexerApi() const; // "http://127.0.0.1:<port>/api?apikey=standin-key"
    // The poster the indexer gives its "Ice Lighthouse" WEB-DL release, served by the indexer.
    std::string indexerPoster() const { return indexer.baseUrl() + "/posters/ice-lighthouse.jpg"; }
    std::string folder() const { return folder_.path().toStdString(); }
    std::string stateFile() const { return folder() + "/state.json"; }
    std::string settingsFile() const { return folder() + "/service.conf"; }
    std::string logText() const;
    const std::string& error() const { return error_; }

    StandinProcess indexer;
    std::optional<TorrServerStandin> torrServer;
    StandinProcess service;

    static constexpr const char* kSecret = "bqZanhMLfyKdoe";

private:
    QTemporaryDir folder_;
    std::string error_;
};

// Percent-encoding of every byte but letters, digits and "-._~" (upper-case digits).
std::string percentEncoded(const std::string& text);

} // namespace qb::testing
