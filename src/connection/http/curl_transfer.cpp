#include "connection/http/curl_transfer.h"

#include "connection/http/transport_failure.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>

namespace qb::net {

namespace {
using Clock = std::chrono::steady_clock;

// Longest single wait for socket activity; an abort wakes the wait at once anyway.
constexpr int kPollSliceMs = 1000;

struct TransferState {
    const AbortSignal* abort = nullptr;
    std::uint64_t generation = 0;
    QByteArray body;
    QByteArray statusLine;
    bool answerStarted = false;
    bool connected = false;
    Clock::time_point lastActivity = Clock::now();
    curl_off_t ulNow = 0;
    curl_off_t ulTotal = 0;
    curl_off_t dlNow = 0;

    bool aborted() const { return abort->generation() != generation; }
    bool sending() const { return ulTotal > 0 && ulNow < ulTotal; }
};

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* state = static_cast<TransferState*>(user);
    const size_t bytes = size * count;
    state->answerStarted = true;
    state->lastActivity = Clock::now();
    const QByteArray line(data, static_cast<qsizetype>(bytes));
    if (line.startsWith("HTTP/")) {
        state->statusLine = line.trimmed();
    }
    return bytes;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* state = static_cast<TransferState*>(user);
    const size_t bytes = size * count;
    state->answerStarted = true;
    state->lastActivity = Clock::now();
    state->body.append(data, static_cast<qsizetype>(bytes));
    return bytes;
}

int onProgress(void* user, curl_off_t, curl_off_t dlNow, curl_off_t ulTotal, curl_off_t ulNow) {
    auto* state = static_cast<TransferState*>(user);
    if (ulNow != state->ulNow || dlNow != state->dlNow) {
        state->lastActivity = Clock::now();
    }
    state->ulNow = ulNow;
    state->ulTotal = ulTotal;
    state->dlNow = dlNow;
    return state->aborted() ? 1 : 0;
}

// Called once a connection stands, before the request goes out (again on every redirect).
int onConnected(void* user, char*, char*, int, int) {
    auto* state = static_cast<TransferState*>(user);
    state->connected = true;
    state->lastActivity = Clock::now();
    state->ulNow = state->ulTotal = state->dlNow = 0;
    return CURL_PREREQFUNC_OK;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

bool isHttpUrl(const QByteArray& url) {
    const QByteArray head = url.left(8).toLower();
    return head.startsWith("http://") || head.startsWith("https://");
}

// curl refuses addresses with blanks, control characters or raw non-ASCII bytes; they go out
// percent-encoded instead.
QByteArray sendableUrl(const QByteArray& url) {
    QByteArray out;
    out.reserve(url.size());
    for (const char c : url) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b >= 0x7F) {
            out += '%';
            out += "0123456789ABCDEF"[b >> 4];
            out += "0123456789ABCDEF"[b & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

curl_slist* appendHeader(curl_slist* list, const QByteArray& header) {
    curl_slist* grown = curl_slist_append(list, header.constData());
    if (grown == nullptr) {
        throw std::bad_alloc();
    }
    return grown;
}

// The client's headers in their order. A body with its own type takes the place of the
// client's Content-Type. Bodies without a type go out without one: the empty "Content-Type:"
// stops curl from adding "application/x-www-form-urlencoded" to a POST. "Expect:" keeps curl
// from holding larger bodies back for a "100 Continue".
std::unique_ptr<curl_slist, ListDeleter> buildHeaders(const TransferRequest& request) {
    std::unique_ptr<curl_slist, ListDeleter> list;
    bool typeSent = false;
    for (const QByteArray& header : request.settings.headers) {
        const bool isType = header.toLower().startsWith("content-type:");
        if (isType && !request.contentType.isEmpty()) {
            list.reset(appendHeader(list.release(), "Content-Type: " + request.contentType));
        } else {
            list.reset(appendHeader(list.release(), header));
        }
        typeSent = typeSent || isType;
    }
    if (request.post) {
        if (!typeSent) {
            list.reset(appendHeader(list.release(), request.contentType.isEmpty()
                                                        ? QByteArray("Content-Type:")
                                                        : "Content-Type: " + request.contentType));
        }
        list.reset(appendHeader(list.release(), "Expect:"));
    }
    return list;
}

void configure(CURL* easy, const TransferRequest& request, const QByteArray& url,
               curl_slist* headers, TransferState& state, char* errorBuffer) {
    const ClientSettings& settings = request.settings;
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    // Turns on decoding of gzip and deflate answers; the header itself comes from the client's
    // own list, which curl then leaves as it is.
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, settings.followRedirects ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, settings.maxRedirects);
    if (settings.connectTimeoutMs > 0) {
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(settings.connectTimeoutMs));
    }
    if (settings.allowTls10) {
        curl_easy_setopt(easy, CURLOPT_SSLVERSION,
                         static_cast<long>(CURL_SSLVERSION_TLSv1_0) |
                             static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_3));
    }
    const bool http10 = request.post && settings.postAsHttp10;
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION,
                     static_cast<long>(http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1));
    if (request.post) {
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.constData());
    } else {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &state);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &onConnected);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &state);
}

