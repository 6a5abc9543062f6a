#include "source_fetch.h"

#include "build_config.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace qb::service {

namespace {

constexpr long kConnectLimitMs = 5000;

struct Transfer {
    std::string body;
    std::size_t mostBytes = 0;
    bool tooLarge = false;
    const std::atomic<bool>* stop = nullptr;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* context) {
    auto* transfer = static_cast<Transfer*>(context);
    const std::size_t bytes = size * count;
    if (transfer->body.size() + bytes > transfer->mostBytes) {
        transfer->tooLarge = true;
        return 0; // ends the transfer
    }
    transfer->body.append(data, bytes);
    return bytes;
}

int onProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(context)->stop->load() ? 1 : 0;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

} // namespace

Fetched fetch(const std::string& url, const FetchLimits& limits, const std::atomic<bool>& stop) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    static const std::string userAgent = std::string("quillbrook-service/") + build::kAppVersion;

    Fetched fetched;
    const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        fetched.failure = "no memory for the request";
        return fetched;
    }
    Transfer transfer;
    transfer.mostBytes = limits.mostBytes;
    transfer.stop = &stop;
    char error[CURL_ERROR_SIZE] = {};
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 3L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS,
                     std::min(kConnectLimitMs, static_cast<long>(limits.total.count())));
    // gzip only: cheap for a source to make on the fly, unlike brotli at its usual quality.
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "gzip");
    curl_easy_setopt(e, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &transfer);
    const CURLcode code = curl_easy_perform(e);
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &fetched.status);
    if (transfer.tooLarge) {
        fetched.failure =
            "the answer is larger than " + std::to_string(limits.mostBytes / (1024 * 1024)) + " MB";
    } else if (code == CURLE_OPERATION_TIMEDOUT) {
        fetched.failure =
            "no complete answer within " + std::to_string(limits.total.count()) + " ms";
    } else if (code != CURLE_OK) {
        fetched.failure = error[0] != '\0' ? error : curl_easy_strerror(code);
    } else {
        fetched.body = std::move(transfer.body);
    }
    return fetched;
}

} // namespace qb::service
