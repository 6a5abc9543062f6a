// The tray icon, hiding to the tray, activation changes and the Esc key.
#include "app/tform1.h"

#include "app/hand_off.h"

#include "app/workers/bmd_thread.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSystemTrayIcon>

using namespace Qt::Literals::StringLiterals;

void TForm1::hideToTray() {
    // Without a tray the window only minimises, so that it can always be found again.
    if (!Platform_.system->trayAvailable()) {
        if (!isMinimized()) {
            showMinimized();
        }
        return;
    }
    hide();
    setWindowState(windowState() | Qt::WindowMinimized);
}

bool TForm1::FormSystemCommandMinimize() {
    StartMinimized = false;
    if (!Platform_.system->trayAvailable()) {
        return false;
    }
    // Hiding from inside the state change confuses some window managers: hide right after it.
    QMetaObject::invokeMethod(
        this, [this] { hideToTray(); }, Qt::QueuedConnection);
    return true;
}

void TForm1::FormActivationChange(bool active) {
    if (!active && !isMinimized() && TransientStatus) {
        LogP->setText(QString());
        TransientStatus = false;
    }
}

void TForm1::ApplicationEvents1Activate() {
    if (StartMinimized) {
        StartMinimized = false;
        hideToTray();
    }
    if (Edit2->text() == qb::app::kHandOffIdle) {
        Edit2->setText(PendingHandOff); // a changed text runs Edit2Change at once
        PendingHandOff = qb::app::kHandOffIdle;
    }
}

void TForm1::ApplicationEvents1Deactivate() {
    PendingHandOff = qb::app::kHandOffIdle;
}

void TForm1::TrayIcon1Click() {
    if (isVisible()) {
        hideToTray();
    } else {
        RaiseMainWindow();
    }
}

void TForm1::TrayIcon1BalloonClick() {
    if (!isVisible()) {
        RaiseMainWindow();
    }
}

void TForm1::N5Click() {
    RaiseMainWindow();
}

void TForm1::MenuItem4Click() {
    close();
}

void TForm1::RaiseMainWindow() {
    show();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    showNormal();
    raise();
    activateWindow();
}

void TForm1::FormShortCut(int key) {
    // A preload runs while its workers do, also before the first progress has been shown.
    if (key != Qt::Key_Escape) {
        return;
    }
    if (BMDThread1->isRunning() || BMDThread2->isRunning()) {
        BMDThread2->Stop();
        BMDThread1->Stop();
        PreloadCancelled = true;
    }
}
