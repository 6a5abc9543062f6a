#include "app/tform1.h"

#include "app/app_core.h"
#include "app/settings/password_mask.h"
#include "app/window/app_icon.h"
#include "app/workers/bmd_thread.h"
#include "connection/api/server_apis.h"
#include "connection/connection.h"
#include "connection/http/http_client.h"
#include "lists/lists_and_series.h"
#include "playback/playback.h"
#include "releaseinfo/release_info.h"
#include "search/tracker_search.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

TForm1::TForm1(qb::platform::Platform platform, QWidget* parent)
    : QMainWindow(parent)
    , Platform_(std::move(platform)) {
    setObjectName(u"Form1"_s);
    // A fixed single border with the system menu and minimise only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(QFont(u"Tahoma"_s, 9));
    setWindowIcon(qb::app::appIcon());
    // The rooms hold only the window until the widgets and components exist.
    Core_ = std::make_unique<qb::app::AppCore>(*this);
    Connection_ = std::make_unique<qb::connection::Connection>(*this);
    Playback_ = std::make_unique<qb::playback::Playback>(*this);
    Search_ = std::make_unique<qb::search::TrackerSearch>(*this);
    ReleaseInfo_ = std::make_unique<qb::releaseinfo::ReleaseInfo>(*this);
    Lists_ = std::make_unique<qb::lists::ListsAndSeries>(*this);
    createWidgets();
    createMenus();
    createComponents();
    connectEvents();
    setFixedSize(1264, 561);
}

TForm1::~TForm1() {
    core().FormDestroy();
    // The widgets are released after this body. Their last events (the focus moving on as
    // they go, for one) must not reach the handlers of a window that is already gone.
    qApp->removeEventFilter(this);
    QObject::disconnect(qApp, nullptr, this, nullptr);
    if (releaseInfo().viewStarted()) {
        QObject::disconnect(QWebEngineProfile::defaultProfile(), nullptr, &releaseInfo(), nullptr);
    }
    for (QObject* child : findChildren<QObject*>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
    }
}

qb::platform::MessageAnswer TForm1::message(const QString& text, const QString& title,
                                            qb::platform::MessageIcon icon,
                                            qb::platform::MessageButtons buttons) {
    // Once the window is closing, a handler still finishing asks the user nothing more.
    if (Closing_) {
        return buttons == qb::platform::MessageButtons::YesNo ? qb::platform::MessageAnswer::No
                                                              : qb::platform::MessageAnswer::Ok;
    }
    // Failure texts may quote an address, and "Server" may carry the user's password.
    return Platform_.messages->show(this, qb::app::withoutPasswords(text),
                                    qb::app::withoutPasswords(title), icon, buttons);
}

void TForm1::takeFocusFromControls() {
    // Clearing the focus sends the control its focus-out event, as a move of the focus would.
    if (QWidget* focused = focusWidget()) {
        focused->clearFocus();
    }
}

void TForm1::setStatus(const QString& caption, const QColor& colour) {
    status->setText(qb::app::withoutPasswords(caption));
    QPalette palette = status->palette();
    palette.setColor(QPalette::WindowText, colour);
    status->setPalette(palette);
}

void TForm1::closeEvent(QCloseEvent* event) {
    core().FormCloseQuery();
    event->accept();
    // A handler may be waiting for a slow server inside the event loop; its request ends now, so
    // the program can end.
    Closing_ = true;
    shutDownClients();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    core().FormShow();
}

qb::connection::TorrServerApi& TForm1::server() {
    return Servers->forAddress(SrvAdress->text());
}

bool TForm1::windowClosing() const {
    return Closing_ || Core_->destroyed();
}

void TForm1::shutDownClients() {
    for (auto* client :
         {IdHTTP1.get(), IdHTTP3.get(), NetHTTPClient1.get(), NetHTTPClient2.get(), Ping1.get()}) {
        client->shutDown();
    }
}

void TForm1::stopJobsAndTransfers() {
    for (auto* worker : {BMDThread1.get(), BMDThread2.get(), AddThread.get(), SRLAdd.get(),
                         CheckSerialsTH.get()}) {
        if (worker != nullptr) {
            worker->Stop();
        }
    }
    shutDownClients();
}

void TForm1::releaseWorkers() {
    BMDThread1.reset();
    BMDThread2.reset();
    AddThread.reset();
    SRLAdd.reset();
    CheckSerialsTH.reset();
}
