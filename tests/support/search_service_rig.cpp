#include "search_service_rig.h"

#include <fstream>
#include <sstream>

namespace qb::testing {

namespace {

// TorrServer's own search index, in the shape of its answers: a release only it knows
// ("BDRip"), the indexer's WEB-DL release again with an upper-case hash and fewer seeders, and a
// release of a word nobody searches for.
const char* const kTorrServerReleases = R"([
 {"Title":"Ледяной маяк / The Ice Lighthouse (2023) BDRip 1080p","Name":"Ледяной маяк",
  "Names":["The Ice Lighthouse"],"Categories":"Movie","Size":"7.95 GB",
  "CreateDate":"2024-05-01T10:00:00Z","Tracker":"Rutor","Link":"http://rutor.example/t/1",
  "Year":2023,"Peer":4,"Seed":61,
  "Magnet":"magnet:?xt=urn:btih:9D1C4E7A2B3F5061728394A5B6C7D8E9F0A1B2C3&dn=rutor",
  "Hash":"9D1C4E7A2B3F5061728394A5B6C7D8E9F0A1B2C3","Bytes":8536186880},
 {"Title":"Ледяной маяк / The Ice Lighthouse (2023) WEB-DL 1080p","Name":"Ледяной маяк",
  "Categories":"Movie","Size":"4.37 GB","Seed":3,"Peer":1,
  "Magnet":"magnet:?xt=urn:btih:A1B2C3D4E5F60718293A4B5C6D7E8F9012345678",
  "Hash":"A1B2C3D4E5F60718293A4B5C6D7E8F9012345678","Bytes":4692251771},
 {"Title":"Полярная ночь (2010) DVDRip","Name":"Полярная ночь","Categories":"Movie",
  "Size":"1.4 GB","Seed":2,"Peer":0,
  "Magnet":"magnet:?xt=urn:btih:7777777777777777777777777777777777777777",
  "Hash":"7777777777777777777777777777777777777777","Bytes":1503238553}
])";

std::string binary(const std::string& name) {
    return StandinProcess::buildDir() + "/bin/" + name;
}

} // namespace

std::string percentEncoded(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ' ') {
            out.push_back('+'); // as the client sends a blank
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '-' || c == '.' || c == '_' || c == '~') {
            out.push_back(c);
        } else {
            out += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return out;
}

SearchServiceRig::SearchServiceRig()
    : indexer(binary("torznab-standin"), "/api?t=caps&apikey=standin-key")
    , service(binary("quillbrook-service"), "/version.txt") {}

bool SearchServiceRig::start(const std::vector<std::string>& serviceArgs) {
    const std::string releases = folder() + "/torrserver-releases.json";
    std::ofstream(releases) << kTorrServerReleases;
    if (!indexer.start({"--fixture", QB_TORZNAB_FIXTURE})) {
        error_ = indexer.error();
        return false;
    }
    // Metadata comes a moment after an add, as from real peers (and after the add's title and
    // data are in place: with no delay the stand-in can save a torrent without them).
    TorrServerStandinOptions options = matrixOptions(300);
    options.extraArgs = {"--search-fixture", releases};
    torrServer.emplace(options);
    if (!torrServer->start()) {
        error_ = torrServer->error();
        return false;
    }
    return startService(serviceArgs);
}

bool SearchServiceRig::startService(const std::vector<std::string>& serviceArgs, bool withSources) {
    std::vector<std::string> args = {"--state",      stateFile(), "--settings",
                                     settingsFile(), "--log",     folder() + "/service.log"};
    if (withSources && indexer.running()) {
        args.insert(args.end(), {"--torznab", indexerApi()});
    }
    if (withSources && torrServer && torrServer->running()) {
        args.insert(args.end(), {"--torrserver", torrServer->baseUrl()});
    }
    args.insert(args.end(), serviceArgs.begin(), serviceArgs.end());
    if (!service.start(args)) {
        error_ = service.error();
        return false;
    }
    return true;
}

std::string SearchServiceRig::indexerApi() const {
    return indexer.baseUrl() + "/api?apikey=standin-key";
}

SearchServiceRig::Answer SearchServiceRig::get(const std::string& target) {
    httplib::Client http = service.client();
    http.set_url_encode(false); // the target goes as the client sends it
    const auto answer = http.Get(target);
    if (!answer) {
        return {};
    }
    return {answer->status, answer->body, answer->get_header_value("Content-Type")};
}

SearchServiceRig::Answer SearchServiceRig::searchPage(const std::string& text, int page) {
    return get(std::string("/get.php?secret=") + kSecret + "&q=search/" + std::to_string(page) +
               "/0/000/2/" + percentEncoded(text));
}

std::string SearchServiceRig::logText() const {
    std::ifstream in(folder() + "/service.log");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace qb::testing
