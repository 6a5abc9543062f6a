#include "search_service_rig.h"

#include <fstream>
#include <sstream>

namespace qb::testing {

namespace {

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
    const std::string releases = QB_TORRSERVER_SEARCH_FIXTURE;
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
