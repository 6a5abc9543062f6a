// The results list: drawing, hints, selection with either button, and the menu actions that
// need no request of their own.
#include "app/tform1.h"
#include "app/window/pointer_focus.h"
#include "connection/connection.h"
#include "releaseinfo/release_info.h"
#include "search/tracker_search.h"

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
using qb::search::TrackerSearch;

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

} // namespace

const qb::search::SearchRecord* TrackerSearch::selectedSearchRecord() const {
    const int row = Form.SearchResult->currentRow();
    if (row < 0 || !Form.SearchResult->item(row)->isSelected() ||
        static_cast<size_t>(row) >= SearchResults.size()) {
        return nullptr;
    }
    return &SearchResults[static_cast<size_t>(row)];
}

void TrackerSearch::SearchResultDrawItem(QPainter* painter, int index, const QRect& rect,
                                         bool selected) {
    const QString text = Form.SearchResult->item(index)->text();
    QColor background = Form.SearchResult->palette().color(QPalette::Base);
    QColor colour = resultTextColour(qb::search::resultColour(text));
    if (selected) {
        background = Form.SearchResult->palette().color(QPalette::Highlight);
        colour = Qt::white;
    }
    painter->fillRect(rect, background);
    painter->setPen(colour);
    painter->drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      text);
}

void TrackerSearch::SearchResultMouseMove(const QPoint& at) {
    QListWidgetItem* item = Form.SearchResult->itemAt(at);
    const int row = item != nullptr ? Form.SearchResult->row(item) : -1;
    if (row != LastHoverRow) {
        QToolTip::hideText();
    }
    LastHoverRow = row;
    Form.SearchResult->setToolTip(item != nullptr ? qb::search::resultHint(item->text())
                                                  : QString());
}

void TrackerSearch::SearchResultMouseDown(Qt::MouseButton button, const QPoint& at) {
    if (button != Qt::RightButton) {
        return;
    }
    QListWidgetItem* item = Form.SearchResult->itemAt(at);
    SearchResultAutoPopup = item != nullptr;
    if (item == nullptr) {
        return;
    }
    Form.SearchResult->setCurrentItem(item);
    item->setSelected(true);
    SearchResultClick();
}

void TrackerSearch::SearchResultMouseUp() {
    // The same reading of the page on show as after a click on the torrent list.
    Form.releaseInfo().takePosterAndMagnetFromView();
}

void TrackerSearch::SearchResultMouseEnter() {
    if (qb::app::focusFollowsPointer(Form.platform().system->productName())) {
        Form.SearchResult->setFocus(Qt::MouseFocusReason);
    }
}

void TrackerSearch::SearchResultMouseLeave() {
    if (qb::app::focusFollowsPointer(Form.platform().system->productName())) {
        Form.Edit2->setFocus(Qt::MouseFocusReason);
    }
}

void TrackerSearch::SearchResultClick() {
    if (const qb::search::SearchRecord* record = selectedSearchRecord()) {
        Form.releaseInfo().ShowReleaseInfo(
            qb::search::releaseIdOfPagePath(record->PagePath, u"nt/"));
        // The clicked list holds the keyboard focus, so its shortcuts act on the row at once.
        Form.SearchResult->setFocus(Qt::MouseFocusReason);
    }
}

void TrackerSearch::PopupMenu1Popup() {
    Form.N2->setEnabled(Form.status->text() == u"Сервер ОК"_s);
}

void TrackerSearch::N2Click() {
    if (selectedSearchRecord() == nullptr) {
        return;
    }
    if (Form.status->text() != u"Сервер ОК"_s) {
        Form.message(u"Необходимо подключиться к серверу!"_s, u"Инфо"_s,
                     qb::platform::MessageIcon::Information);
        return;
    }
    // A start while an add runs is ignored by the worker.
    startAdding(u"add"_s);
}

void TrackerSearch::C2Click() {
    if (const qb::search::SearchRecord* record = selectedSearchRecord()) {
        Form.platform().clipboard->setText(record->Magnet);
    }
}

void TrackerSearch::N16Click() {
    const qb::search::SearchRecord* record = selectedSearchRecord();
    if (record == nullptr) {
        return;
    }
    if (const std::optional<QString> query = qb::search::similarQuery(record->Title)) {
        Form.SearchT->setText(*query);
        Form.Search->click();
    }
}

void TrackerSearch::N1Click() {
    if (const qb::search::SearchRecord* record = selectedSearchRecord()) {
        Form.platform().browser->open(
            QUrl(u"http://"_s + QString::fromLatin1(qb::build::kTrackerDomain) + record->PagePath));
    }
}

void TrackerSearch::startAdding(const QString& mode) {
    SRLAddMode = mode;
    Form.srlAdd()->Start();
}
