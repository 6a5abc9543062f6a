// The window's components (timers, tray icon, HTTP clients, workers) and the wiring of every
// event to its handler.
#include "app/tform1.h"

#include "app/app_core.h"
#include "app/window/app_icon.h"
#include "app/window/list_box.h"
#include "app/workers/bmd_thread.h"
#include "connection/api/server_apis.h"
#include "connection/connection.h"
#include "connection/http/http_client.h"
#include "lists/lists_and_series.h"
#include "playback/playback.h"
#include "search/tracker_search.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

// A job reaches the window only through calls to the window's thread (runOnWindowThread), which
// fail once the window's teardown has left the job behind.
template <class Room>
std::unique_ptr<qb::app::TBMDThread> makeWorker(Room& room, const QString& name,
                                                void (Room::*job)(qb::app::JobThread&)) {
    auto worker = std::make_unique<qb::app::TBMDThread>();
    worker->setObjectName(name);
    worker->setOnExecute([room = &room, job](qb::app::JobThread& thread) { (room->*job)(thread); });
    return worker;
}

ListBox* asListBox(QListWidget* list) {
    return static_cast<ListBox*>(list);
}

} // namespace

void TForm1::createComponents() {
    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(5000);
    UpdateTimer1 = new QTimer(this);
    UpdateTimer1->setObjectName(u"UpdateTimer1"_s);
    UpdateTimer1->setInterval(3600000);

    TrayIcon1 = new QSystemTrayIcon(qb::app::appIcon(), this);
    TrayIcon1->setObjectName(u"TrayIcon1"_s);
    TrayIcon1->setToolTip(u"Клиент Quillbrook"_s);
    TrayIcon1->setContextMenu(TrayMenu);
    if (Platform_.system->trayAvailable()) {
        TrayIcon1->show();
    }

    IdHTTP1 = qb::net::makeIdHttp1();
    IdHTTP3 = qb::net::makeIdHttp3();
    NetHTTPClient1 = qb::net::makeNetHttpClient1();
    NetHTTPClient2 = qb::net::makeNetHttpClient2();
    Ping1 = qb::net::makePing1();
    Servers = std::make_shared<qb::connection::ServerApis>(IdHTTP1, IdHTTP3, Ping1);

    BMDThread1 =
        makeWorker(playback(), u"BMDThread1"_s, &qb::playback::Playback::BMDThread1Execute);
    BMDThread2 =
        makeWorker(playback(), u"BMDThread2"_s, &qb::playback::Playback::BMDThread2Execute);
    AddThread = makeWorker(playback(), u"AddThread"_s, &qb::playback::Playback::AddThreadExecute);
    SRLAdd = makeWorker(search(), u"SRLAdd"_s, &qb::search::TrackerSearch::SRLAddExecute);
    CheckSerialsTH =
        makeWorker(lists(), u"CheckSerialsTH"_s, &qb::lists::ListsAndSeries::CheckSerialsTHExecute);
}

