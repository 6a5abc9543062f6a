// What each client puts on the wire: request line, headers in order, body.
#include "connection/http/multipart_body.h"
#include "net_test_support.h"

#include <gtest/gtest.h>

#include <httplib.h>

namespace qb::test {
namespace {

const QByteArray kUserAgent =
    "User-Agent: Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:82.0) Gecko/20100101 Firefox/82.0";
const QByteArray kAcceptLanguage = "Accept-Language: ru-RU,ru;q=0.8,en-US;q=0.5,en;q=0.3";

QList<QByteArray> idHeaders(int port) {
    return {"Host: 127.0.0.1:" + QByteArray::number(port),
            "Cache-Control: no-cache",
            "Connection: keep-alive",
            "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8",
            "Accept-Encoding: gzip, deflate",
            kAcceptLanguage,
            kUserAgent};
}

QList<QByteArray> netHeaders(int port) {
    return {"Host: 127.0.0.1:" + QByteArray::number(port),
            "Accept: text/plain",
            "Accept-Charset: utf-8",
            "Accept-Encoding: gzip, deflate",
            kAcceptLanguage,
            "Content-Type: text/plain; q=0.5, text/html",
            kUserAgent};
}

struct WireCase {
    const char* client;
    ClientFactory make;
    bool post;
    QByteArray requestLine;
    QList<QByteArray> (*headers)(int port);
};

class RequestBytes : public ::testing::TestWithParam<WireCase> {};

TEST_P(RequestBytes, RequestLineHeadersAndBodyAreExact) {
    const WireCase& c = GetParam();
    RawHttpServer server(&answerWithPath);
    const auto client = c.make();
    const QByteArray body = R"({"Hash": "0123456789abcdef0123456789abcdef01234567"})";
    const net::HttpResult result =
        c.post ? client->post(qs(server.url("/torrent/stat")), body)
               : client->get(qs(server.url("/torrent/play?link=a%20b&m3u=true")));
    ASSERT_TRUE(result.ok) << result.failureText.toStdString();
    ASSERT_EQ(server.requests().size(), 1u);
    const RecordedRequest request = server.requests().front();

    EXPECT_EQ(request.requestLine(), c.requestLine);
    QList<QByteArray> expected = c.headers(server.port());
    if (c.post) {
        expected.append("Content-Length: " + QByteArray::number(body.size()));
        EXPECT_EQ(request.body, body);
    } else {
        EXPECT_TRUE(request.body.isEmpty());
    }
    EXPECT_EQ(request.headerLines(), expected) << request.head.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Clients, RequestBytes,
    ::testing::Values(
        WireCase{"IdHTTP1", &net::makeIdHttp1, true, "POST /torrent/stat HTTP/1.0", &idHeaders},
        WireCase{"IdHTTP1", &net::makeIdHttp1, false,
                 "GET /torrent/play?link=a%20b&m3u=true HTTP/1.1", &idHeaders},
        WireCase{"IdHTTP3", &net::makeIdHttp3, true, "POST /torrent/stat HTTP/1.0", &idHeaders},
        WireCase{"IdHTTP3", &net::makeIdHttp3, false,
                 "GET /torrent/play?link=a%20b&m3u=true HTTP/1.1", &idHeaders},
        WireCase{"NetHTTPClient1", &net::makeNetHttpClient1, false,
                 "GET /torrent/play?link=a%20b&m3u=true HTTP/1.1", &netHeaders},
        WireCase{"NetHTTPClient2", &net::makeNetHttpClient2, false,
                 "GET /torrent/play?link=a%20b&m3u=true HTTP/1.1", &netHeaders},
        WireCase{"Ping1", &net::makePing1, false, "GET /torrent/play?link=a%20b&m3u=true HTTP/1.1",
                 &netHeaders},
        WireCase{"Ping1", &net::makePing1, true, "POST /torrent/stat HTTP/1.1", &netHeaders}),
    [](const auto& info) {
        return std::string(info.param.client) + (info.param.post ? "Post" : "Get");
    });

TEST(RequestBytes, EmptyListBodyGoesOutWithZeroLength) {
    RawHttpServer server(&answerWithPath);
    const net::HttpResult result = net::makeIdHttp1()->post(qs(server.url("/torrent/list")), {});
    ASSERT_TRUE(result.ok);
    const RecordedRequest request = server.requests().at(0);
    EXPECT_EQ(request.requestLine(), "POST /torrent/list HTTP/1.0");
    EXPECT_EQ(request.header("Content-Length"), "0");
    EXPECT_TRUE(request.header("Content-Type").isEmpty());
    EXPECT_TRUE(request.body.isEmpty());
}

TEST(RequestBytes, LargeBodyIsNotHeldBackForAContinue) {
    RawHttpServer server(&answerWithPath);
    const QByteArray body(3 * 1024 * 1024, 'x');
    const auto client = net::makeNetHttpClient1();
    const auto result =
        bounded(*client, [&] { return client->post(qs(server.url("/big")), body); });
    ASSERT_TRUE(result && result->ok);
    EXPECT_TRUE(server.requests().at(0).header("Expect").isEmpty());
    EXPECT_EQ(server.requests().at(0).body, body);
}

TEST(RequestBytes, AddressWithoutSchemeIsNotCompleted) {
    RawHttpServer server(&answerWithPath);
    for (const NamedClient& named : kAllClients) {
        const net::HttpResult result =
            named.make()->get(u"127.0.0.1:"_s + QString::number(server.port()) + u"/echo"_s);
        EXPECT_FALSE(result.ok) << named.name;
        EXPECT_EQ(result.failure, net::FailureKind::Connection) << named.name;
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST(RequestBytes, MultipartUploadCarriesTheFileBytesUnderItsName) {
    RawHttpServer server(&answerWithPath);
    QByteArray content("d8:announce\0\r\n--tricky\xff", 23);
    const net::HttpResult result = net::makeIdHttp1()->postMultipart(
        qs(server.url("/torrent/upload")), u"filename"_s, u"Фильм \"1\".torrent"_s, content);
    ASSERT_TRUE(result.ok) << result.failureText.toStdString();
    const RecordedRequest request = server.requests().at(0);
    EXPECT_EQ(request.requestLine(), "POST /torrent/upload HTTP/1.0");
    const QByteArray type = request.header("Content-Type");
    ASSERT_TRUE(type.startsWith("multipart/form-data; boundary=")) << type.toStdString();
    const QByteArray boundary = type.mid(type.indexOf('=') + 1);
    EXPECT_EQ(request.body, connection::multipartBody(boundary, u"filename"_s,
                                                      u"Фильм \"1\".torrent"_s, content));
}

TEST(RequestBytes, MultipartUploadIsReadByAnIndependentParser) {
    httplib::Server server;
    std::string fileName;
    std::string fileContent;
    server.Post("/torrent/upload",
                [&](const httplib::Request& request, httplib::Response& response) {
                    if (request.has_file("filename")) {
                        const auto file = request.get_file_value("filename");
                        fileName = file.filename;
                        fileContent = file.content;
                    }
                    response.set_content("[]", "application/json");
                });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread runner([&] { server.listen_after_bind(); });

    const QByteArray content("\x00\x01binary\r\n\r\n--x", 15);
    const net::HttpResult result = net::makeIdHttp1()->postMultipart(
        u"http://127.0.0.1:"_s + QString::number(port) + u"/torrent/upload"_s, u"filename"_s,
        u"movie.torrent"_s, content);
    server.stop();
    runner.join();
    ASSERT_TRUE(result.ok) << result.failureText.toStdString();
    EXPECT_EQ(fileName, "movie.torrent");
    EXPECT_EQ(QByteArray::fromStdString(fileContent), content);
}

} // namespace
} // namespace qb::test
