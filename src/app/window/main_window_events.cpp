// The window's components (timers, tray icon, HTTP clients, workers) and the wiring of every
// event to its handler.
#include "app/tform1.h"

#include "app/window/app_icon.h"
#include "app/window/list_box.h"
#include "app/workers/bmd_thread.h"
#include "connection/api/server_apis.h"
#include "connection/http/http_client.h"

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
std::unique_ptr<qb::app::TBMDThread> makeWorker(TForm1* form, const QString& name,
                                                void (TForm1::*job)(qb::app::JobThread&)) {
    auto worker = std::make_unique<qb::app::TBMDThread>();
    worker->setObjectName(name);
    worker->setOnExecute([form, job](qb::app::JobThread& thread) { (form->*job)(thread); });
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

    BMDThread1 = makeWorker(this, u"BMDThread1"_s, &TForm1::BMDThread1Execute);
    BMDThread2 = makeWorker(this, u"BMDThread2"_s, &TForm1::BMDThread2Execute);
    AddThread = makeWorker(this, u"AddThread"_s, &TForm1::AddThreadExecute);
    SRLAdd = makeWorker(this, u"SRLAdd"_s, &TForm1::SRLAddExecute);
    CheckSerialsTH = makeWorker(this, u"CheckSerialsTH"_s, &TForm1::CheckSerialsTHExecute);
}

