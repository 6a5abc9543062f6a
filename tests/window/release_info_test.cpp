// The release information page: built from the service's answer, shown, cached and shown from
// the cache; the information view's events and what its pages may do.
#include "window_fixture.h"

#include "app/app_core.h"
#include "connection/connection.h"
#include "releaseinfo/info_view_page.h"
#include "releaseinfo/page/info_cache.h"
#include "releaseinfo/release_info.h"
#include "releaseinfo/view_document.h"
#include "releaseinfo/view_scripts.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <QDir>
#include <QListWidget>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::platform::MessageIcon;
using qb::test::toQ;
using qb::testing::ServiceStandin;
using qb::testing::TorrServerStandin;

const char kFilm[] =
    "magnet:?xt=urn:btih:6E38DD076E2E61C511669A7B3628C2DE7111A92D&dn=id_1A2B3&tr=udp%3A%2F%2Fx";
const char kOther[] =
    "magnet:?xt=urn:btih:1111111111111111111111111111111111111111&dn=id_34A58&tr=udp%3A%2F%2Fx";
const char kNoId[] = "magnet:?xt=urn:btih:2222222222222222222222222222222222222222&dn=Alpha";

// A started, shown window connected to a stand-in TorrServer that holds two tracker releases
// and one torrent without a release id.
class ReleaseInfo : public qb::test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        service.resetFaults();
        ASSERT_TRUE(server.start()) << server.error();
        for (const char* magnet : {kFilm, kOther, kNoId}) {
            ASSERT_FALSE(server.addMagnet(magnet).empty());
        }
        if (withCacheFolder()) {
            ASSERT_TRUE(QDir(appDir()).mkdir(u"cache"_s));
        }
        writeSettings(toQ(server.baseUrl()), u"0"_s, toQ(service.baseUrl()));
        ASSERT_TRUE(makeWindow().core().FormCreate());
        form->show();
        ASSERT_TRUE(waitUntil([&] { return idlePageShown(); }));
        service.clearRequests();
    }

    // One stand-in service for all: it takes seconds to end while the view's engine keeps its
    // connections open.
    static void SetUpTestSuite() {
        if (!sharedService) {
            sharedService = std::make_unique<ServiceStandin>();
        }
    }
    static void TearDownTestSuite() { sharedService.reset(); }
    virtual bool withCacheFolder() const { return true; }

    QString base() const { return toQ(service.baseUrl()); }
    QString cacheFile(const QString& id) const { return appDir() + u"cache/"_s + id + u".html"_s; }

    std::optional<QString> js(const QString& script) const {
        return qb::releaseinfo::runViewScript(form->WebBrowser1, script);
    }

    bool idlePageShown() const {
        return form->WebBrowser1->url().toString().contains(u"abt.need"_s) &&
               !form->WebBrowser1->page()->isLoading();
    }

    int rowOf(const char* name) const {
        for (int i = 0; i < form->TorrentList->count(); ++i) {
            if (form->TorrentList->item(i)->text().contains(QLatin1StringView(name))) {
                return i;
            }
        }
        return -1;
    }

    // A click of the mouse on the row that shows `name`.
    void clickRow(const char* name) {
        const int row = rowOf(name);
        ASSERT_GE(row, 0) << name;
        const QRect rect = form->TorrentList->visualItemRect(form->TorrentList->item(row));
        QTest::mouseClick(form->TorrentList->viewport(), Qt::LeftButton, {}, rect.center());
    }

    int infoRequests(const std::string& id) const {
        int count = 0;
        for (const auto& request : service.requests()) {
            if (request.target == "/get_info.php?secret=bqZanhMLfyKdoe&id=" + id) {
                ++count;
            }
        }
        return count;
    }

    // The page on display is a built release page once its hidden magnet can be read.
    bool releasePageShown() const {
        return js(u"document.getElementById('magnet')?'y':null"_s).has_value();
    }

    bool imageLoaded(int index) const {
        return js(u"(function(){var i=document.images[%1];"
                  u"return i&&i.complete&&i.naturalWidth>0?'y':null;})()"_s.arg(index))
            .has_value();
    }

    bool cachedPageShown(const QString& id) const {
        return form->WebBrowser1->url() == QUrl::fromLocalFile(cacheFile(id)) &&
               !form->WebBrowser1->page()->isLoading();
    }

    // A click of the mouse on the element that `selector` finds in the page on display.
    void clickElement(const QString& selector) {
        const std::optional<QString> at =
            js(u"(function(){var e=document.querySelector(%1);if(!e)return null;"
               u"e.scrollIntoView();var r=e.getBoundingClientRect();"
               u"return Math.round(r.left+3)+','+Math.round(r.top+r.height/2);})()"_s.arg(
                   qb::releaseinfo::jsString(selector)));
        ASSERT_TRUE(at.has_value()) << selector.toStdString();
        const QStringList xy = at->split(u',');
        QWidget* target = form->WebBrowser1->focusProxy();
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(xy[0].toInt(), xy[1].toInt()));
    }

    static inline std::unique_ptr<ServiceStandin> sharedService;
    TorrServerStandin server;
    ServiceStandin& service = *sharedService;
};

