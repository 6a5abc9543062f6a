#pragma once

#include "app/hand_off.h"
#include "connection/list/server_entries.h"
#include "platform/platform.h"
#include "search/search_record.h"

#include <QMainWindow>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QColor;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPainter;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSystemTrayIcon;
class QTextEdit;
class QTimer;
class QWebEngineDownloadRequest;
class QWebEngineView;

namespace qb::net {
class HttpClient;
struct HttpResult;
} // namespace qb::net
namespace qb::connection {
class ServerApis;
class TorrServerApi;
} // namespace qb::connection
namespace qb::app {
class TBMDThread;
class JobThread;
} // namespace qb::app

// The main window. Every user action of the program is one of its handlers; the handlers are
// defined in the folder of their subsystem (app/, connection/, playback/, search/,
// releaseinfo/, lists/), the widget set in app/main_window_widgets.cpp.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(qb::platform::Platform platform, QWidget* parent = nullptr);
    ~TForm1() override;

    // Runs the start-up sequence. Returns false when the program must end without showing
    // the window (the service did not answer the version fetch).
    bool FormCreate();

    // --- Widgets (names as the window's users and tests know them) ---
    QLabel* Label1 = nullptr;
    QLineEdit* SrvAdress = nullptr;
    QPushButton* ConnectButton = nullptr;
    QPushButton* SettingBut = nullptr;
    QListWidget* TorrentList = nullptr;
    QLabel* LogP = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* ChosePlayerBut = nullptr;
    QLabel* status = nullptr;
    QCheckBox* Local1 = nullptr;
    QCheckBox* FHD1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* SearchT = nullptr;
    QPushButton* Search = nullptr;
    QPushButton* Top1 = nullptr;
    QPushButton* Button1 = nullptr;
    QListWidget* SearchResult = nullptr;
    QListWidget* AddList = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QWebEngineView* WebBrowser1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QListWidget* UpdateList1 = nullptr;

    QSystemTrayIcon* TrayIcon1 = nullptr;
    QMenu* TrayMenu = nullptr;
    QMenu* TorListPopup = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* AddListPopup = nullptr;
    QMenu* CatMenu1 = nullptr;

    // Menu items.
    QAction *N5 = nullptr, *N20 = nullptr, *N22 = nullptr, *N27 = nullptr, *N23 = nullptr,
            *N24 = nullptr, *N25 = nullptr, *N26 = nullptr, *MenuItem4 = nullptr;
    QAction *mPlay = nullptr, *N18 = nullptr, *m3u2 = nullptr, *C1 = nullptr, *mDel = nullptr,
            *N28 = nullptr, *update1 = nullptr, *TLopenID = nullptr, *N3 = nullptr, *m3u1 = nullptr;
    QAction *N4 = nullptr, *N2 = nullptr, *C2 = nullptr, *N17 = nullptr, *N16 = nullptr,
            *N1 = nullptr;
    QAction *MenuItem1 = nullptr, *MenuItem2 = nullptr;
    QAction *N6 = nullptr, *N7 = nullptr, *N8 = nullptr, *N9 = nullptr, *N10 = nullptr,
            *N11 = nullptr, *N12 = nullptr, *N13 = nullptr, *N14 = nullptr, *N15 = nullptr;

    QTimer* Timer1 = nullptr;
    QTimer* UpdateTimer1 = nullptr;

    // --- HTTP clients and workers, created with the window and released with it ---
    // A job takes the clients it uses on the window's thread when it begins: a job left behind
    // by the teardown may still finish a request after the window is gone.
    std::shared_ptr<qb::net::HttpClient> IdHTTP1, IdHTTP3, NetHTTPClient1, NetHTTPClient2, Ping1;
    // Every TorrServer request, said in the interface of the server's generation (over IdHTTP1,
    // IdHTTP3 and Ping1, which it shares); a job takes it in the same way.
    std::shared_ptr<qb::connection::ServerApis> Servers;
    std::unique_ptr<qb::app::TBMDThread> BMDThread1, BMDThread2, AddThread, SRLAdd, CheckSerialsTH;

    // --- Window-wide state ---
    QString PendingHandOff = qb::app::kHandOffIdle;
    bool FirstShow = false;
    bool StartMinimized = false;
    bool LocalServerRunning = false;
    bool TransientStatus = false;
    bool PreloadCancelled = false;
    bool PlaySourceSearch = false;
    bool PlaySourceFiles = false;
    // The preload request of the running playback has been answered: the server has finished.
    bool PreloadAnswered = false;

    // Settings as read at start (only PlayerPath changes later).
    QString PlayerPath, ServerAddress, ServiceBaseUrl;
    QString MinimizeSetting, LocalServerSetting, KeepLocalServerSetting;
    // Set when the settings file could not be written, so the user is told only once.
    bool SettingsWriteFailureReported = false;

    // Sorted entries of the last list answer, read as JSON values when asked for.
    qb::connection::ServerEntries ServerList;
    nlohmann::ordered_json FilesList = nlohmann::ordered_json::array();
    QString SelectedReleaseId;
    QString InfoMagnet, InfoPosterUrl;
    // The records of the last search, index-aligned with the rows of SearchResult.
    std::vector<qb::search::SearchRecord> SearchResults;
    // The job of SRLAdd: "add", "update" or empty; set by its starter, emptied when done.
    QString SRLAddMode;
    QString RemoteVersion;

    qb::platform::Platform& platform() { return Platform_; }
    // The interface of the server at the address the field holds now (window's thread only).
    qb::connection::TorrServerApi& server();
    // Folder of the program, or the user's data folder of an installed program: the local
    // server's "server/" folder and "tmp.torrent" lie under it. Trailing "/".
    const QString& AppDir() const { return Platform_.appDir; }
    // Folder of app.json: AppDir, or the user's settings folder of an installed program.
    QString SettingsDir() const { return Platform_.settingsDir(); }
    // Folder of the release pages' cache: AppDir + "cache/", or the user's cache folder.
    QString CacheDir() const { return Platform_.cacheDir(); }

    // --- Handlers: application core ---
    void FormShow();
    bool FormCloseQuery();
    void FormDestroy();
    void FormShortCut(int key);
    bool FormSystemCommandMinimize();
    void FormActivationChange(bool active);
    void ApplicationEvents1Activate();
    void ApplicationEvents1Deactivate();
    void TrayIcon1Click();
    void TrayIcon1BalloonClick();
    void N5Click();
    void MenuItem4Click();
    void Edit2Change();
    void RaiseMainWindow();
    void ShowUpdateOffer();
    bool FetchRemoteVersion();

    // --- Handlers: connection and torrent list ---
    void ConnectButtonClick();
    void ConnectButtonMouseUp();
    void SrvAdressEnter();
    void SrvAdressExit();
    void SrvAdressKeyDown(int key);
    void Timer1Timer();
    void CountsLine();
    void ShowIdlePage();
    void TorrentListDrawItem(QPainter* painter, int index, const QRect& rect, bool selected);
    void TorrentListClick();
    void TorrentListDblClick();
    void TorrentListEnter();
    void TorrentListMouseDown(Qt::MouseButton button, const QPoint& at);
    void TorrentListMouseUp();
    void TorrentListMouseEnter();
    void TorrentListMouseLeave();
    void Local1Click();
    void Local1MouseUp();
    void mDelClick();
    void C1Click();
    void SettingButClick();
    void N20Click();
    void N22Click();
    void TLopenIDClick();

    // --- Handlers: adding and playing ---
    void DropURLDrop(const QStringList& files, const QString& url);
    void AddThreadExecute(qb::app::JobThread& thread);
    void mPlayClick();
    void ChosePlayerButClick();
    void BMDThread1Execute(qb::app::JobThread& thread);
    void BMDThread2Execute(qb::app::JobThread& thread);
    void N18Click();
    void m3u1Click();
    void m3u2Click();
    void AddListClick();
    void AddListDblClick();
    void AddListDrawItem(QPainter* painter, int index, const QRect& rect, bool selected);
    void AddListMouseDown(Qt::MouseButton button, const QPoint& at);
    void AddListMouseEnter();
    void AddListMouseLeave();
    void MenuItem1Click();
    void MenuItem2Click();
    // AppDir + "server/tmp.m3u": the one playlist file handed to the player.
    QString PlayerPlaylist() const;
    // Whether a right click on AddList opens AddListPopup: off until AddListMouseDown finds a row.
    bool AddListAutoPopup = false;
    // A preload runs (or a list import shows its progress): the play commands do nothing.
    bool playbackBusy() const;
    // Tells the user to choose a player when there is none; otherwise shows the chosen one on
    // ChosePlayerBut. False when there is none.
    bool playerChosen();
    // Writes the player's playlist; a failure is reported and answers false.
    bool writePlayerPlaylist(const QByteArray& bytes);
    // Starts the preload of the source the flags name; the player follows when it has finished.
    void startPreload(bool fromSearch, bool fromFiles);
    void startPlayer();
    // The view downloads the address itself: it asks where to save and shows the progress.
    void downloadThroughView(const QString& address, const QString& fileName);
    // The window is closing or being taken apart: a preload ends without starting the player.
    bool windowClosing() const { return Closing_ || Destroyed_; }

    // --- Handlers: search ---
    void SearchClick();
    void SearchTKeyDown(int key);
    void Top1Click();
    void Button1Click();
    void CategoryClick(QAction* item);
    void FHD1Click();
    void FHD1MouseUp();
    void SearchResultClick();
    void SearchResultDblClick();
    void SearchResultDrawItem(QPainter* painter, int index, const QRect& rect, bool selected);
    void SearchResultMouseDown(Qt::MouseButton button, const QPoint& at);
    void SearchResultMouseEnter();
    void SearchResultMouseLeave();
    void SearchResultMouseMove(const QPoint& at);
    void SearchResultMouseUp();
    void PopupMenu1Popup();
    void N2Click();
    void C2Click();
    void N16Click();
    void N1Click();
    void SRLAddExecute(qb::app::JobThread& thread);
    void GetTList(const QString& addr);
    void showSR(const QString& s);
    // The line store of the hidden Memo1: the last prepared answer, one table row per line,
    // kept so that the resolution filter can read it again without a request.
    QStringList SearchLines;
    // The row of SearchResult under the pointer at the last move, -1 before any.
    int LastHoverRow = -1;
    // Whether a right click on SearchResult opens PopupMenu1 (only on a row).
    bool SearchResultAutoPopup = false;
    // The record of the selected row of SearchResult; nullptr without one.
    const qb::search::SearchRecord* selectedSearchRecord() const;
    void setSearchControlsEnabled(bool enabled);

    // --- Handlers: release information ---
    void ShowReleaseInfo(const QString& releaseId);
    void WebBrowser1DownloadRequested(QWebEngineDownloadRequest* download);
    void WebBrowser1BeforeNavigate2(const QUrl& address);
    void WebBrowser1DocumentComplete(const QUrl& address, bool ok);
    void WebBrowser1NewWindow2();
    // The release id of the page last written into the view; every navigation empties it.
    QString LastInfoId;
    // Counts the pages given to the view (written, or loaded from an address), so that a page
    // build that let other handlers run can tell whether its page is still the one on display.
    quint64 InfoPagesGiven = 0;
    // The cache file being loaded into the view, whose poster is read once it has loaded.
    QUrl PendingCachedPage;
    // Fetches, builds, shows and caches the page of a release.
    void buildReleaseInfo(const QString& releaseId);
    void cacheReleasePage(const QString& releaseId, const QString& html);
    // Gives the view its page, which holds what pages may do, and wires the view's events; the
    // first call starts the web engine, later ones do nothing. Everything that loads into the
    // view or downloads through it calls it first.
    void connectInfoViewEvents();
    bool InfoViewStarted = false;
    // Starts the web engine and the page's renderer with an empty page, unless something has
    // been put into the view already.
    void warmUpInfoView();

    // --- Handlers: lists and series ---
    void N23Click();
    void N24Click();
    void N25Click();
    void update1Click();
    void UpdateTimer1Timer();
    void CheckSerialsTHExecute(qb::app::JobThread& thread);
    // The add loop of both imports over the lines held in Memo2; the form names failed lines.
    void addListLines(const QStringList& lines, bool longErrorEntries);
    // Removes the torrents with these hashes for the replacing import; false when it must end.
    bool removeForImport(const QStringList& hashes);
    // The series check's announcement: the tray balloon, or a notice in the window without one.
    void showUpdateBalloon();
    // Where the desktop has no tray, TrayMenu opens from a button and from the status panel.
    void offerTrayMenuWithoutTray();
    // Set while an import runs, so that a second one cannot start inside its waits.
    bool ImportRunning = false;
    QPushButton* TrayMenuButton = nullptr;
    QPushButton* UpdateNotice = nullptr;
    QTimer* UpdateNoticeTimer = nullptr;

