// Only http, https and file addresses reach the desktop's browser.
#include "platform/qt_browser.h"

#include <QDesktopServices>
#include <QObject>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Stands in for the desktop for every scheme the test uses, so nothing is really launched.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

struct Case {
    const char* address;
    bool passed;
};

class BrowserTest : public testing::TestWithParam<Case> {
protected:
    static constexpr const char* kSchemes[] = {"http",   "https",      "file", "ftp",
                                               "mailto", "javascript", "data", "smb"};
    void SetUp() override {
        for (const char* scheme : kSchemes) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder_, "open");
        }
    }
    void TearDown() override {
        for (const char* scheme : kSchemes) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
    }
    UrlRecorder recorder_;
};

TEST_P(BrowserTest, PassesOnlyOpenableAddresses) {
    const QUrl address(QString::fromUtf8(GetParam().address));
    qb::platform::QtBrowser().open(address);
    if (GetParam().passed) {
        ASSERT_EQ(recorder_.opened.size(), 1);
        EXPECT_EQ(recorder_.opened.first(), address);
    } else {
        EXPECT_TRUE(recorder_.opened.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, BrowserTest,
    testing::Values(Case{"http://127.0.0.1:8090/settings", true},
                    Case{"https://tracker.example/forum/viewtopic.php?t=12345", true},
                    Case{"HTTPS://tracker.example/", true},
                    Case{"file:///opt/quillbrook/cache/12345.html", true},
                    Case{"ftp://tracker.example/file", false},
                    Case{"mailto:someone@tracker.example", false},
                    Case{"javascript:alert(1)", false}, Case{"data:text/html,<b>x</b>", false},
                    Case{"smb://host/share", false}, Case{"http://", false}, Case{"", false},
                    Case{"/opt/quillbrook/cache/12345.html", false}));

TEST(WebAddress, AddressesFromPagesMustBeWebAddresses) {
    EXPECT_TRUE(qb::platform::isWebAddress(QUrl(u"https://www.filmdb.example/find?q=x"_s)));
    EXPECT_FALSE(qb::platform::isWebAddress(QUrl(u"file:///etc/passwd"_s)));
    EXPECT_TRUE(qb::platform::isOpenableAddress(QUrl(u"file:///etc/passwd"_s)));
}

} // namespace

#include "browser_test.moc"
