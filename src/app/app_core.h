#pragma once

#include "app/hand_off.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class TForm1;

namespace qb::net {
struct HttpResult;
}

namespace qb::app {

// The application core: start-up, first show, close and teardown of the window, the tray and
// the Esc key, the version check, and the hand-off of a link from a second copy. It holds the
// settings read at start that no other room writes.
class AppCore : public QObject {
public:
    explicit AppCore(TForm1& form)
        : Form(form) {}

    // Runs the start-up sequence. Returns false when the program must end without showing
    // the window (the service did not answer the version fetch).
    bool FormCreate();
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
    // A text handed over by a second copy: put into Edit2 now, or after the adding in progress.
    void receiveHandOff(const QString& text);

    // The search service's address from the settings.
    const QString& serviceBaseUrl() const { return ServiceBaseUrl; }
    // FormDestroy has run: the workers are released.
    bool destroyed() const { return Destroyed_; }
    // The first show runs the series check once; a test that shows the window without it
    // turns that off.
    void skipFirstShowCheckForTest() { FirstShow = false; }
    bool startMinimized() const { return StartMinimized; }
    const QString& pendingHandOff() const { return PendingHandOff; }
    const QStringList& handOffQueue() const { return HandOffQueue; }

    // Tests arrange what start-up would have read.
    void setServiceBaseUrlForTest(const QString& address) { ServiceBaseUrl = address; }
    void setKeepLocalServerForTest(const QString& value) { KeepLocalServerSetting = value; }
    void setStartMinimizedForTest(bool minimized) { StartMinimized = minimized; }
    void setPendingHandOffForTest(const QString& text) { PendingHandOff = text; }

private:
    bool FetchRemoteVersion();
    void ShowUpdateOffer();
    void hideToTray();
    bool addHandedOver(const std::function<qb::net::HttpResult()>& send);

    TForm1& Form;
    QString PendingHandOff = kHandOffIdle;
    QStringList HandOffQueue;
    bool FirstShow = false;
    bool StartMinimized = false;
    bool Destroyed_ = false;
    // Settings as read at start.
    QString ServiceBaseUrl, MinimizeSetting, LocalServerSetting, KeepLocalServerSetting;
    // Set when the settings file could not be written, so the user is told only once.
    bool SettingsWriteFailureReported = false;
    QString RemoteVersion;
};

} // namespace qb::app