TEST_F(ReleaseInfo, SelectedTorrentShowsItsBuiltPageAndCachesIt) {
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return releasePageShown(); }));

    EXPECT_EQ(infoRequests("107187"), 1);
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u"107187"_s);
    EXPECT_EQ(form->releaseInfo().infoPosterUrl(), base() + u"/img/posters/107187.jpg"_s);
    EXPECT_TRUE(form->releaseInfo().infoMagnet().startsWith(
        u"magnet:?xt=urn:btih:6E38DD076E2E61C511669A7B3628C2DE7111A92D&amp;dn=tracker.example_"_s))
        << form->releaseInfo().infoMagnet().toStdString();
    // Written in place: the view did not navigate away from the idle page's address.
    EXPECT_TRUE(form->WebBrowser1->url().toString().endsWith(u"/abt.need"_s));
    EXPECT_EQ(js(u"document.getElementById('magnet').innerHTML"_s),
              form->releaseInfo().infoMagnet());
    EXPECT_TRUE(waitUntil([&] { return imageLoaded(0) && imageLoaded(3); }))
        << "poster, screenshot";
    EXPECT_EQ(js(u"String(document.querySelectorAll('a[target=_blank]').length)"_s), u"5"_s);

    QFile file(cacheFile(u"107187"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString cached = QString::fromUtf8(bytes.mid(3));
    EXPECT_TRUE(cached.startsWith(u"<html><head><style>"_s));
    EXPECT_TRUE(cached.contains(u"Северное сияние"_s));
    EXPECT_TRUE(cached.endsWith(u"</div></body></html>"_s));
}

TEST_F(ReleaseInfo, CachedPageComesBackAfterAnotherWithItsPictures) {
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return releasePageShown(); }));
    clickRow("id_34A58");
    ASSERT_TRUE(waitUntil([&] { return form->releaseInfo().lastInfoId() == u"215640"_s; }));
    EXPECT_EQ(infoRequests("215640"), 1);
    form->releaseInfo().setInfoPosterUrl(QString());

    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return cachedPageShown(u"107187"_s); }));
    EXPECT_EQ(infoRequests("107187"), 1); // none more: the cache file was shown
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u""_s);
    ASSERT_TRUE(waitUntil([&] { return !form->releaseInfo().infoPosterUrl().isEmpty(); }));
    EXPECT_EQ(form->releaseInfo().infoPosterUrl(), base() + u"/img/posters/107187.jpg"_s);
    // The file page shows its poster and screenshots from their web addresses, its text in
    // the right encoding.
    EXPECT_TRUE(waitUntil([&] { return imageLoaded(0) && imageLoaded(3); }));
    EXPECT_TRUE(
        js(u"document.body.innerText"_s).value_or(QString()).contains(u"Северное сияние"_s));
}

TEST_F(ReleaseInfo, SameSelectionTwiceShowsThePageOnce) {
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return releasePageShown(); }));
    // The click's handler has run when the click returns: a second request would have gone out.
    clickRow("id_1A2B3");
    EXPECT_EQ(infoRequests("107187"), 1);
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u"107187"_s);
    EXPECT_FALSE(form->WebBrowser1->url().isLocalFile());
}

TEST_F(ReleaseInfo, TorrentMarkedForUpdateIsBuiltOnEverySelection) {
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return releasePageShown(); }));
    QListWidgetItem* row = form->TorrentList->item(rowOf("id_1A2B3"));
    row->setText(u"[update] "_s + row->text());
    form->connection().ShowIdlePage();
    ASSERT_TRUE(
        waitUntil([&] { return form->releaseInfo().lastInfoId().isEmpty() && idlePageShown(); }));

    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return form->releaseInfo().lastInfoId() == u"107187"_s; }));
    EXPECT_EQ(infoRequests("107187"), 2);
    EXPECT_EQ(form->releaseInfo().infoPosterUrl(), base() + u"/img/posters/107187.jpg"_s);
    EXPECT_FALSE(form->WebBrowser1->url().isLocalFile());
}

