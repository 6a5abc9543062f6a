#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QWebEngineDownloadRequest;
class TForm1;

namespace qb::releaseinfo {

// The release page in WebBrowser1: fetching, building, showing and caching it, what it links
// to, and what the view downloads. It keeps the magnet and poster of the page on display.
class ReleaseInfo : public QObject {
public:
    explicit ReleaseInfo(TForm1& form)
        : Form(form) {}

    void ShowReleaseInfo(const QString& releaseId);
    void WebBrowser1DownloadRequested(QWebEngineDownloadRequest* download);
    void WebBrowser1BeforeNavigate2(const QUrl& address);
    void WebBrowser1DocumentComplete(const QUrl& address, bool ok);
    void WebBrowser1NewWindow2();

    // Gives the view its page, which holds what pages may do, and wires the view's events; the
    // first call starts the web engine, later ones do nothing. Everything that loads into the
    // view or downloads through it calls it first.
    void connectInfoViewEvents();
    // Starts the web engine and the page's renderer with an empty page, unless something has
    // been put into the view already.
    void warmUpInfoView();
    bool viewStarted() const { return InfoViewStarted; }

    // The magnet and poster of the release on display (or of the torrent last clicked).
    const QString& infoMagnet() const { return InfoMagnet; }
    const QString& infoPosterUrl() const { return InfoPosterUrl; }
    // The poster the search service has checked for a release being added.
    void setInfoPosterUrl(const QString& poster) { InfoPosterUrl = poster; }
    // Takes the poster and magnet of the page on display from the page itself.
    void takePosterAndMagnetFromView();
    // The release id of the page last written into the view; every navigation empties it.
    const QString& lastInfoId() const { return LastInfoId; }

    // Tests arrange the page on display.
    void setInfoMagnetForTest(const QString& magnet) { InfoMagnet = magnet; }
    void setLastInfoIdForTest(const QString& id) { LastInfoId = id; }

private:
    // Fetches, builds, shows and caches the page of a release.
    void buildReleaseInfo(const QString& releaseId);
    void cacheReleasePage(const QString& releaseId, const QString& html);

    TForm1& Form;
    QString InfoMagnet, InfoPosterUrl;
    QString LastInfoId;
    // Counts the pages given to the view (written, or loaded from an address), so that a page
    // build that let other handlers run can tell whether its page is still the one on display.
    quint64 InfoPagesGiven = 0;
    // The cache file being loaded into the view, whose poster is read once it has loaded.
    QUrl PendingCachedPage;
    bool InfoViewStarted = false;
};

} // namespace qb::releaseinfo
