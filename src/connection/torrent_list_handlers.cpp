// The torrent list: drawing, selection, mouse and focus.
#include "app/tform1.h"
#include "app/window/pointer_focus.h"
#include "connection/connection.h"
#include "playback/playback.h"
#include "releaseinfo/release_info.h"

#include "connection/list/file_rows.h"
#include "connection/list/member_text.h"
#include "connection/list/release_id.h"
#include "connection/list/row_colours.h"
#include "connection/list/torrent_row.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>

using namespace Qt::Literals::StringLiterals;
using qb::connection::Connection;

namespace {

QColor textColour(qb::connection::RowTextColour colour, const QPalette& palette) {
    using qb::connection::RowTextColour;
    switch (colour) {
    case RowTextColour::WindowText:
        return palette.color(QPalette::Text);
    case RowTextColour::Black:
        return Qt::black;
    case RowTextColour::DarkRed:
        return {102, 0, 0};
    case RowTextColour::Red:
        return {255, 0, 0};
    case RowTextColour::Green:
        return {0, 128, 0};
    case RowTextColour::HighlightedText:
        return Qt::white;
    }
    return Qt::black;
}

void drawRow(QPainter* painter, const QRect& rect, const QColor& background, const QColor& text,
             const QString& caption) {
    painter->fillRect(rect, background);
    painter->setPen(text);
    painter->drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      caption);
}

} // namespace

const nlohmann::ordered_json* Connection::selectedEntry() const {
    const int row = Form.TorrentList->currentRow();
    if (row < 0 || !Form.TorrentList->item(row)->isSelected() ||
        static_cast<size_t>(row) >= ServerList.size()) {
        return nullptr;
    }
    return &ServerList[static_cast<size_t>(row)];
}

void Connection::TorrentListDrawItem(QPainter* painter, int index, const QRect& rect,
                                     bool selected) {
    const QString text = Form.TorrentList->item(index)->text();
    static const nlohmann::ordered_json kNoEntry = nlohmann::ordered_json::object();
    const auto& entry = static_cast<size_t>(index) < ServerList.size()
                            ? ServerList[static_cast<size_t>(index)]
                            : kNoEntry;
    const qb::connection::RowColours colours =
        qb::connection::torrentRowColour(entry, text, selected);
    const QPalette& palette = Form.TorrentList->palette();
    const QColor background = colours.background == qb::connection::RowBackground::Highlight
                                  ? palette.color(QPalette::Highlight)
                                  : palette.color(QPalette::Base);
    drawRow(painter, rect, background, textColour(colours.text, palette), text);
}

void Connection::AddListDrawItem(QPainter* painter, int index, const QRect& rect, bool selected) {
    const QString text = Form.AddList->item(index)->text();
    const QPalette& palette = Form.AddList->palette();
    QColor colour = text.contains(u"просмотрено"_s) ? QColor(84, 84, 84) : QColor(Qt::black);
    QColor background = palette.color(QPalette::Base);
    if (selected) {
        background = palette.color(QPalette::Highlight);
        colour = Qt::white;
    }
    drawRow(painter, rect, background, colour, text);
}

void Connection::TorrentListClick() {
    Form.takeFocusFromControls();
    if (Form.transientStatus()) {
        CountsLine();
    }
    const nlohmann::ordered_json* entry = selectedEntry();
    if (entry == nullptr) {
        return;
    }
    const QString rowText = Form.TorrentList->currentItem()->text();
    const QString magnet = qb::connection::entryMemberText(*entry, "Magnet");
    Form.AddList->clear();
    Form.update1->setEnabled(rowText.contains(QStringView(qb::connection::kUpdateMarker)) &&
                             magnet.contains(u"dn=id_"_s));

    const bool playable = !rowText.contains(QStringView(qb::connection::kSeekingPeersMarker)) &&
                          !Form.Gauge1->isVisible();
    for (QAction* item : {Form.mPlay, Form.N18, Form.TLopenID, Form.m3u2}) {
        item->setEnabled(playable);
    }
    if (!playable) {
        Form.FHD1->setEnabled(true);
    }

    const nlohmann::ordered_json* files = qb::connection::entryFiles(*entry);
    if (files == nullptr) {
        return;
    }
    FilesList = *files;
    if (FilesList.size() > 1) {
        Form.AddList->setVisible(true);
        for (const qb::connection::FileRow& row : qb::connection::addListRows(FilesList)) {
            Form.AddList->addItem(row.text);
            if (!row.viewed) {
                Form.FHD1->setEnabled(false);
            }
        }
    } else {
        Form.AddList->setVisible(false);
        Form.FHD1->setEnabled(true);
    }

    const std::optional<QString> releaseId = qb::connection::releaseIdFromMagnet(magnet);
    if (!releaseId) {
        SelectedReleaseId.clear();
        Form.TLopenID->setEnabled(false);
        ShowIdlePage();
        return;
    }
    Form.TLopenID->setEnabled(true);
    SelectedReleaseId = *releaseId;
    Form.releaseInfo().ShowReleaseInfo(SelectedReleaseId);
}

void Connection::TorrentListDblClick() {
    if (selectedEntry() != nullptr) {
        Form.playback().mPlayClick();
    }
}

void Connection::TorrentListEnter() {
    CountsLine();
}

void Connection::TorrentListMouseDown(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::RightButton) {
        return;
    }
    QListWidgetItem* item = Form.TorrentList->itemAt(at);
    if (item == nullptr) {
        TorListAutoPopup = false; // no menu over the empty part of the list
        return;
    }
    Form.TorrentList->setCurrentItem(item);
    item->setSelected(true);
    TorrentListClick();
    const nlohmann::ordered_json* entry = selectedEntry();
    const nlohmann::ordered_json* files =
        entry != nullptr ? qb::connection::entryFiles(*entry) : nullptr;
    if (files == nullptr) {
        return;
    }
    Form.N18->setEnabled(qb::connection::singleTopFileForDownload(*files) &&
                         !Form.Gauge1->isVisible());
    TorListAutoPopup = true;
}

void Connection::TorrentListMouseUp() {
    Form.releaseInfo().takePosterAndMagnetFromView();
}

void Connection::TorrentListMouseEnter() {
    if (qb::app::focusFollowsPointer(Form.platform().system->productName())) {
        Form.TorrentList->setFocus(Qt::MouseFocusReason);
    }
}

void Connection::TorrentListMouseLeave() {
    if (qb::app::focusFollowsPointer(Form.platform().system->productName())) {
        Form.Edit2->setFocus(Qt::MouseFocusReason);
    }
}
