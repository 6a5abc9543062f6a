// The fixture pages: result rows and release pages carry the markers the client reads.
#include <regex>

#include <gtest/gtest.h>
#include <httplib.h>

#include "support/service_standin.h"

using qb::testing::ServiceStandin;

namespace {

const std::string kRowStart = "<a href=\"magnet", kRowEnd = "</span></td></tr>";
const std::string kNbsp = "\xC2\xA0";
const std::string kQuery = "/get.php?secret=bqZanhMLfyKdoe&q=";

// The result rows of a page: from the magnet link to the end marker, as the client cuts them.
std::vector<std::string> rowsOf(const std::string& page) {
    std::vector<std::string> rows;
    for (auto at = page.find(kRowStart); at != std::string::npos; at = page.find(kRowStart, at)) {
        auto end = page.find(kRowEnd, at);
        if (end == std::string::npos)
            break;
        rows.push_back(page.substr(at, end - at));
        at = end;
    }
    return rows;
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class ServicePages : public ::testing::Test {
protected:
    static void SetUpTestSuite() { service = new ServiceStandin(); }
    static void TearDownTestSuite() { delete service; }
    static std::string get(const std::string& target) {
        httplib::Client client("127.0.0.1", service->port());
        client.set_url_encode(false); // send the target as the client encoded it
        auto res = client.Get(target.c_str());
        return res && res->status == 200 ? res->body : "<no answer>";
    }
    static ServiceStandin* service;
};
ServiceStandin* ServicePages::service = nullptr;

// "северное сияние", encoded as the client encodes a search text.
const std::string kAurora = "%D1%81%D0%B5%D0%B2%D0%B5%D1%80%D0%BD%D0%BE%D0%B5+%D1%81%D0%B8%D1%8F"
                            "%D0%BD%D0%B8%D0%B5";

TEST_F(ServicePages, QueriesFindTheirRows) {
    const std::pair<std::string, size_t> cases[] = {
        {"search/0/0/000/2/" + kAurora, 8},
        {"search/1/0/000/2/" + kAurora, 8},
        {"search/2/0/000/2/" + kAurora, 0},
        {"search/0/0/000/2/%D0%A1%D0%98%D0%AF%D0%9D%D0%98%D0%95", 8}, // "СИЯНИЕ": any case
        {"search/0/0/000/2/+northern++lights+", 8},
        {"search/0/0/000/2/a%26b%2Fc%3Ad", 0},
        {"top", 8},
        {"kino", 5},
        {"seriali", 3},
        {"nashe_kino", 1},
        {"anime", 0},
        {"search/x/0/000/2/abc", 0},
        {"", 0},
    };
    for (const auto& [q, rows] : cases) {
        SCOPED_TRACE(q);
        const std::string page = get(kQuery + q);
        EXPECT_EQ(rowsOf(page).size(), rows);
        EXPECT_NE(page.find("Пиры</td></tr>"), std::string::npos); // the table header stays
    }
}

TEST_F(ServicePages, ResultRowsCarryTheClientsMarkers) {
    std::vector<std::string> rows;
    for (const auto& q : {"search/0/0/000/2/" + kAurora, "search/1/0/000/2/" + kAurora,
                          std::string("top"), std::string("kino"), std::string("seriali")})
        for (auto& row : rowsOf(get(kQuery + q)))
            rows.push_back(row);
    const std::regex form("^<a href=\"magnet:\\?xt=urn:btih:[0-9A-F]{40}&amp;dn=tracker\\.example"
                          "&amp;tr=[^\"]+\">.*<a href=\"/torrent/[0-9]+/[^\"]+\">.* </a.*ht\">.*"
                          "(GB|gb)</t.*S\">.*</sp.*red\">.*$");
    int withComments = 0;
    int withThreeCells = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(std::regex_match(row, form));
        EXPECT_TRUE(row.find(kNbsp + "GB") != std::string::npos ||
                    row.find(kNbsp + "gb") != std::string::npos);
        withComments += count(row, "ht\">") == 2;
        withThreeCells += count(row, "ht\">") == 3;
    }
    EXPECT_GT(withComments, 0);
    EXPECT_GT(withThreeCells, 0);
    std::string all;
    for (const auto& row : rows)
        all += row;
    for (const char* mark : {"PDF", "JPG", "JPEG", "FB2", ") PC", ") РС", "PCRec", "1080p", "1080P",
                             "1080i", "2160p", "&amp; Барсук", "gb</t"})
        EXPECT_NE(all.find(mark), std::string::npos) << mark;
}

class ReleasePages : public ServicePages, public ::testing::WithParamInterface<int> {};

TEST_P(ReleasePages, CarryTheBuildersMarkers) {
    const std::string id = std::to_string(GetParam());
    const std::string page = get("/get_info.php?secret=bqZanhMLfyKdoe&id=" + id);
    const auto cut = page.find("</u></span></td><td>");
    ASSERT_NE(cut, std::string::npos);
    const std::string part = page.substr(0, cut);
    // The first quote of the page opens the magnet link, which ends at the first '">'.
    const auto quote = part.find('"');
    ASSERT_EQ(part.compare(quote, 8, "\"magnet:"), 0);
    const std::string magnet = part.substr(quote + 1, part.find("\">") - quote - 1);
    EXPECT_NE(magnet.find("&amp;dn=tracker.example_" + id + "&amp;tr="), std::string::npos);
    // The poster is the first image after the first "<tr>" that follows the magnet.
    const auto tr = part.find("<tr>", quote);
    const auto img = part.find("<img", tr);
    ASSERT_EQ(part.compare(img, 10, "<img src=\""), 0);
    const auto posterStart = img + 10;
    const std::string poster = part.substr(posterStart, part.find('"', posterStart) - posterStart);
    EXPECT_EQ(poster, service->baseUrl() + "/img/posters/" + id + ".jpg");
    EXPECT_EQ(get("/check_poster.php?url=" + poster), "1");
    // Ratings and screenshots lie before the cut, each in the form the builder copies; a few
    // pages go without one of them, or leave the screenshots' text area unclosed.
    const int release = GetParam();
    const auto imdb = part.find("imdb/pic");
    if (release == 98215) {
        EXPECT_EQ(imdb, std::string::npos);
    } else {
        ASSERT_NE(imdb, std::string::npos);
        EXPECT_NE(part.find("</a>", imdb), std::string::npos);
    }
    EXPECT_EQ(part.find("<img src=\"http://www.filmdb.example/rating/" + id + ".png\"") !=
                  std::string::npos,
              release != 98214);
    const auto shots = part.find("Скриншоты");
    if (release == 310877) {
        EXPECT_EQ(shots, std::string::npos);
    } else {
        ASSERT_NE(shots, std::string::npos);
        const auto shotsEnd = part.find("</textarea></div>", shots);
        EXPECT_EQ(shotsEnd == std::string::npos, release == 402311);
        EXPECT_EQ(count(part.substr(shots, shotsEnd - shots), "img src=\"" + service->baseUrl()),
                  2u);
    }
    for (const char* field : {"<b>Жанр:</b>", "<b>Режиссер:</b>", "<b>В ролях:</b>",
                              "<b>Страна:</b>", "<b>Продолжительность:</b>", "<b>Перевод:</b>",
                              "<b>Видео:</b>", "Раздают</td>", "Качают</td>", "Bytes)</td>"})
        EXPECT_NE(page.find(field), std::string::npos) << field;
    const char* title = release == 98214   ? "<b>Название</b>:"
                        : release == 98215 ? "<b>Оригинальное название:</b>"
                                           : "<b>Название:</b>";
    EXPECT_NE(page.find(title), std::string::npos) << title;
    EXPECT_NE(page.find(release == 215640 ? "<b>Год выпуска:</b>" : "<b>Год выхода:</b>"),
              std::string::npos);
    EXPECT_NE(page.find(release == 215640 ? "<b>Звук:</b>" : "<b>Аудио:</b>"), std::string::npos);
    // The announced file count: the first "(" after "displayfiles" to the next ")".
    const auto files = page.find("displayfiles");
    ASSERT_NE(files, std::string::npos);
    const auto open = page.find('(', files);
    const std::string count = page.substr(open + 1, page.find(')', open) - open - 1);
    EXPECT_TRUE(std::regex_match(count, std::regex("[1-9][0-9]*"))) << count;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ReleasePages,
                         ::testing::Values(107187, 215640, 98214, 98215, 402311, 310455, 310877,
                                           288001, 288950, 301200, 299777, 350500, 412000));

// Together the release pages carry every caption the client's page builder knows.
TEST_F(ServicePages, ReleasePagesTogetherCarryEveryCaption) {
    std::string all;
    for (const int id : {107187, 215640, 98214, 98215, 402311, 310455, 310877, 288001, 288950,
                         301200, 299777, 350500, 412000})
        all += get("/get_info.php?secret=bqZanhMLfyKdoe&id=" + std::to_string(id));
    for (const char* caption :
         {"<b>Описание:</b>", "<b>О фильме:</b>", "<b>О сериале:</b>", "<b>Озвучивание:</b>",
          "<b>Примечание:</b>", "<b>Оценка:</b>", "<b>Сидеры:</b>", "<b>Файл:</b>", "BDInfo",
          "<b>M/I:</b>", "<b>MediaInfo:</b>", "<b>МедиаИнфо:</b>", "<b>[info]</b>",
          "Добавлены серии", "Категория", "family", "Профессиональный | многоголосый", "Актёр 20"})
        EXPECT_NE(all.find(caption), std::string::npos) << caption;
}

TEST_F(ServicePages, ImagesOfReleasePagesAreServed) {
    for (const char* target :
         {"/img/screens/107187_1.jpg", "/img/screens/412000_2.jpg", "/img/posters/412000.jpg"}) {
        httplib::Client client("127.0.0.1", service->port());
        auto res = client.Get(target);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->get_header_value("Content-Type"), "image/jpeg") << target;
    }
}

TEST_F(ServicePages, UnknownReleaseGetsAPageWithoutMarkers) {
    for (const char* id : {"1", "abc", "", "107187x"}) {
        const std::string page = get(std::string("/get_info.php?secret=bqZanhMLfyKdoe&id=") + id);
        EXPECT_NE(page.find("<html"), std::string::npos) << id;
        EXPECT_EQ(page.find('"'), std::string::npos) << id;
        EXPECT_EQ(page.find("displayfiles"), std::string::npos) << id;
    }
}

} // namespace
