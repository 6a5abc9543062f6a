#include "connection/http/request_bodies.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace qb::connection {
namespace {

using namespace Qt::StringLiterals;
using Json = nlohmann::ordered_json;

const QString kMagnet =
    u"magnet:?xt=urn:btih:dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c&dn=id_1a2b&tr=udp%3A%2F%2Fx"_s;
const QString kHash = u"dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c"_s;
const QString kPoster = u"http://img.tracker.example/p/12.jpg"_s;

TEST(RequestBodies, OrdinaryValuesGiveTheExactBytes) {
    const struct {
        const char* name;
        QByteArray actual;
        QByteArray expected;
    } cases[] = {
        {"link", linkBody(kMagnet), "{\"link\": \"" + kMagnet.toUtf8() + "\"}"},
        {"info", infoBody(kMagnet, u"6826"_s, kPoster),
         "{\"link\":\"" + kMagnet.toUtf8() + R"(","Info":"{\"id\":\"6826\", \"poster_path\":\")" +
             kPoster.toUtf8() + R"(\"}"})"},
        {"list with info", listBody(kMagnet + u"&as="_s + kPoster, kPoster, true),
         "{\"link\":\"" + kMagnet.toUtf8() + "&as=" + kPoster.toUtf8() +
             R"(","Info":"{\"poster_path\":\")" + kPoster.toUtf8() + R"(\"}"})"},
        {"list without info", listBody(kMagnet, kPoster, false),
         "{\"link\":\"" + kMagnet.toUtf8() + "\"}"},
        {"empty list line", listBody({}, {}, false), R"({"link":""})"},
        {"remove", removeBody(kHash), "{\"hash\": \"" + kHash.toUtf8() + "\"}"},
        {"stat", statBody(kHash), "{\"Hash\": \"" + kHash.toUtf8() + "\"}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.name;
        EXPECT_TRUE(Json::accept(c.actual.toStdString())) << c.name;
    }
}

// Values that would break an unescaped body.
const QString kHostile[] = {
    u"a\"b"_s,     u"back\\slash"_s, u"line\r\nbreak\ttab"_s, QString::fromUtf16(u"nul\0x", 5),
    u"\\\"}],{"_s, u"Фильм «1»"_s,   u"\u001f\u007f"_s,
};

TEST(RequestBodies, InsertedValuesAreEscapedAndReadBackUnchanged) {
    for (const QString& value : kHostile) {
        SCOPED_TRACE(value.toStdString());
        const std::string text = value.toStdString();
        for (const QByteArray& body : {linkBody(value), listBody(value, {}, false)}) {
            const Json parsed = Json::parse(body.toStdString());
            EXPECT_EQ(parsed.at("link"), text);
        }
        EXPECT_EQ(Json::parse(removeBody(value).toStdString()).at("hash"), text);
        EXPECT_EQ(Json::parse(statBody(value).toStdString()).at("Hash"), text);
    }
}

TEST(RequestBodies, InfoValuesSurviveBothLevelsOfJson) {
    for (const QString& value : kHostile) {
        SCOPED_TRACE(value.toStdString());
        const Json info = Json::parse(infoBody(value, value, value).toStdString());
        EXPECT_EQ(info.at("link"), value.toStdString());
        const Json inner = Json::parse(info.at("Info").get<std::string>());
        EXPECT_EQ(inner.at("id"), value.toStdString());
        EXPECT_EQ(inner.at("poster_path"), value.toStdString());

        const Json list = Json::parse(listBody(value, value, true).toStdString());
        EXPECT_EQ(Json::parse(list.at("Info").get<std::string>()).at("poster_path"),
                  value.toStdString());
    }
}

TEST(RequestBodies, InfoStringHoldsThePosterMarkerThatImportsLookFor) {
    const Json list = Json::parse(listBody(u"x"_s, kPoster, true).toStdString());
    EXPECT_EQ(list.at("Info").get<std::string>(),
              "{\"poster_path\":\"" + kPoster.toStdString() + "\"}");
}

} // namespace
} // namespace qb::connection