// The limit on a pause in the current phase: sending the body, or waiting for and reading
// the answer. Before the connection stands only the connect time-out counts.
int idleLimitMs(const TransferState& state, const ClientSettings& settings) {
    if (!state.connected) {
        return 0;
    }
    return state.sending() ? settings.sendTimeoutMs : settings.readTimeoutMs;
}

HttpResult failed(TransferEnd end, CURLcode code, const TransferState& state,
                  const ClientSettings& settings, const char* errorBuffer) {
    const TransportFailure failure =
        transportFailure(end, code, state.answerStarted, settings.numberedFailureTexts,
                         QString::fromUtf8(errorBuffer));
    HttpResult result;
    result.failure = failure.kind;
    result.failureText = failure.text;
    return result;
}
} // namespace

void ensureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

HttpResult performTransfer(const TransferRequest& request, AbortSignal& abort) {
    ensureCurlInitialised();
    const ClientSettings& settings = request.settings;
    TransferState state;
    state.abort = &abort;
    state.generation = request.abortGeneration;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    if (!isHttpUrl(request.url)) {
        return failed(TransferEnd::NotHttpUrl, CURLE_OK, state, settings, errorBuffer);
    }
    const QByteArray url = sendableUrl(request.url);
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) {
        return failed(TransferEnd::Curl, CURLE_OUT_OF_MEMORY, state, settings, errorBuffer);
    }
    const auto headers = buildHeaders(request);
    configure(easy.get(), request, url, headers.get(), state, errorBuffer);

    TransferEnd end = TransferEnd::Curl;
    CURLcode code = CURLE_OK;
    curl_multi_add_handle(multi.get(), easy.get());
    {
        const AbortSignal::Registration registration(abort, multi.get());
        int running = 0;
        curl_multi_perform(multi.get(), &running);
        while (running > 0) {
            if (state.aborted()) {
                end = TransferEnd::Aborted;
                break;
            }
            int waitMs = kPollSliceMs;
            if (const int limit = idleLimitMs(state, settings); limit > 0) {
                const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(
                                      Clock::now() - state.lastActivity)
                                      .count();
                if (idle >= limit) {
                    end = TransferEnd::IdleTimeout;
                    break;
                }
                waitMs = std::min(waitMs, static_cast<int>(limit - idle));
            }
            curl_multi_poll(multi.get(), nullptr, 0, waitMs, nullptr);
            curl_multi_perform(multi.get(), &running);
        }
    }
    if (end == TransferEnd::Curl) {
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
            if (message->msg == CURLMSG_DONE) {
                code = message->data.result;
            }
        }
        if (code == CURLE_ABORTED_BY_CALLBACK) {
            end = TransferEnd::Aborted;
        }
    }
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    char* contentType = nullptr;
    curl_easy_getinfo(easy.get(), CURLINFO_CONTENT_TYPE, &contentType);
    curl_multi_remove_handle(multi.get(), easy.get());

    // Past the redirect limit a client that hands over every answer hands over the last one.
    const bool answered = end == TransferEnd::Curl &&
                          (code == CURLE_OK || (code == CURLE_TOO_MANY_REDIRECTS &&
                                                !settings.errorStatusFails && status > 0));
    if (!answered) {
        return failed(end, code, state, settings, errorBuffer);
    }
    HttpResult result;
    result.status = static_cast<int>(status);
    result.contentType = contentType != nullptr ? QByteArray(contentType) : QByteArray();
    if (settings.errorStatusFails && status >= 400) {
        result.failure = FailureKind::ErrorStatus;
        result.failureText = QString::fromLatin1(state.statusLine);
        return result;
    }
    result.ok = true;
    result.body = std::move(state.body);
    return result;
}

} // namespace qb::net
