// The results list: drawing, hints, selection with either button, and the menu actions that
// need no request of their own.
#include "app/tform1.h"

#include "app/workers/bmd_thread.h"
#include "build_config.h"
#include "search/adding/release_magnet.h"
#include "search/query/service_queries.h"
#include "search/results/result_rows.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

QColor resultTextColour(qb::search::ResultColour colour) {
    switch (colour) {
    case qb::search::ResultColour::UltraHd:
        return {9, 130, 11};
    case qb::search::ResultColour::FullHd:
        return {0, 0, 205};
    case qb::search::ResultColour::Plain:
        break;
    }
    return Qt::black;
}

bool focusFollowsPointer(const QString& product) {
    return product == u"Windows 7"_s || product == u"Windows 8.1"_s;
}

} // namespace

const qb::search::SearchRecord* TForm1::selectedSearchRecord() const {
    const int row = SearchResult->currentRow();
    if (row < 0 || !SearchResult->item(row)->isSelected() ||
        static_cast<size_t>(row) >= SearchResults.size()) {
        return nullptr;
    }
    return &SearchResults[static_cast<size_t>(row)];
}

void TForm1::SearchResultDrawItem(QPainter* painter, int index, const QRect& rect, bool selected) {
    const QString text = SearchResult->item(index)->text();
    QColor background = SearchResult->palette().color(QPalette::Base);
    QColor colour = resultTextColour(qb::search::resultColour(text));
    if (selected) {
        background = SearchResult->palette().color(QPalette::Highlight);
        colour = Qt::white;
    }
    painter->fillRect(rect, background);
    painter->setPen(colour);
    painter->drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      text);
}

void TForm1::SearchResultMouseMove(const QPoint& at) {
    QListWidgetItem* item = SearchResult->itemAt(at);
    const int row = item != nullptr ? SearchResult->row(item) : -1;
    if (row != LastHoverRow) {
        QToolTip::hideText();
    }
    LastHoverRow = row;
    SearchResult->setToolTip(item != nullptr ? qb::search::resultHint(item->text()) : QString());
}

void TForm1::SearchResultMouseDown(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::RightButton) {
        return;
    }
    QListWidgetItem* item = SearchResult->itemAt(at);
    SearchResultAutoPopup = item != nullptr;
    if (item == nullptr) {
        return;
    }
    SearchResult->setCurrentItem(item);
    item->setSelected(true);
    SearchResultClick();
}

void TForm1::SearchResultMouseUp() {
    // The same reading of the page on show as after a click on the torrent list.
    TorrentListMouseUp();
}

void TForm1::SearchResultMouseEnter() {
    if (focusFollowsPointer(Platform_.system->productName())) {
        SearchResult->setFocus(Qt::MouseFocusReason);
    }
}

void TForm1::SearchResultMouseLeave() {
    if (focusFollowsPointer(Platform_.system->productName())) {
        Edit2->setFocus(Qt::MouseFocusReason);
    }
}

void TForm1::SearchResultClick() {
    if (const qb::search::SearchRecord* record = selectedSearchRecord()) {
        ShowReleaseInfo(qb::search::releaseIdOfPagePath(record->PagePath, u"nt/"));
        // The clicked list holds the keyboard focus, so its shortcuts act on the row at once.
        SearchResult->setFocus(Qt::MouseFocusReason);
    }
}

void TForm1::PopupMenu1Popup() {
    N2->setEnabled(status->text() == u"Сервер ОК"_s);
}

void TForm1::N2Click() {
    if (selectedSearchRecord() == nullptr) {
        return;
    }
    if (status->text() != u"Сервер ОК"_s) {
        message(u"Необходимо подключиться к серверу!"_s, u"Инфо"_s,
                qb::platform::MessageIcon::Information);
        return;
    }
    // A start while an add runs is ignored by the worker.
    SRLAddMode = u"add"_s;
    SRLAdd->Start();
}

void TForm1::C2Click() {
    if (const qb::search::SearchRecord* record = selectedSearchRecord()) {
        Platform_.clipboard->setText(record->Magnet);
    }
}

void TForm1::N16Click() {
    const qb::search::SearchRecord* record = selectedSearchRecord();
    if (record == nullptr) {
        return;
    }
    if (const std::optional<QString> query = qb::search::similarQuery(record->Title)) {
        SearchT->setText(*query);
        Search->click();
    }
}

void TForm1::N1Click() {
    if (const qb::search::SearchRecord* record = selectedSearchRecord()) {
        Platform_.browser->open(
            QUrl(u"http://"_s + QString::fromLatin1(qb::build::kTrackerDomain) + record->PagePath));
    }
}