Q_SIGNALS:
    // Each announcement of the series check, whichever way it was shown.
    void UpdateBalloonShown(const QString& text);

public:
    // Shows a modal message box owned by the window.
    qb::platform::MessageAnswer
    message(const QString& text, const QString& title, qb::platform::MessageIcon icon,
            qb::platform::MessageButtons buttons = qb::platform::MessageButtons::Ok);

    // Moves the keyboard focus away from every visible control.
    void takeFocusFromControls();
    // The refresh, as a click on ConnectButton; from a job it runs on the window's thread.
    void clickConnectButton();
    // The entry of ServerList shown by the selected row of TorrentList; nullptr without one.
    const nlohmann::ordered_json* selectedEntry() const;
    // The rows of UpdateList1.
    QStringList updateRows() const;
    // Whether a right click on TorrentList opens TorListPopup; on until a click finds no row.
    bool TorListAutoPopup = true;
    // A text handed over by a second copy: put into Edit2 now, or after the adding in progress.
    void receiveHandOff(const QString& text);
    QStringList HandOffQueue;
    // What the last drop on TorrentList carried: file paths joined by CR LF, and the address.
    QString DroppedFiles, DroppedUrl;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createWidgets();
    void createMenus();
    void createComponents();
    void connectEvents();
    void setStatus(const QString& caption, const QColor& colour);
    void hideToTray();
    void setUnreachable();
    bool addHandedOver(const std::function<qb::net::HttpResult()>& send);
    void addedClosingSequence();

    qb::platform::Platform Platform_;
    bool Destroyed_ = false;
    bool Closing_ = false;
};
