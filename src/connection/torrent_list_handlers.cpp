// The torrent list: drawing, selection, mouse and focus.
#include "app/tform1.h"

#include "connection/list/file_rows.h"
#include "connection/list/member_text.h"
#include "connection/list/release_id.h"
#include "connection/list/row_colours.h"
#include "connection/list/torrent_row.h"
#include "releaseinfo/view_scripts.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>

using namespace Qt::Literals::StringLiterals;

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

bool isOldWindows(const QString& product) {
    return product == u"Windows 7"_s || product == u"Windows 8.1"_s;
}

} // namespace

const nlohmann::ordered_json* TForm1::selectedEntry() const {
    const int row = TorrentList->currentRow();
    if (row < 0 || !TorrentList->item(row)->isSelected() ||
        static_cast<size_t>(row) >= ServerList.size()) {
        return nullptr;
    }
    return &ServerList[static_cast<size_t>(row)];
}

void TForm1::TorrentListDrawItem(QPainter* painter, int index, const QRect& rect, bool selected) {
    const QString text = TorrentList->item(index)->text();
    static const nlohmann::ordered_json kNoEntry = nlohmann::ordered_json::object();
    const auto& entry = static_cast<size_t>(index) < ServerList.size()
                            ? ServerList[static_cast<size_t>(index)]
                            : kNoEntry;
    const qb::connection::RowColours colours =
        qb::connection::torrentRowColour(entry, text, selected);
    const QPalette& palette = TorrentList->palette();
    const QColor background = colours.background == qb::connection::RowBackground::Highlight
                                  ? palette.color(QPalette::Highlight)
                                  : palette.color(QPalette::Base);
    drawRow(painter, rect, background, textColour(colours.text, palette), text);
}

void TForm1::AddListDrawItem(QPainter* painter, int index, const QRect& rect, bool selected) {
    const QString text = AddList->item(index)->text();
    const QPalette& palette = AddList->palette();
    QColor colour = text.contains(u"просмотрено"_s) ? QColor(84, 84, 84) : QColor(Qt::black);
    QColor background = palette.color(QPalette::Base);
    if (selected) {
        background = palette.color(QPalette::Highlight);
        colour = Qt::white;
    }
    drawRow(painter, rect, background, colour, text);
}

void TForm1::TorrentListClick() {
    takeFocusFromControls();
    if (TransientStatus) {
        CountsLine();
    }
    const nlohmann::ordered_json* entry = selectedEntry();
    if (entry == nullptr) {
        return;
    }
    const QString rowText = TorrentList->currentItem()->text();
    const QString magnet = qb::connection::entryMemberText(*entry, "Magnet");
    AddList->clear();
    update1->setEnabled(rowText.contains(QStringView(qb::connection::kUpdateMarker)) &&
                        magnet.contains(u"dn=id_"_s));

    const bool playable =
        !rowText.contains(QStringView(qb::connection::kSeekingPeersMarker)) && !Gauge1->isVisible();
    for (QAction* item : {mPlay, N18, TLopenID, m3u2}) {
        item->setEnabled(playable);
    }
    if (!playable) {
        FHD1->setEnabled(true);
    }

    const nlohmann::ordered_json* files = qb::connection::entryFiles(*entry);
    if (files == nullptr) {
        return;
    }
    FilesList = *files;
    if (FilesList.size() > 1) {
        AddList->setVisible(true);
        for (const qb::connection::FileRow& row : qb::connection::addListRows(FilesList)) {
            AddList->addItem(row.text);
            if (!row.viewed) {
                FHD1->setEnabled(false);
            }
        }
    } else {
        AddList->setVisible(false);
        FHD1->setEnabled(true);
    }

    const std::optional<QString> releaseId = qb::connection::releaseIdFromMagnet(magnet);
    if (!releaseId) {
        SelectedReleaseId.clear();
        TLopenID->setEnabled(false);
        ShowIdlePage();
        return;
    }
    TLopenID->setEnabled(true);
    SelectedReleaseId = *releaseId;
    ShowReleaseInfo(SelectedReleaseId);
}

void TForm1::TorrentListDblClick() {
    if (selectedEntry() != nullptr) {
        mPlayClick();
    }
}

void TForm1::TorrentListEnter() {
    CountsLine();
}

void TForm1::TorrentListMouseDown(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::RightButton) {
        return;
    }
    QListWidgetItem* item = TorrentList->itemAt(at);
    if (item == nullptr) {
        TorListAutoPopup = false; // no menu over the empty part of the list
        return;
    }
    TorrentList->setCurrentItem(item);
    item->setSelected(true);
    TorrentListClick();
    const nlohmann::ordered_json* entry = selectedEntry();
    const nlohmann::ordered_json* files =
        entry != nullptr ? qb::connection::entryFiles(*entry) : nullptr;
    if (files == nullptr) {
        return;
    }
    N18->setEnabled(qb::connection::singleTopFileForDownload(*files) && !Gauge1->isVisible());
    TorListAutoPopup = true;
}

void TForm1::TorrentListMouseUp() {
    // Each value is read from the page on display; the first that cannot be read ends it.
    const std::optional<QString> poster = qb::releaseinfo::firstImageAddress(WebBrowser1);
    if (!poster) {
        return;
    }
    InfoPosterUrl = *poster;
    if (const std::optional<QString> magnet =
            qb::releaseinfo::elementInnerHtml(WebBrowser1, u"magnet"_s)) {
        InfoMagnet = *magnet;
    }
}

void TForm1::TorrentListMouseEnter() {
    if (isOldWindows(Platform_.system->productName())) {
        TorrentList->setFocus(Qt::MouseFocusReason);
    }
}

void TForm1::TorrentListMouseLeave() {
    if (isOldWindows(Platform_.system->productName())) {
        Edit2->setFocus(Qt::MouseFocusReason);
    }
}
