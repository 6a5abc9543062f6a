#pragma once

#include "platform/platform.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>

class QAction;
class QCheckBox;
class QColor;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSystemTrayIcon;
class QTextEdit;
class QTimer;
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
class AppCore;
class TBMDThread;
class JobThread;
} // namespace qb::app
namespace qb::connection {
class Connection;
}
namespace qb::playback {
class Playback;
}
namespace qb::search {
class TrackerSearch;
}
namespace qb::releaseinfo {
class ReleaseInfo;
}
namespace qb::lists {
class ListsAndSeries;
}

// The main window, and the composition root of the program: it owns the widgets (created in
// app/window/), the HTTP clients, the workers and one room per subsystem (app core, connection
// and torrent list, playback, search, release information, lists and series). Every user action
// is a handler of the room of its subsystem; a room asks another through its named questions,
// never through its data. The window wires each event to its handler (app/window/).
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(qb::platform::Platform platform, QWidget* parent = nullptr);
    ~TForm1() override;

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

    QPushButton* TrayMenuButton = nullptr;
    QPushButton* UpdateNotice = nullptr;
    QTimer* UpdateNoticeTimer = nullptr;

    // --- The rooms: each subsystem owns its handlers and the state only it writes ---
    qb::app::AppCore& core() { return *Core_; }
    qb::connection::Connection& connection() { return *Connection_; }
    const qb::connection::Connection& connection() const { return *Connection_; }
    qb::playback::Playback& playback() { return *Playback_; }
    const qb::playback::Playback& playback() const { return *Playback_; }
    qb::search::TrackerSearch& search() { return *Search_; }
    const qb::search::TrackerSearch& search() const { return *Search_; }
    qb::releaseinfo::ReleaseInfo& releaseInfo() { return *ReleaseInfo_; }
    qb::lists::ListsAndSeries& lists() { return *Lists_; }

    // --- Services of the window that every room uses ---
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
    // Shows a modal message box owned by the window.
    qb::platform::MessageAnswer
    message(const QString& text, const QString& title, qb::platform::MessageIcon icon,
            qb::platform::MessageButtons buttons = qb::platform::MessageButtons::Ok);
    // Moves the keyboard focus away from every visible control.
    void takeFocusFromControls();
    // The status panel's caption and colour.
    void setStatus(const QString& caption, const QColor& colour);
    // LogP shows a download's outcome, which the window clears once it loses the focus.
    void setTransientStatus(bool transient) { TransientStatus_ = transient; }
    bool transientStatus() const { return TransientStatus_; }
    // The window is closing or being taken apart: a preload ends without starting the player.
    bool windowClosing() const;

    // --- HTTP clients and workers, created with the window and released with it ---
    // A job takes the clients it uses on the window's thread when it begins: a job left behind
    // by the teardown may still finish a request after the window is gone.
    const std::shared_ptr<qb::net::HttpClient>& idHttp1() const { return IdHTTP1; }
    const std::shared_ptr<qb::net::HttpClient>& idHttp3() const { return IdHTTP3; }
    const std::shared_ptr<qb::net::HttpClient>& netHttpClient1() const { return NetHTTPClient1; }
    const std::shared_ptr<qb::net::HttpClient>& netHttpClient2() const { return NetHTTPClient2; }
    const std::shared_ptr<qb::net::HttpClient>& ping1() const { return Ping1; }
    // Every TorrServer request, said in the interface of the server's generation (over IdHTTP1,
    // IdHTTP3 and Ping1, which it shares); a job takes it in the same way.
    const std::shared_ptr<qb::connection::ServerApis>& servers() const { return Servers; }
    // The workers; nullptr once the teardown has released them.
    qb::app::TBMDThread* bmdThread1() const { return BMDThread1.get(); }
    qb::app::TBMDThread* bmdThread2() const { return BMDThread2.get(); }
    qb::app::TBMDThread* addThread() const { return AddThread.get(); }
    qb::app::TBMDThread* srlAdd() const { return SRLAdd.get(); }
    qb::app::TBMDThread* checkSerialsTH() const { return CheckSerialsTH.get(); }
    // Stops every worker and ends every transfer, then releases the workers (the teardown).
    void stopJobsAndTransfers();
    void releaseWorkers();

Q_SIGNALS:
    // Each announcement of the series check, whichever way it was shown.
    void UpdateBalloonShown(const QString& text);

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
    void shutDownClients();

    qb::platform::Platform Platform_;
    std::unique_ptr<qb::app::AppCore> Core_;
    std::unique_ptr<qb::connection::Connection> Connection_;
    std::unique_ptr<qb::playback::Playback> Playback_;
    std::unique_ptr<qb::search::TrackerSearch> Search_;
    std::unique_ptr<qb::releaseinfo::ReleaseInfo> ReleaseInfo_;
    std::unique_ptr<qb::lists::ListsAndSeries> Lists_;
    std::shared_ptr<qb::net::HttpClient> IdHTTP1, IdHTTP3, NetHTTPClient1, NetHTTPClient2, Ping1;
    std::shared_ptr<qb::connection::ServerApis> Servers;
    std::unique_ptr<qb::app::TBMDThread> BMDThread1, BMDThread2, AddThread, SRLAdd, CheckSerialsTH;
    bool TransientStatus_ = false;
    bool Closing_ = false;
};