void TForm1::connectEvents() {
    connect(ConnectButton, &QPushButton::clicked, this, [this] { ConnectButtonClick(); });
    connect(SettingBut, &QPushButton::clicked, this, [this] { SettingButClick(); });
    connect(ChosePlayerBut, &QPushButton::clicked, this, [this] { ChosePlayerButClick(); });
    connect(Search, &QPushButton::clicked, this, [this] { SearchClick(); });
    connect(Top1, &QPushButton::clicked, this, [this] { Top1Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    // A check box's click event also runs when code changes its state.
    connect(Local1, &QCheckBox::toggled, this, [this] { Local1Click(); });
    connect(FHD1, &QCheckBox::toggled, this, [this] { FHD1Click(); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { Edit2Change(); });

    // Key preview: the window sees every key before its controls do. The same filter reports
    // the focus and mouse events of the edit boxes, buttons and check boxes.
    qApp->installEventFilter(this);

    ListBox* torrents = asListBox(TorrentList);
    connect(torrents, &ListBox::rowChosen, this, [this] { TorrentListClick(); });
    connect(torrents, &ListBox::doubleClicked, this, [this] { TorrentListDblClick(); });
    connect(torrents, &ListBox::focusEntered, this, [this] { TorrentListEnter(); });
    connect(torrents, &ListBox::mouseDown, this,
            [this](Qt::MouseButton b, const QPoint& at) { TorrentListMouseDown(b, at); });
    connect(torrents, &ListBox::mouseUp, this, [this] { TorrentListMouseUp(); });
    connect(torrents, &ListBox::mouseEntered, this, [this] { TorrentListMouseEnter(); });
    connect(torrents, &ListBox::mouseLeft, this, [this] { TorrentListMouseLeave(); });
    torrents->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(torrents, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (TorListAutoPopup) {
            TorListPopup->popup(TorrentList->viewport()->mapToGlobal(at));
        }
    });
    connect(torrents, &ListBox::dropped, this,
            [this](const QStringList& files, const QString& url) { DropURLDrop(files, url); });

    ListBox* results = asListBox(SearchResult);
    connect(results, &ListBox::rowChosen, this, [this] { SearchResultClick(); });
    connect(results, &ListBox::doubleClicked, this, [this] { SearchResultDblClick(); });
    connect(results, &ListBox::mouseDown, this,
            [this](Qt::MouseButton b, const QPoint& at) { SearchResultMouseDown(b, at); });
    connect(results, &ListBox::mouseUp, this, [this] { SearchResultMouseUp(); });
    connect(results, &ListBox::mouseEntered, this, [this] { SearchResultMouseEnter(); });
    connect(results, &ListBox::mouseLeft, this, [this] { SearchResultMouseLeave(); });
    connect(results, &ListBox::mouseMoved, this,
            [this](const QPoint& at) { SearchResultMouseMove(at); });
    results->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(results, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (SearchResultAutoPopup) {
            PopupMenu1->popup(SearchResult->viewport()->mapToGlobal(at));
        }
    });
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });

    ListBox* files = asListBox(AddList);
    connect(files, &ListBox::rowChosen, this, [this] { AddListClick(); });
    connect(files, &ListBox::doubleClicked, this, [this] { AddListDblClick(); });
    connect(files, &ListBox::mouseDown, this,
            [this](Qt::MouseButton b, const QPoint& at) { AddListMouseDown(b, at); });
    connect(files, &ListBox::mouseEntered, this, [this] { AddListMouseEnter(); });
    connect(files, &ListBox::mouseLeft, this, [this] { AddListMouseLeave(); });
    files->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(files, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (AddListAutoPopup) {
            AddListPopup->popup(AddList->viewport()->mapToGlobal(at));
        }
    });

    const std::pair<QAction*, void (TForm1::*)()> items[] = {
        {N5, &TForm1::N5Click},
        {N20, &TForm1::N20Click},
        {N22, &TForm1::N22Click},
        {N23, &TForm1::N23Click},
        {N24, &TForm1::N24Click},
        {N25, &TForm1::N25Click},
        {MenuItem4, &TForm1::MenuItem4Click},
        {mPlay, &TForm1::mPlayClick},
        {N18, &TForm1::N18Click},
        {m3u2, &TForm1::m3u2Click},
        {C1, &TForm1::C1Click},
        {mDel, &TForm1::mDelClick},
        {update1, &TForm1::update1Click},
        {TLopenID, &TForm1::TLopenIDClick},
        {m3u1, &TForm1::m3u1Click},
        {N4, &TForm1::SearchResultDblClick},
        {N2, &TForm1::N2Click},
        {C2, &TForm1::C2Click},
        {N16, &TForm1::N16Click},
        {N1, &TForm1::N1Click},
        {MenuItem1, &TForm1::MenuItem1Click},
        {MenuItem2, &TForm1::MenuItem2Click},
    };
    for (const auto& [item, handler] : items) {
        connect(item, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
    }
    for (QAction* category : CatMenu1->actions()) {
        connect(category, &QAction::triggered, this, [this, category] { CategoryClick(category); });
    }

    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(UpdateTimer1, &QTimer::timeout, this, [this] { UpdateTimer1Timer(); });

    connect(TrayIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    TrayIcon1Click();
                }
            });
    connect(TrayIcon1, &QSystemTrayIcon::messageClicked, this, [this] { TrayIcon1BalloonClick(); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) {
                    ApplicationEvents1Activate();
                } else {
                    ApplicationEvents1Deactivate();
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
        FormShortCut(key);
        if (watched == SrvAdress) {
            SrvAdressKeyDown(key);
        } else if (watched == SearchT) {
            SearchTKeyDown(key);
        }
        return false;
    }
    if (watched == SrvAdress && type == QEvent::FocusIn) {
        SrvAdressEnter();
    } else if (watched == SrvAdress && type == QEvent::FocusOut) {
        SrvAdressExit();
    } else if (type == QEvent::MouseButtonRelease) {
        if (watched == ConnectButton) {
            // Let the button run its click first, as the release is reported after it.
            QMetaObject::invokeMethod(
                this, [this] { ConnectButtonMouseUp(); }, Qt::QueuedConnection);
        } else if (watched == Local1) {
            QMetaObject::invokeMethod(
                this, [this] { Local1MouseUp(); }, Qt::QueuedConnection);
        } else if (watched == FHD1) {
            QMetaObject::invokeMethod(
                this, [this] { FHD1MouseUp(); }, Qt::QueuedConnection);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        FormActivationChange(isActiveWindow());
    } else if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        FormSystemCommandMinimize();
    }
    QMainWindow::changeEvent(event);
}