void TForm1::connectEvents() {
    connect(ConnectButton, &QPushButton::clicked, this,
            [this] { connection().ConnectButtonClick(); });
    connect(SettingBut, &QPushButton::clicked, this, [this] { connection().SettingButClick(); });
    connect(ChosePlayerBut, &QPushButton::clicked, this,
            [this] { playback().ChosePlayerButClick(); });
    connect(Search, &QPushButton::clicked, this, [this] { search().SearchClick(); });
    connect(Top1, &QPushButton::clicked, this, [this] { search().Top1Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { search().Button1Click(); });
    // A check box's click event also runs when code changes its state.
    connect(Local1, &QCheckBox::toggled, this, [this] { connection().Local1Click(); });
    connect(FHD1, &QCheckBox::toggled, this, [this] { search().FHD1Click(); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { core().Edit2Change(); });

    // Key preview: the window sees every key before its controls do. The same filter reports
    // the focus and mouse events of the edit boxes, buttons and check boxes.
    qApp->installEventFilter(this);

    ListBox* torrents = asListBox(TorrentList);
    connect(torrents, &ListBox::rowChosen, this, [this] { connection().TorrentListClick(); });
    connect(torrents, &ListBox::doubleClicked, this,
            [this] { connection().TorrentListDblClick(); });
    connect(torrents, &ListBox::focusEntered, this, [this] { connection().TorrentListEnter(); });
    connect(torrents, &ListBox::mouseDown, this, [this](Qt::MouseButton b, const QPoint& at) {
        connection().TorrentListMouseDown(b, at);
    });
    connect(torrents, &ListBox::mouseUp, this, [this] { connection().TorrentListMouseUp(); });
    connect(torrents, &ListBox::mouseEntered, this,
            [this] { connection().TorrentListMouseEnter(); });
    connect(torrents, &ListBox::mouseLeft, this, [this] { connection().TorrentListMouseLeave(); });
    torrents->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(torrents, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (connection().torrentListPopupOn()) {
            TorListPopup->popup(TorrentList->viewport()->mapToGlobal(at));
        }
    });
    connect(torrents, &ListBox::dropped, this,
            [this](const QStringList& files, const QString& url) {
                playback().DropURLDrop(files, url);
            });

    ListBox* results = asListBox(SearchResult);
    connect(results, &ListBox::rowChosen, this, [this] { search().SearchResultClick(); });
    connect(results, &ListBox::doubleClicked, this, [this] { search().SearchResultDblClick(); });
    connect(results, &ListBox::mouseDown, this,
            [this](Qt::MouseButton b, const QPoint& at) { search().SearchResultMouseDown(b, at); });
    connect(results, &ListBox::mouseUp, this, [this] { search().SearchResultMouseUp(); });
    connect(results, &ListBox::mouseEntered, this, [this] { search().SearchResultMouseEnter(); });
    connect(results, &ListBox::mouseLeft, this, [this] { search().SearchResultMouseLeave(); });
    connect(results, &ListBox::mouseMoved, this,
            [this](const QPoint& at) { search().SearchResultMouseMove(at); });
    results->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(results, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (search().resultsPopupOn()) {
            PopupMenu1->popup(SearchResult->viewport()->mapToGlobal(at));
        }
    });
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { search().PopupMenu1Popup(); });

    ListBox* files = asListBox(AddList);
    connect(files, &ListBox::rowChosen, this, [this] { playback().AddListClick(); });
    connect(files, &ListBox::doubleClicked, this, [this] { playback().AddListDblClick(); });
    connect(files, &ListBox::mouseDown, this,
            [this](Qt::MouseButton b, const QPoint& at) { playback().AddListMouseDown(b, at); });
    connect(files, &ListBox::mouseEntered, this, [this] { playback().AddListMouseEnter(); });
    connect(files, &ListBox::mouseLeft, this, [this] { playback().AddListMouseLeave(); });
    files->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(files, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (playback().fileListPopupOn()) {
            AddListPopup->popup(AddList->viewport()->mapToGlobal(at));
        }
    });

    const std::pair<QAction*, void (*)(TForm1&)> items[] = {
        {N5, [](TForm1& w) { w.core().N5Click(); }},
        {N20, [](TForm1& w) { w.connection().N20Click(); }},
        {N22, [](TForm1& w) { w.connection().N22Click(); }},
        {N23, [](TForm1& w) { w.lists().N23Click(); }},
        {N24, [](TForm1& w) { w.lists().N24Click(); }},
        {N25, [](TForm1& w) { w.lists().N25Click(); }},
        {MenuItem4, [](TForm1& w) { w.core().MenuItem4Click(); }},
        {mPlay, [](TForm1& w) { w.playback().mPlayClick(); }},
        {N18, [](TForm1& w) { w.playback().N18Click(); }},
        {m3u2, [](TForm1& w) { w.playback().m3u2Click(); }},
        {C1, [](TForm1& w) { w.connection().C1Click(); }},
        {mDel, [](TForm1& w) { w.connection().mDelClick(); }},
        {update1, [](TForm1& w) { w.lists().update1Click(); }},
        {TLopenID, [](TForm1& w) { w.connection().TLopenIDClick(); }},
        {m3u1, [](TForm1& w) { w.playback().m3u1Click(); }},
        {N4, [](TForm1& w) { w.search().SearchResultDblClick(); }},
        {N2, [](TForm1& w) { w.search().N2Click(); }},
        {C2, [](TForm1& w) { w.search().C2Click(); }},
        {N16, [](TForm1& w) { w.search().N16Click(); }},
        {N1, [](TForm1& w) { w.search().N1Click(); }},
        {MenuItem1, [](TForm1& w) { w.playback().MenuItem1Click(); }},
        {MenuItem2, [](TForm1& w) { w.playback().MenuItem2Click(); }},
    };
    for (const auto& [item, handler] : items) {
        connect(item, &QAction::triggered, this, [this, handler = handler] { handler(*this); });
    }
    for (QAction* category : CatMenu1->actions()) {
        connect(category, &QAction::triggered, this,
                [this, category] { search().CategoryClick(category); });
    }

    connect(Timer1, &QTimer::timeout, this, [this] { connection().Timer1Timer(); });
    connect(UpdateTimer1, &QTimer::timeout, this, [this] { lists().UpdateTimer1Timer(); });

    connect(TrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    core().TrayIcon1Click();
                }
            });
    connect(TrayIcon1, &QSystemTrayIcon::messageClicked, this,
            [this] { core().TrayIcon1BalloonClick(); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) {
                    core().ApplicationEvents1Activate();
                } else {
                    core().ApplicationEvents1Deactivate();
                }
            });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // A key that no control takes travels up to the parents; only its first delivery counts.
    // With no control focused, the window itself receives the key.
    const QWidget* focused = QApplication::focusWidget();
    const bool firstDelivery =
        focused != nullptr ? watched == focused : watched == static_cast<QObject*>(this);
    if (type == QEvent::KeyPress && firstDelivery &&
        static_cast<QWidget*>(watched)->window() == this) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        core().FormShortCut(key);
        if (watched == SrvAdress) {
            connection().SrvAdressKeyDown(key);
        } else if (watched == SearchT) {
            search().SearchTKeyDown(key);
        }
        return false;
    }
    if (watched == SrvAdress && type == QEvent::FocusIn) {
        connection().SrvAdressEnter();
    } else if (watched == SrvAdress && type == QEvent::FocusOut) {
        connection().SrvAdressExit();
    } else if (type == QEvent::MouseButtonRelease) {
        if (watched == ConnectButton) {
            // Let the button run its click first, as the release is reported after it.
            QMetaObject::invokeMethod(
                this, [this] { connection().ConnectButtonMouseUp(); }, Qt::QueuedConnection);
        } else if (watched == Local1) {
            QMetaObject::invokeMethod(
                this, [this] { connection().Local1MouseUp(); }, Qt::QueuedConnection);
        } else if (watched == FHD1) {
            QMetaObject::invokeMethod(
                this, [this] { search().FHD1MouseUp(); }, Qt::QueuedConnection);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        core().FormActivationChange(isActiveWindow());
    } else if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        core().FormSystemCommandMinimize();
    }
    QMainWindow::changeEvent(event);
}