TEST_F(ReleaseInfo, TorrentWithoutReleaseIdShowsTheIdlePage) {
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return releasePageShown(); }));
    clickRow("Alpha");
    ASSERT_TRUE(waitUntil([&] { return idlePageShown(); }));
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u""_s);
}

TEST_F(ReleaseInfo, FailedRequestShowsTheErrorPageAndTriesAgainNextTime) {
    service.dropConnections("/get_info.php", 1);
    form->releaseInfo().setInfoMagnetForTest(u"earlier"_s);
    form->releaseInfo().setInfoPosterUrl(u"earlier"_s);
    form->releaseInfo().ShowReleaseInfo(u"107187"_s);
    EXPECT_EQ(js(u"document.images.length?document.images[0].getAttribute('src'):null"_s),
              u"http://127.0.0.1:8091/error_404.png"_s);
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u""_s);
    // No release is on display: the magnet of the earlier page is not offered for adding.
    EXPECT_EQ(form->releaseInfo().infoMagnet(), u""_s);
    EXPECT_EQ(form->releaseInfo().infoPosterUrl(), u""_s);
    EXPECT_FALSE(QFile::exists(cacheFile(u"107187"_s)));

    form->releaseInfo().ShowReleaseInfo(u"107187"_s);
    EXPECT_EQ(infoRequests("107187"), 2);
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u"107187"_s);
    EXPECT_TRUE(releasePageShown());
}

TEST_F(ReleaseInfo, EmptyAnswerShowsTheErrorPage) {
    service.answerWith("/get_info.php", 200, "", 1);
    form->releaseInfo().ShowReleaseInfo(u"107187"_s);
    EXPECT_EQ(js(u"document.body.innerHTML.indexOf('error_404.png')>0?'y':null"_s), u"y"_s);
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u""_s);
}

TEST_F(ReleaseInfo, UnwritableCacheFileIsReportedAndThePageStays) {
    ASSERT_TRUE(QDir(appDir()).mkpath(u"cache/107187.html/x"_s)); // a folder in the file's place
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return !messages->calls.empty(); }));
    EXPECT_EQ(messages->calls[0].icon, MessageIcon::Error);
    EXPECT_TRUE(messages->calls[0].text.contains(u"107187.html"_s));
    EXPECT_TRUE(releasePageShown());
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u"107187"_s);
}

TEST_F(ReleaseInfo, CastLinkClickOpensTheFilmDatabaseInTheBrowser) {
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return releasePageShown(); }));
    clickElement(u"a[target=_blank]"_s);
    ASSERT_TRUE(waitUntil([&] { return !browser->opened.empty(); }));
    const QUrl opened = browser->opened[0];
    EXPECT_EQ(opened.host(), u"www.filmdb.example"_s);
    EXPECT_TRUE(opened.query(QUrl::FullyDecoded).endsWith(u"m_act[find]= Иван Петров"_s))
        << opened.toString().toStdString();
    EXPECT_EQ(form->releaseInfo().lastInfoId(), u"107187"_s); // the view itself stayed where it was
}

// Links of a page that lead anywhere but the web open nothing.
TEST_F(ReleaseInfo, OnlyWebLinksOfAPageReachTheBrowser) {
    const QString links[] = {u"javascript:alert(1)"_s, u"file:///etc/passwd"_s,
                             u"data:text/html,x"_s,    u"ftp://host/x"_s,
                             u"relative/page.html"_s,  u"https://www.filmdb.example/ok"_s};
    QString html = u"<html><body>"_s;
    for (int i = 0; i < 6; ++i) {
        html += u"<p><a id=l%1 href=\"%2\" target=_blank "
                u"onclick=\"window.clicks=(window.clicks||0)+1\">link %1</a></p>"_s.arg(i)
                    .arg(links[i]);
    }
    ASSERT_TRUE(qb::releaseinfo::writeIntoView(form->WebBrowser1, html + u"</body></html>"_s));
    for (int i = 0; i < 6; ++i) {
        clickElement(u"#l%1"_s.arg(i));
        // The page counts the click before it asks for the new window, and the view answers
        // scripts after the requests that came before them: once this read sees the click,
        // the window's handler of its request (if the view made one) has run.
        ASSERT_TRUE(waitUntil([&] {
            return js(u"String(window.clicks||0)"_s) == QString::number(i + 1);
        })) << i;
    }
    ASSERT_EQ(browser->requested.size(), 1u);
    EXPECT_EQ(browser->requested[0], QUrl(u"https://www.filmdb.example/ok"_s));
}

