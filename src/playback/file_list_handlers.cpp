// The file list of a multi-file torrent: its menu and playing the chosen files.
#include "app/tform1.h"

#include "connection/api/torrserver_api.h"
#include "connection/http/http_result.h"
#include "connection/list/file_rows.h"
#include "connection/list/member_text.h"
#include "playback/play_sources.h"
#include "playback/playlist/file_playlist.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>

using namespace Qt::Literals::StringLiterals;

namespace {
bool isOldWindows(const QString& product) {
    return product == u"Windows 7"_s || product == u"Windows 8.1"_s;
}
} // namespace

void TForm1::AddListClick() {
    takeFocusFromControls();
}

void TForm1::AddListDblClick() {
    if (AddList->currentRow() >= 0) {
        MenuItem1Click();
    }
}

void TForm1::AddListMouseDown(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::RightButton) {
        return;
    }
    QListWidgetItem* item = AddList->itemAt(at);
    if (item == nullptr) {
        // Below the last row: the selection stays and no menu opens, as over the torrent list.
        AddListAutoPopup = false;
        return;
    }
    // One row or none selected: the clicked row becomes the selection and the focused row, so
    // the menu acts on the row under the pointer. A selection of several rows is kept.
    if (AddList->selectedItems().size() < 2) {
        AddList->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    }
    MenuItem2->setEnabled(AddList->selectedItems().size() < 2);
    MenuItem1->setEnabled(!Gauge1->isVisible());
    AddListAutoPopup = true;
}

void TForm1::AddListMouseEnter() {
    if (isOldWindows(Platform_.system->productName())) {
        AddList->setFocus(Qt::MouseFocusReason);
    }
}

void TForm1::AddListMouseLeave() {
    if (isOldWindows(Platform_.system->productName())) {
        Edit2->setFocus(Qt::MouseFocusReason);
    }
}

void TForm1::MenuItem1Click() {
    if (playbackBusy() || !playerChosen() || AddList->count() == 0) {
        return;
    }
    // The files belong to the selected torrent, whose playlist and hash the preload uses.
    const nlohmann::ordered_json* entry = selectedEntry();
    QList<int> files;
    for (int row = 0; row < AddList->count(); ++row) {
        const int index = qb::playback::fileIndexOfRow(*this, row);
        if (AddList->item(row)->isSelected() && index >= 0) {
            files.append(index);
        }
    }
    if (entry == nullptr || files.isEmpty()) {
        return;
    }
    if (!writePlayerPlaylist(
            qb::playback::filePlaylistBytes(SrvAdress->text(), FilesList, files))) {
        return;
    }
    // Asking for the torrent's playlist makes the server load the torrent.
    const qb::net::HttpResult answer = server().playlist(SrvAdress->text(), *entry);
    if (!answer.ok) {
        message(answer.failureText, windowTitle(), qb::platform::MessageIcon::Error);
        return;
    }
    if (!playbackBusy()) {
        startPreload(false, true);
    }
}
