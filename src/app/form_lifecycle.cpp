// Start-up, first show, close and teardown of the main window.
#include "app/app_core.h"
#include "app/tform1.h"
#include "connection/connection.h"
#include "lists/lists_and_series.h"
#include "playback/playback.h"
#include "releaseinfo/release_info.h"

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
using qb::app::AppCore;

namespace {
// Long enough to pass the events handled before the first refresh's hold begins.
constexpr int kInfoViewStartDelayMs = 20;
} // namespace

bool AppCore::FormCreate() {
    FirstShow = true;
    PendingHandOff = qb::app::kHandOffIdle;
    if (!Form.platform().firstArgument.isEmpty()) {
        PendingHandOff = Form.platform().firstArgument;
    }

    const qb::app::LoadedSettings settings =
        qb::app::loadOrCreateSettings(Form.SettingsDir(), Form.windowTitle());

    const QString caption = u"Quillbrook FHD v"_s + qb::app::AppVersion();
    QGuiApplication::setApplicationDisplayName(caption);
    Form.setWindowTitle(caption);

    Form.playback().setPlayerPath(settings.player);
    MinimizeSetting = settings.minimize;
    Form.connection().setServerAddress(settings.server);
    LocalServerSetting = settings.localServer;
    KeepLocalServerSetting = settings.keepLocalServer;
    ServiceBaseUrl = settings.serviceBaseUrl;

    Form.SrvAdress->setText(Form.connection().serverAddress());
    Form.idHttp1()->setConnectTimeoutMs(0);

    if (!FetchRemoteVersion()) {
        return false;
    }
    // Starting the web engine and its first page holds the window's thread for a good part of
    // a second. That happens while the first refresh holds before its list request, a wait that
    // answers events anyway, rather than before the window can appear.
    QTimer::singleShot(kInfoViewStartDelayMs, this,
                       [this] { Form.releaseInfo().warmUpInfoView(); });

    if (LocalServerSetting == u"1"_s) {
        const qb::net::HttpResult probe = Form.servers()->probe(u"http://127.0.0.1:8090"_s);
        Form.connection().setLocalServerRunning(probe.ok);
        if (!probe.ok) {
            Form.SrvAdress->setText(u"http://127.0.0.1:8090"_s);
        }
        Form.Local1->setChecked(true); // runs Local1Click, which starts the server when needed
    } else {
        Form.SrvAdress->setText(Form.connection().serverAddress());
        Form.Local1->setChecked(false);
        Form.connection().ConnectButtonClick();
    }

    StartMinimized = MinimizeSetting == u"1"_s;
    Form.connection().ShowIdlePage();
    ShowUpdateOffer();
    return true;
}

void AppCore::FormShow() {
    if (!Form.playback().playerPath().isEmpty()) {
        Form.ChosePlayerBut->setText(u"Сменить плеер"_s);
        Form.ChosePlayerBut->setToolTip(Form.playback().playerPath());
    }
    if (!Form.Search->isEnabled()) {
        Form.SearchT->setEnabled(false);
    }
    Form.lists().offerTrayMenuWithoutTray();
    if (Form.UpdateList1->count() == 0 && FirstShow) {
        Form.checkSerialsTH()->Stop();
        Form.checkSerialsTH()->Start();
        FirstShow = false;
    }
    Form.SearchT->setFocus(Qt::OtherFocusReason);
}

bool AppCore::FormCloseQuery() {
    const qb::app::AddressCleanUp cleaned =
        qb::app::cleanAddressForSave(Form.SrvAdress->text(), Form.connection().serverAddress());
    if (cleaned.changed) {
        Form.SrvAdress->setText(cleaned.text);
        Form.SrvAdress->end(false);
    }

    qb::app::SaveValues values;
    values.title = Form.windowTitle();
    values.localServer = Form.Local1->isChecked() ? u"1"_s : u"0"_s;
    values.server =
        Form.Local1->isChecked() ? Form.connection().serverAddress() : Form.SrvAdress->text();
    values.player = Form.playback().playerPath();
    values.minimize = MinimizeSetting;
    values.serviceBaseUrl = ServiceBaseUrl;
    values.keepLocalServer = KeepLocalServerSetting;

    const QString path = Form.SettingsDir() + u"app.json"_s;
    if (!qb::app::writeSettingsFile(path, qb::app::settingsText(values)) &&
        !SettingsWriteFailureReported) {
        // The close goes on all the same; the user hears of it once per run.
        SettingsWriteFailureReported = true;
        Form.message(u"Не удается сохранить настройки в файл "_s + path, u"Ошибка"_s,
                     qb::platform::MessageIcon::Warning);
    }
    return true;
}

void AppCore::FormDestroy() {
    if (Destroyed_) {
        return;
    }
    Destroyed_ = true;
    Form.Timer1->stop();
    Form.UpdateTimer1->stop();
    if (KeepLocalServerSetting != u"1"_s) {
        for (const QString& name : qb::platform::localServerNamesToTerminate()) {
            qb::platform::terminateProcessesByName(*Form.platform().processes, name);
        }
    }
    // Every job is asked to stop and its transfers are aborted, so that waiting for the jobs
    // below cannot hang on a slow server; the wait keeps serving the jobs' calls to the window.
    Form.stopJobsAndTransfers();
    Form.releaseWorkers();
}
