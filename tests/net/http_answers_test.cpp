// How each client treats the answers: status codes, redirects, compression, charsets.
#include "net_test_support.h"

#include <gtest/gtest.h>

namespace qb::test {
namespace {

// Status codes of 400 and above: the two window clients fail without a body, the other three
// hand over whatever arrived.
TEST(Answers, ErrorStatusFailsOnlyForTheWindowClients) {
    RawHttpServer server([](RawConnection& connection, RawHttpServer& s) {
        RecordedRequest request;
        if (s.readAndRecord(connection, request)) {
            connection.send(RawHttpServer::response(404, "Not Found", R"({"message":"Not Found"})",
                                                    {"Content-Type: application/json"}));
        }
    });
    for (const NamedClient& named : kAllClients) {
        SCOPED_TRACE(named.name);
        const bool windowClient = QByteArray(named.name).startsWith("IdHTTP");
        for (const bool post : {false, true}) {
            const auto client = named.make();
            const net::HttpResult result =
                post ? client->post(qs(server.url("/x")), "{}") : client->get(qs(server.url("/x")));
            EXPECT_EQ(result.status, 404);
            if (windowClient) {
                EXPECT_FALSE(result.ok);
                EXPECT_EQ(result.failure, net::FailureKind::ErrorStatus);
                EXPECT_TRUE(result.body.isEmpty());
                EXPECT_EQ(result.failureText, u"HTTP/1.1 404 Not Found"_s);
            } else {
                EXPECT_TRUE(result.ok);
                EXPECT_EQ(result.failure, net::FailureKind::None);
                EXPECT_EQ(result.body, R"({"message":"Not Found"})");
            }
        }
    }
}

TEST(Answers, StatusesBelow400AreAnswers) {
    RawHttpServer server([](RawConnection& connection, RawHttpServer& s) {
        RecordedRequest request;
        if (s.readAndRecord(connection, request)) {
            connection.send(RawHttpServer::response(204, "No Content", {}));
        }
    });
    for (const NamedClient& named : kAllClients) {
        const net::HttpResult result = named.make()->get(qs(server.url("/x")));
        EXPECT_TRUE(result.ok) << named.name;
        EXPECT_EQ(result.status, 204) << named.name;
    }
}

// "/hop/N" redirects to "/hop/N-1"; "/hop/0" answers "arrived".
void redirectChain(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (!server.readAndRecord(connection, request)) {
        return;
    }
    const int hops = request.path().mid(5).toInt();
    if (hops == 0) {
        connection.send(RawHttpServer::response(200, "OK", "arrived"));
    } else {
        connection.send(RawHttpServer::response(
            302, "Found", "moving", {"Location: /hop/" + QByteArray::number(hops - 1)}));
    }
}

struct RedirectCase {
    const char* client;
    ClientFactory make;
    int hops;
    int expectedStatus;
    QByteArray expectedBody;
    std::size_t expectedRequests;
};

class Redirects : public ::testing::TestWithParam<RedirectCase> {};

TEST_P(Redirects, AreFollowedAsFarAsTheClientAllows) {
    const RedirectCase& c = GetParam();
    RawHttpServer server(&redirectChain);
    const net::HttpResult result =
        c.make()->get(qs(server.url("/hop/" + QByteArray::number(c.hops))));
    EXPECT_TRUE(result.ok) << result.failureText.toStdString();
    EXPECT_EQ(result.status, c.expectedStatus);
    EXPECT_EQ(result.body, c.expectedBody);
    EXPECT_EQ(server.requests().size(), c.expectedRequests);
}

INSTANTIATE_TEST_SUITE_P(
    Clients, Redirects,
    ::testing::Values(RedirectCase{"IdHTTP1Follows", &net::makeIdHttp1, 5, 200, "arrived", 6},
                      RedirectCase{"IdHTTP3Stays", &net::makeIdHttp3, 1, 302, "moving", 1},
                      RedirectCase{"NetThreeHops", &net::makeNetHttpClient1, 3, 200, "arrived", 4},
                      RedirectCase{"NetFourthHopNotTaken", &net::makeNetHttpClient1, 4, 302, "", 4},
                      RedirectCase{"PingThreeHops", &net::makePing1, 3, 200, "arrived", 4}),
    [](const auto& info) { return std::string(info.param.client); });

TEST(Answers, PostRedirectedBy302BecomesAGet) {
    RawHttpServer server([](RawConnection& connection, RawHttpServer& s) {
        RecordedRequest request;
        if (!s.readAndRecord(connection, request)) {
            return;
        }
        if (request.path() == "/torrent/add") {
            connection.send(RawHttpServer::response(302, "Found", {}, {"Location: /done"}));
        } else {
            connection.send(RawHttpServer::response(200, "OK", "done"));
        }
    });
    const net::HttpResult result = net::makeIdHttp1()->post(qs(server.url("/torrent/add")), "{}");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.body, "done");
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_TRUE(server.requests()[1].requestLine().startsWith("GET /done "));
}

quint32 crc32(const QByteArray& data) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

QByteArray littleEndian32(quint32 value) {
    QByteArray out;
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

// qCompress gives a 4-byte length followed by a zlib stream: the "deflate" coding of HTTP.
QByteArray zlibStream(const QByteArray& data) {
    return qCompress(data, 9).mid(4);
}

QByteArray gzipStream(const QByteArray& data) {
    const QByteArray zlib = zlibStream(data);
    const QByteArray rawDeflate = zlib.mid(2, zlib.size() - 6);
    return QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\xff", 10) + rawDeflate +
           littleEndian32(crc32(data)) + littleEndian32(static_cast<quint32>(data.size()));
}

TEST(Answers, GzipAndDeflateAnswersArriveDecoded) {
    const QByteArray plain = QByteArray("[{\"Name\":\"Фильм\",\"Length\":1}]").repeated(200);
    const struct {
        QByteArray coding;
        QByteArray encoded;
    } codings[] = {{"gzip", gzipStream(plain)}, {"deflate", zlibStream(plain)}};
    for (const auto& coding : codings) {
        RawHttpServer server([&](RawConnection& connection, RawHttpServer& s) {
            RecordedRequest request;
            if (s.readAndRecord(connection, request)) {
                connection.send(
                    RawHttpServer::response(200, "OK", coding.encoded,
                                            {"Content-Encoding: " + coding.coding,
                                             "Content-Type: application/json; charset=utf-8"}));
            }
        });
        for (const NamedClient& named : kAllClients) {
            const net::HttpResult result = named.make()->get(qs(server.url("/list")));
            ASSERT_TRUE(result.ok) << named.name << ' ' << coding.coding.toStdString() << ' '
                                   << result.failureText.toStdString();
            EXPECT_EQ(result.body, plain) << named.name << ' ' << coding.coding.toStdString();
            EXPECT_EQ(result.text(), QString::fromUtf8(plain));
        }
    }
}

TEST(Answers, TextFollowsTheDeclaredCharset) {
    RawHttpServer server([](RawConnection& connection, RawHttpServer& s) {
        RecordedRequest request;
        if (s.readAndRecord(connection, request)) {
            connection.send(
                RawHttpServer::response(200, "OK", "\xcf\xf0\xe8\xe2\xe5\xf2",
                                        {"Content-Type: text/plain; charset=windows-1251"}));
        }
    });
    const net::HttpResult result = net::makeIdHttp1()->get(qs(server.url("/m3u")));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.contentType, "text/plain; charset=windows-1251");
    EXPECT_EQ(result.text(), u"Привет"_s);
}

} // namespace
} // namespace qb::test