TEST_F(ReleaseInfo, IdlePageShowsNoScrollBarsAndEmptiesTheLastId) {
    form->releaseInfo().setLastInfoIdForTest(u"107187"_s);
    form->connection().ShowIdlePage();
    EXPECT_TRUE(waitUntil([&] { return form->releaseInfo().lastInfoId().isEmpty(); }));
    ASSERT_TRUE(waitUntil([&] {
        return idlePageShown() &&
               js(u"document.body.style.overflowX+document.body.style.overflowY"_s) ==
                   u"hiddenhidden"_s;
    }));
    // Content larger than the view takes no room for scroll bars.
    js(u"var d=document.createElement('div');d.style.width='3000px';d.style.height='3000px';"
       u"document.body.appendChild(d);'ok'"_s);
    EXPECT_EQ(js(u"String(window.innerWidth-document.documentElement.clientWidth)+','+"
                 u"String(window.innerHeight-document.documentElement.clientHeight)"_s),
              u"0,0"_s);
}

TEST_F(ReleaseInfo, CachedPageKeepsItsScrollBars) {
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return releasePageShown(); }));
    form->connection().ShowIdlePage();
    ASSERT_TRUE(
        waitUntil([&] { return form->releaseInfo().lastInfoId().isEmpty() && idlePageShown(); }));
    form->releaseInfo().ShowReleaseInfo(u"107187"_s);
    ASSERT_TRUE(waitUntil([&] { return cachedPageShown(u"107187"_s); }));
    ASSERT_TRUE(waitUntil([&] { return imageLoaded(3); }));
    EXPECT_EQ(js(u"window.innerWidth>document.documentElement.clientWidth?'bar':null"_s), u"bar"_s);
}

// A cached page with a script of its own: it can neither read the user's files nor send
// requests to local services, nor move the view to a file outside the cache folder.
TEST_F(ReleaseInfo, CachedPageCannotReachFilesOrLocalServices) {
    QFile page(cacheFile(u"555"_s));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write(("<html><body><p id=r>start</p><script>"
                "var r=document.getElementById('r');"
                "try{var x=new XMLHttpRequest();x.open('GET','file:///etc/hostname',false);"
                "x.send();r.textContent='file read';}catch(e){r.textContent='file blocked';}"
                "fetch('" +
                service.baseUrl() +
                "/probe-fetch').then(function(){r.textContent+=' fetch done';},"
                "function(){r.textContent+=' fetch blocked';});"
                "var i=document.createElement('iframe');i.src='" +
                service.baseUrl() +
                "/probe-frame';document.body.appendChild(i);"
                "setTimeout(function(){location.href='file:///etc/hostname';"
                "r.textContent+=' moved';},100);"
                "</script></body></html>")
                   .c_str());
    page.close();

    form->releaseInfo().ShowReleaseInfo(u"555"_s);
    std::vector<QUrl> navigations;
    QObject::connect(static_cast<qb::releaseinfo::InfoViewPage*>(form->WebBrowser1->page()),
                     &qb::releaseinfo::InfoViewPage::navigating, form.get(),
                     [&navigations](const QUrl& address) { navigations.push_back(address); });
    ASSERT_TRUE(waitUntil([&] {
        return js(u"document.getElementById('r')?document.getElementById('r').textContent:null"_s) ==
               u"file blocked fetch blocked moved"_s;
    }));
    // The frame's refused load may still count as loading for a moment.
    EXPECT_TRUE(waitUntil([&] { return cachedPageShown(u"555"_s); }))
        << form->WebBrowser1->url().toString().toStdString();
    // The view takes navigations in order: once the idle page's own has begun, the page's
    // attempt has been decided.
    form->connection().ShowIdlePage();
    ASSERT_TRUE(waitUntil([&] {
        return !navigations.empty() && navigations.back().toString().contains(u"abt.need"_s);
    }));
    for (const QUrl& address : navigations) {
        EXPECT_NE(address, QUrl(u"file:///etc/hostname"_s));
    }
    for (const auto& request : service.requests()) {
        EXPECT_EQ(request.target.find("/probe"), std::string::npos) << request.target;
    }
}

class ReleaseInfoWithoutCache : public ReleaseInfo {
protected:
    bool withCacheFolder() const override { return false; }
};

TEST_F(ReleaseInfoWithoutCache, EverySelectionAfterAnotherPageFetchesAnew) {
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return releasePageShown(); }));
    clickRow("id_34A58");
    ASSERT_TRUE(waitUntil([&] { return form->releaseInfo().lastInfoId() == u"215640"_s; }));
    clickRow("id_1A2B3");
    ASSERT_TRUE(waitUntil([&] { return form->releaseInfo().lastInfoId() == u"107187"_s; }));
    EXPECT_EQ(infoRequests("107187"), 2);
    EXPECT_FALSE(QDir(appDir() + u"cache"_s).exists()); // never made by the program
}

} // namespace
