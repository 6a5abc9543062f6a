#pragma once

#include "connection/list/server_entries.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

class QPainter;
class TForm1;

namespace qb::connection {

// The connection and the torrent list: the server's address, the refresh and the alive check,
// the local server, the torrent list's rows, menu and selection, and the files of the selected
// torrent. The list entries and the selection are written here only.
class Connection : public QObject {
public:
    explicit Connection(TForm1& form)
        : Form(form) {}

    void ConnectButtonClick();
    void ConnectButtonMouseUp();
    void SrvAdressEnter();
    void SrvAdressExit();
    void SrvAdressKeyDown(int key);
    void Timer1Timer();
    void CountsLine();
    void ShowIdlePage();
    void TorrentListDrawItem(QPainter* painter, int index, const QRect& rect, bool selected);
    void AddListDrawItem(QPainter* painter, int index, const QRect& rect, bool selected);
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

    // The refresh, as a click on ConnectButton; from a job it runs on the window's thread.
    void clickConnectButton();
    // Sorted entries of the last list answer, read as JSON values when asked for.
    const ServerEntries& entries() const { return ServerList; }
    // The entry shown by the selected row of TorrentList; nullptr without one.
    const nlohmann::ordered_json* selectedEntry() const;
    // The files of the torrent last clicked, or of the one whose first file was downloaded.
    const nlohmann::ordered_json& files() const { return FilesList; }
    void setFiles(nlohmann::ordered_json files) { FilesList = std::move(files); }
    // The release id of the selected torrent; empty for a torrent not added from the tracker.
    const QString& selectedReleaseId() const { return SelectedReleaseId; }
    // The rows of UpdateList1: the torrents with new episodes.
    QStringList updateRows() const;
    // The address kept in the settings (the local server's address is never kept).
    const QString& serverAddress() const { return ServerAddress; }
    void setServerAddress(const QString& address) { ServerAddress = address; }
    // Whether the local server answered at start, so that the switch need not start it.
    void setLocalServerRunning(bool running) { LocalServerRunning = running; }
    // Whether a right click on TorrentList opens TorListPopup; on until a click finds no row.
    bool torrentListPopupOn() const { return TorListAutoPopup; }

    // Tests arrange the selection of a tracker release.
    void setSelectedReleaseIdForTest(const QString& id) { SelectedReleaseId = id; }

private:
    void setUnreachable();

    TForm1& Form;
    ServerEntries ServerList;
    nlohmann::ordered_json FilesList = nlohmann::ordered_json::array();
    QString SelectedReleaseId;
    QString ServerAddress;
    bool LocalServerRunning = false;
    bool TorListAutoPopup = true;
};

} // namespace qb::connection
