// The stand-in service's fixed paths: what each answers, with which type, and the secret.
#include <cstdio>
#include <fstream>

#include <gtest/gtest.h>
#include <httplib.h>

#include "support/service_standin.h"

using qb::testing::ServiceStandin;

namespace {

class ServicePaths : public ::testing::Test {
protected:
    static void SetUpTestSuite() { service = new ServiceStandin(); }
    static void TearDownTestSuite() { delete service; }
    static httplib::Result get(const std::string& target) {
        httplib::Client client("127.0.0.1", service->port());
        return client.Get(target.c_str());
    }
    static ServiceStandin* service;
};
ServiceStandin* ServicePaths::service = nullptr;

struct PathCase {
    const char* target;
    int status;
    const char* type;  // Content-Type prefix
    const char* start; // what the body starts with
};

TEST_F(ServicePaths, EachPathAnswersWithItsTypeAndContent) {
    const std::string jpeg = "\xFF\xD8\xFF", png = "\x89PNG";
    const PathCase cases[] = {
        {"/version.txt", 200, "text/plain", "1.8.4"},
        {"/abt.need", 200, "text/html", "<!DOCTYPE html>"},
        {"/no-poster.jpg", 200, "image/jpeg", jpeg.c_str()},
        {"/error_404.png", 200, "image/png", png.c_str()},
        {"/img/posters/107187.jpg", 200, "image/jpeg", jpeg.c_str()},
        {"/img/screens/310455_2.jpg", 200, "image/jpeg", jpeg.c_str()},
        {"/imdb/pic/107187.png", 200, "image/png", png.c_str()},
        {"/rating/107187.png", 200, "image/png", png.c_str()},
        {"/ts/Quillbrook_x86_v1.8.4.zip", 200, "application/zip", "PK\x03\x04"},
        {"/ts/Quillbrook_x86_v1.8.5.zip", 404, "text/html", "<html>"},
        {"/img/posters/1.jpg", 404, "text/html", "<html>"},
        {"/img/../search.json", 404, "text/html", "<html>"},
        {"/nothing/here", 404, "text/html", "<html>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        auto res = get(c.target);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, c.status);
        EXPECT_EQ(res->get_header_value("Content-Type").rfind(c.type, 0), 0u);
        EXPECT_EQ(res->body.rfind(c.start, 0), 0u);
    }
    EXPECT_EQ(get("/version.txt")->body, "1.8.4"); // bare: no line break
}

TEST_F(ServicePaths, SecretMustBeTheClientsOne) {
    const std::string queries[] = {"/get.php?%sq=top", "/get_info.php?%sid=107187"};
    const std::pair<std::string, int> secrets[] = {
        {"secret=bqZanhMLfyKdoe&", 200}, {"secret=wrong&", 403}, {"", 403}, {"secret=&", 403}};
    for (const auto& query : queries) {
        for (const auto& [secret, status] : secrets) {
            std::string target = query;
            target.replace(target.find("%s"), 2, secret);
            SCOPED_TRACE(target);
            auto res = get(target);
            ASSERT_TRUE(res);
            EXPECT_EQ(res->status, status);
            EXPECT_EQ(res->body.empty(), status == 403);
        }
    }
}

TEST_F(ServicePaths, PosterCheckAcceptsOnlyImagesItHolds) {
    const std::string own = service->baseUrl();
    const std::pair<std::string, std::string> cases[] = {
        {own + "/img/posters/107187.jpg", "1"},
        {"http://img.tracker.example/img/posters/107187.jpg", "1"},
        {own + "/no-poster.jpg", "1"},
        {own + "/img/posters/999.jpg", ""},
        {"http://elsewhere.example/img/posters/107187.jpg", ""},
        {"", ""},
    };
    for (const auto& [url, answer] : cases) {
        SCOPED_TRACE(url);
        auto res = get("/check_poster.php?url=" + url);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->body, answer);
    }
}

TEST_F(ServicePaths, LogsEveryRequestWithHeadersAndBody) {
    service->clearRequests();
    httplib::Client client("127.0.0.1", service->port());
    client.Post("/get.php?secret=x&q=top", {{"X-Probe", "42"}}, "пробное тело", "text/plain");
    get("/__control/faults"); // control paths stay out of the log
    auto logged = service->requests();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].method, "POST");
    EXPECT_EQ(logged[0].target, "/get.php?secret=x&q=top");
    EXPECT_EQ(logged[0].version, "HTTP/1.1");
    EXPECT_EQ(logged[0].headers["X-Probe"], "42");
    EXPECT_EQ(logged[0].body, "пробное тело");
}

TEST(ServiceOptions, VersionOptionChangesVersionAndArchive) {
    ServiceStandin service({"--version", "1.9"});
    httplib::Client client("127.0.0.1", service.port());
    EXPECT_EQ(client.Get("/version.txt")->body, "1.9");
    EXPECT_EQ(client.Get("/ts/Quillbrook_x86_v1.9.zip")->status, 200);
    EXPECT_EQ(client.Get("/ts/Quillbrook_x86_v1.8.4.zip")->status, 404);
}

TEST(ServiceOptions, SecretOptionAndLogFile) {
    const std::string log = ::testing::TempDir() + "service_standin_log.jsonl";
    std::remove(log.c_str());
    {
        ServiceStandin service({"--secret", "other", "--log", log});
        httplib::Client client("127.0.0.1", service.port());
        EXPECT_EQ(client.Get("/get.php?secret=other&q=top")->status, 200);
        EXPECT_EQ(client.Get("/get.php?secret=bqZanhMLfyKdoe&q=top")->status, 403);
    }
    std::ifstream in(log);
    std::string first;
    ASSERT_TRUE(std::getline(in, first));
    EXPECT_NE(first.find("\"target\":\"/get.php?secret=other&q=top\""), std::string::npos);
}

} // namespace
