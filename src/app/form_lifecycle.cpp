// Start-up, first show, close and teardown of the main window.
#include "app/tform1.h"

#include "app/hand_off.h"

#include "app/app_version.h"
#include "app/settings/settings_file.h"
#include "app/settings/settings_text.h"
#include "app/workers/bmd_thread.h"
#include "connection/api/server_apis.h"
#include "connection/http/http_client.h"
#include "platform/local_server.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {
// Long enough to pass the events handled before the first refresh's hold begins.
constexpr int kInfoViewStartDelayMs = 20;
} // namespace

bool TForm1::FormCreate() {
    FirstShow = true;
    PendingHandOff = qb::app::kHandOffIdle;
    if (!Platform_.firstArgument.isEmpty()) {
        PendingHandOff = Platform_.firstArgument;
    }

    const qb::app::LoadedSettings settings =
        qb::app::loadOrCreateSettings(SettingsDir(), windowTitle());

    const QString caption = u"Quillbrook FHD v"_s + qb::app::AppVersion();
    QGuiApplication::setApplicationDisplayName(caption);
    setWindowTitle(caption);

    PlayerPath = settings.player;
    MinimizeSetting = settings.minimize;
    ServerAddress = settings.server;
    LocalServerSetting = settings.localServer;
    KeepLocalServerSetting = settings.keepLocalServer;
    ServiceBaseUrl = settings.serviceBaseUrl;

    SrvAdress->setText(ServerAddress);
    IdHTTP1->setConnectTimeoutMs(0);

    if (!FetchRemoteVersion()) {
        return false;
    }
    // Starting the web engine and its first page holds the window's thread for a good part of
    // a second. That happens while the first refresh holds before its list request, a wait that
    // answers events anyway, rather than before the window can appear.
    QTimer::singleShot(kInfoViewStartDelayMs, this, [this] { warmUpInfoView(); });

    if (LocalServerSetting == u"1"_s) {
        const qb::net::HttpResult probe = Servers->probe(u"http://127.0.0.1:8090"_s);
        LocalServerRunning = probe.ok;
        if (!probe.ok) {
            SrvAdress->setText(u"http://127.0.0.1:8090"_s);
        }
        Local1->setChecked(true); // runs Local1Click, which starts the server when needed
    } else {
        SrvAdress->setText(ServerAddress);
        Local1->setChecked(false);
        ConnectButtonClick();
    }

    StartMinimized = MinimizeSetting == u"1"_s;
    ShowIdlePage();
    ShowUpdateOffer();
    return true;
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
}

void TForm1::FormShow() {
    if (!PlayerPath.isEmpty()) {
        ChosePlayerBut->setText(u"Сменить плеер"_s);
        ChosePlayerBut->setToolTip(PlayerPath);
    }
    if (!Search->isEnabled()) {
        SearchT->setEnabled(false);
    }
    offerTrayMenuWithoutTray();
    if (UpdateList1->count() == 0 && FirstShow) {
        CheckSerialsTH->Stop();
        CheckSerialsTH->Start();
        FirstShow = false;
    }
    SearchT->setFocus(Qt::OtherFocusReason);
}

bool TForm1::FormCloseQuery() {
    const qb::app::AddressCleanUp cleaned =
        qb::app::cleanAddressForSave(SrvAdress->text(), ServerAddress);
    if (cleaned.changed) {
        SrvAdress->setText(cleaned.text);
        SrvAdress->end(false);
    }

    qb::app::SaveValues values;
    values.title = windowTitle();
    values.localServer = Local1->isChecked() ? u"1"_s : u"0"_s;
    values.server = Local1->isChecked() ? ServerAddress : SrvAdress->text();
    values.player = PlayerPath;
    values.minimize = MinimizeSetting;
    values.serviceBaseUrl = ServiceBaseUrl;
    values.keepLocalServer = KeepLocalServerSetting;

    const QString path = SettingsDir() + u"app.json"_s;
    if (!qb::app::writeSettingsFile(path, qb::app::settingsText(values)) &&
        !SettingsWriteFailureReported) {
        // The close goes on all the same; the user hears of it once per run.
        SettingsWriteFailureReported = true;
        message(u"Не удается сохранить настройки в файл "_s + path, u"Ошибка"_s,
                qb::platform::MessageIcon::Warning);
    }
    return true;
}

void TForm1::FormDestroy() {
    if (Destroyed_) {
        return;
    }
    Destroyed_ = true;
    Timer1->stop();
    UpdateTimer1->stop();
    if (KeepLocalServerSetting != u"1"_s) {
        for (const QString& name : qb::platform::localServerNamesToTerminate()) {
            qb::platform::terminateProcessesByName(*Platform_.processes, name);
        }
    }
    // Every job is asked to stop and its transfers are aborted, so that waiting for the jobs
    // below cannot hang on a slow server; the wait keeps serving the jobs' calls to the window.
    for (auto* worker : {BMDThread1.get(), BMDThread2.get(), AddThread.get(), SRLAdd.get(),
                         CheckSerialsTH.get()}) {
        worker->Stop();
    }
    for (auto* client :
         {IdHTTP1.get(), IdHTTP3.get(), NetHTTPClient1.get(), NetHTTPClient2.get(), Ping1.get()}) {
        client->shutDown();
    }
    BMDThread1.reset();
    BMDThread2.reset();
    AddThread.reset();
    SRLAdd.reset();
    CheckSerialsTH.reset();
}
