#include "connection/http/transport_failure.h"

namespace qb::net {

namespace {
QString numberedText(TransferEnd end, CURLcode code, bool answerStarted) {
    switch (end) {
    case TransferEnd::Aborted:
        return QStringLiteral("(12017) The operation has been canceled");
    case TransferEnd::IdleTimeout:
        return QStringLiteral("(12002) The operation timed out");
    case TransferEnd::NotHttpUrl:
        return QStringLiteral("(12006) The URL does not use a recognized protocol");
    case TransferEnd::Curl:
        break;
    }
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("(12007) The server name or address could not be resolved");
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("(12029) A connection with the server could not be established");
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return answerStarted
                   ? QStringLiteral("(12030) The connection with the server was terminated "
                                    "abnormally")
                   : QStringLiteral("(12029) A connection with the server could not be "
                                    "established");
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_BAD_CONTENT_ENCODING:
        return QStringLiteral("(12152) The server returned an invalid or unrecognized response");
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("(12002) The operation timed out");
    case CURLE_PARTIAL_FILE:
        return QStringLiteral("(12030) The connection with the server was terminated abnormally");
    case CURLE_TOO_MANY_REDIRECTS:
        return QStringLiteral("(12156) The HTTP redirect request failed");
    case CURLE_URL_MALFORMAT:
        return QStringLiteral("(12005) The URL is invalid");
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
        return QStringLiteral("(12175) A security error occurred: ") +
               QString::fromLatin1(curl_easy_strerror(code));
    default:
        return QStringLiteral("(12004) An internal error occurred: ") +
               QString::fromLatin1(curl_easy_strerror(code));
    }
}

QString plainText(TransferEnd end, CURLcode code, const QString& curlMessage) {
    switch (end) {
    case TransferEnd::Aborted:
        return QStringLiteral("Connection closed gracefully.");
    case TransferEnd::IdleTimeout:
        return QStringLiteral("Read timed out.");
    case TransferEnd::NotHttpUrl:
        return QStringLiteral("Unknown protocol");
    case TransferEnd::Curl:
        break;
    }
    return curlMessage.isEmpty() ? QString::fromLatin1(curl_easy_strerror(code)) : curlMessage;
}
} // namespace

TransportFailure transportFailure(TransferEnd end, CURLcode code, bool answerStarted, bool numbered,
                                  const QString& curlMessage) {
    TransportFailure failure;
    const bool timedOut = end == TransferEnd::IdleTimeout ||
                          (end == TransferEnd::Curl && code == CURLE_OPERATION_TIMEDOUT);
    failure.kind = timedOut ? FailureKind::Timeout : FailureKind::Connection;
    failure.text = numbered ? QStringLiteral("Error: ") + numberedText(end, code, answerStarted)
                            : plainText(end, code, curlMessage);
    return failure;
}

} // namespace qb::net
