// The settings of the five clients of the main window.
#include "connection/http/http_client.h"

namespace qb::net {

namespace {
const QByteArray kAcceptLanguage = "Accept-Language: ru-RU,ru;q=0.8,en-US;q=0.5,en;q=0.3";
const QByteArray kUserAgent = "User-Agent: Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:82.0) "
                              "Gecko/20100101 Firefox/82.0";

// Indy's redirect limit.
constexpr long kIdRedirectLimit = 15;

ClientSettings idSettings() {
    ClientSettings s;
    s.headers = {"Cache-Control: no-cache",
                 "Connection: keep-alive",
                 "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8",
                 "Accept-Encoding: gzip, deflate",
                 kAcceptLanguage,
                 kUserAgent};
    s.postAsHttp10 = true;
    s.errorStatusFails = true;
    s.keepEventsFlowing = true;
    s.followRedirects = true;
    s.maxRedirects = kIdRedirectLimit;
    return s;
}

ClientSettings netSettings() {
    ClientSettings s;
    s.headers = {"Accept: text/plain",
                 "Accept-Charset: utf-8",
                 "Accept-Encoding: gzip, deflate",
                 kAcceptLanguage,
                 "Content-Type: text/plain; q=0.5, text/html",
                 kUserAgent};
    s.numberedFailureTexts = true;
    s.followRedirects = true;
    s.maxRedirects = 3;
    s.allowTls10 = true;
    s.connectTimeoutMs = 3000;
    s.sendTimeoutMs = 5000;
    s.readTimeoutMs = 3000;
    return s;
}
} // namespace

std::unique_ptr<HttpClient> makeIdHttp1() {
    return std::make_unique<HttpClient>(idSettings());
}

std::unique_ptr<HttpClient> makeIdHttp3() {
    ClientSettings s = idSettings();
    s.followRedirects = false;
    s.maxRedirects = 0;
    return std::make_unique<HttpClient>(s);
}

std::unique_ptr<HttpClient> makeNetHttpClient1() {
    return std::make_unique<HttpClient>(netSettings());
}

std::unique_ptr<HttpClient> makeNetHttpClient2() {
    return std::make_unique<HttpClient>(netSettings());
}

std::unique_ptr<HttpClient> makePing1() {
    ClientSettings s = netSettings();
    s.connectTimeoutMs = 1500;
    s.sendTimeoutMs = 3000;
    s.readTimeoutMs = 800;
    return std::make_unique<HttpClient>(s);
}

} // namespace qb::net
