#include "connection/http/http_client.h"

#include "connection/http/abort_signal.h"
#include "connection/http/curl_transfer.h"
#include "connection/http/event_flowing_call.h"
#include "connection/http/multipart_body.h"

#include <QRandomGenerator>

#include <atomic>

namespace qb::net {

struct HttpClient::Shared {
    explicit Shared(ClientSettings s)
        : settings(std::move(s))
        , connectTimeoutMs(settings.connectTimeoutMs)
        , sendTimeoutMs(settings.sendTimeoutMs)
        , readTimeoutMs(settings.readTimeoutMs) {}

    const ClientSettings settings;
    std::atomic<int> connectTimeoutMs;
    std::atomic<int> sendTimeoutMs;
    std::atomic<int> readTimeoutMs;
    AbortSignal abort;
    std::atomic<bool> shutDown{false};
};

namespace {
QByteArray freshBoundary(const QByteArray& content) {
    for (;;) {
        QByteArray boundary = "----------QuillbrookFormBoundary";
        for (int i = 0; i < 4; ++i) {
            boundary += QByteArray::number(QRandomGenerator::global()->generate(), 16)
                            .rightJustified(8, '0');
        }
        if (connection::multipartBoundaryFits(boundary, content)) {
            return boundary;
        }
    }
}
} // namespace

HttpClient::HttpClient(ClientSettings settings)
    : d_(std::make_shared<Shared>(std::move(settings))) {
    ensureCurlInitialised();
}

HttpClient::~HttpClient() {
    d_->abort.abortAll();
}

HttpResult HttpClient::get(const QString& url) {
    return request(false, url, {}, {});
}

HttpResult HttpClient::post(const QString& url, const QByteArray& body) {
    return request(true, url, body, {});
}

HttpResult HttpClient::post(const QString& url, const QByteArray& body,
                            const RequestLimits& limits) {
    return request(true, url, body, {}, limits);
}

HttpResult HttpClient::postMultipart(const QString& url, const QString& fieldName,
                                     const QString& fileName, const QByteArray& content) {
    return postMultipart(url, fieldName, fileName, content, {});
}

HttpResult HttpClient::postMultipart(const QString& url, const QString& fieldName,
                                     const QString& fileName, const QByteArray& content,
                                     const QList<connection::FormField>& fields) {
    QByteArray values;
    for (const connection::FormField& field : fields) {
        values += field.value.toUtf8();
    }
    const QByteArray boundary = freshBoundary(content + values);
    return request(true, url,
                   connection::multipartBody(boundary, fieldName, fileName, content, fields),
                   connection::multipartContentType(boundary));
}

void HttpClient::setConnectTimeoutMs(int ms) {
    d_->connectTimeoutMs = std::max(0, ms);
}
void HttpClient::setSendTimeoutMs(int ms) {
    d_->sendTimeoutMs = std::max(0, ms);
}
void HttpClient::setReadTimeoutMs(int ms) {
    d_->readTimeoutMs = std::max(0, ms);
}
int HttpClient::connectTimeoutMs() const {
    return d_->connectTimeoutMs;
}
int HttpClient::sendTimeoutMs() const {
    return d_->sendTimeoutMs;
}
int HttpClient::readTimeoutMs() const {
    return d_->readTimeoutMs;
}

void HttpClient::closeConnection() {
    d_->abort.abortAll();
}

void HttpClient::shutDown() {
    d_->shutDown = true;
    d_->abort.abortAll();
}

HttpResult HttpClient::request(bool post, const QString& url, const QByteArray& body,
                               const QByteArray& contentType, const RequestLimits& limits) {
    // The shared part stays alive through the request even if the client is released by a
    // handler that runs while the window's events flow.
    const std::shared_ptr<Shared> shared = d_;
    TransferRequest transfer;
    transfer.url = url.toUtf8();
    transfer.post = post;
    transfer.body = body;
    transfer.contentType = contentType;
    transfer.settings = shared->settings;
    transfer.settings.connectTimeoutMs =
        limits.connectTimeoutMs >= 0 ? limits.connectTimeoutMs : shared->connectTimeoutMs.load();
    transfer.settings.sendTimeoutMs = shared->sendTimeoutMs;
    transfer.settings.readTimeoutMs =
        limits.readTimeoutMs >= 0 ? limits.readTimeoutMs : shared->readTimeoutMs.load();
    // After shutDown every request starts out aborted: it ends at once as a connection failure.
    transfer.abortGeneration = shared->abort.generation() - (shared->shutDown ? 1 : 0);

    if (shared->settings.keepEventsFlowing && onApplicationThread()) {
        HttpResult result;
        runWhileProcessingEvents([&] { result = performTransfer(transfer, shared->abort); });
        return result;
    }
    return performTransfer(transfer, shared->abort);
}

} // namespace qb::net
