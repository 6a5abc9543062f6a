// The file list of a multi-file torrent: its menu and playing the chosen files.
#include "app/tform1.h"
#include "app/window/pointer_focus.h"
#include "connection/connection.h"
#include "playback/playback.h"

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
using qb::playback::Playback;

void Playback::AddListClick() {
    Form.takeFocusFromControls();
}

void Playback::AddListDblClick() {
    if (Form.AddList->currentRow() >= 0) {
        MenuItem1Click();
    }
}

void Playback::AddListMouseDown(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::RightButton) {
        return;
    }
    QListWidgetItem* item = Form.AddList->itemAt(at);
    if (item == nullptr) {
        // Below the last row: the selection stays and no menu opens, as over the torrent list.
        AddListAutoPopup = false;
        return;
    }
    // One row or none selected: the clicked row becomes the selection and the focused row, so
    // the menu acts on the row under the pointer. A selection of several rows is kept.
    if (Form.AddList->selectedItems().size() < 2) {
        Form.AddList->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    }
    Form.MenuItem2->setEnabled(Form.AddList->selectedItems().size() < 2);
    Form.MenuItem1->setEnabled(!Form.Gauge1->isVisible());
    AddListAutoPopup = true;
}

void Playback::AddListMouseEnter() {
    if (qb::app::focusFollowsPointer(Form.platform().system->productName())) {
        Form.AddList->setFocus(Qt::MouseFocusReason);
    }
}

void Playback::AddListMouseLeave() {
    if (qb::app::focusFollowsPointer(Form.platform().system->productName())) {
        Form.Edit2->setFocus(Qt::MouseFocusReason);
    }
}

void Playback::MenuItem1Click() {
    if (playbackBusy() || !playerChosen() || Form.AddList->count() == 0) {
        return;
    }
    // The files belong to the selected torrent, whose playlist and hash the preload uses.
    const nlohmann::ordered_json* entry = Form.connection().selectedEntry();
    QList<int> files;
    for (int row = 0; row < Form.AddList->count(); ++row) {
        const int index = qb::playback::fileIndexOfRow(Form, row);
        if (Form.AddList->item(row)->isSelected() && index >= 0) {
            files.append(index);
        }
    }
    if (entry == nullptr || files.isEmpty()) {
        return;
    }
    if (!writePlayerPlaylist(qb::playback::filePlaylistBytes(Form.SrvAdress->text(),
                                                             Form.connection().files(), files))) {
        return;
    }
    // Asking for the torrent's playlist makes the server load the torrent.
    const qb::net::HttpResult answer = Form.server().playlist(Form.SrvAdress->text(), *entry);
    if (!answer.ok) {
        Form.message(answer.failureText, Form.windowTitle(), qb::platform::MessageIcon::Error);
        return;
    }
    if (!playbackBusy()) {
        startPreload(false, true);
    }
}
