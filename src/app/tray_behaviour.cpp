// The tray icon, hiding to the tray, activation changes and the Esc key.
#include "app/app_core.h"
#include "app/tform1.h"
#include "playback/playback.h"

#include "app/hand_off.h"

#include "app/workers/bmd_thread.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSystemTrayIcon>

using namespace Qt::Literals::StringLiterals;
using qb::app::AppCore;

void AppCore::hideToTray() {
    // Without a tray the window only minimises, so that it can always be found again.
    if (!Form.platform().system->trayAvailable()) {
        if (!Form.isMinimized()) {
            Form.showMinimized();
        }
        return;
    }
    Form.hide();
    Form.setWindowState(Form.windowState() | Qt::WindowMinimized);
}

bool AppCore::FormSystemCommandMinimize() {
    StartMinimized = false;
    if (!Form.platform().system->trayAvailable()) {
        return false;
    }
    // Hiding from inside the state change confuses some window managers: hide right after it.
    QMetaObject::invokeMethod(
        this, [this] { hideToTray(); }, Qt::QueuedConnection);
    return true;
}

void AppCore::FormActivationChange(bool active) {
    if (!active && !Form.isMinimized() && Form.transientStatus()) {
        Form.LogP->setText(QString());
        Form.setTransientStatus(false);
    }
}

void AppCore::ApplicationEvents1Activate() {
    if (StartMinimized) {
        StartMinimized = false;
        hideToTray();
    }
    if (Form.Edit2->text() == qb::app::kHandOffIdle) {
        Form.Edit2->setText(PendingHandOff); // a changed text runs Edit2Change at once
        PendingHandOff = qb::app::kHandOffIdle;
    }
}

void AppCore::ApplicationEvents1Deactivate() {
    PendingHandOff = qb::app::kHandOffIdle;
}

void AppCore::TrayIcon1Click() {
    if (Form.isVisible()) {
        hideToTray();
    } else {
        RaiseMainWindow();
    }
}

void AppCore::TrayIcon1BalloonClick() {
    if (!Form.isVisible()) {
        RaiseMainWindow();
    }
}

void AppCore::N5Click() {
    RaiseMainWindow();
}

void AppCore::MenuItem4Click() {
    Form.close();
}

void AppCore::RaiseMainWindow() {
    Form.show();
    Form.setWindowState((Form.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    Form.showNormal();
    Form.raise();
    Form.activateWindow();
}

void AppCore::FormShortCut(int key) {
    // A preload runs while its workers do, also before the first progress has been shown.
    if (key != Qt::Key_Escape) {
        return;
    }
    if (Form.bmdThread1()->isRunning() || Form.bmdThread2()->isRunning()) {
        Form.bmdThread2()->Stop();
        Form.bmdThread1()->Stop();
        Form.playback().cancelPreload();
    }
}
