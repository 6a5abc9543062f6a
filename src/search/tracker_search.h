#pragma once

#include "search/search_record.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

class QAction;
class QPainter;
class TForm1;

namespace qb::app {
class JobThread;
}

namespace qb::search {

// The tracker search through the search service: the queries, the top list and the categories,
// the result rows, their menu, and adding a result to the server (SRLAdd).
class TrackerSearch : public QObject {
public:
    explicit TrackerSearch(TForm1& form)
        : Form(form) {}

    void SearchClick();
    void SearchTKeyDown(int key);
    void Top1Click();
    void Button1Click();
    void CategoryClick(QAction* item);
    void FHD1Click();
    void FHD1MouseUp();
    void SearchResultClick();
    void SearchResultDblClick();
    void SearchResultDrawItem(QPainter* painter, int index, const QRect& rect, bool selected);
    void SearchResultMouseDown(Qt::MouseButton button, const QPoint& at);
    void SearchResultMouseEnter();
    void SearchResultMouseLeave();
    void SearchResultMouseMove(const QPoint& at);
    void SearchResultMouseUp();
    void PopupMenu1Popup();
    void N2Click();
    void C2Click();
    void N16Click();
    void N1Click();
    void SRLAddExecute(app::JobThread& thread);
    void showSR(const QString& s);

    // The record of the selected row of SearchResult; nullptr without one.
    const SearchRecord* selectedSearchRecord() const;
    // The records of the last search, index-aligned with the rows of SearchResult.
    const std::vector<SearchRecord>& results() const { return SearchResults; }
    // Starts SRLAdd: "add" adds the selected result, "update" adds the release of the open page
    // in place of the torrent it updates.
    void startAdding(const QString& mode);
    // SRLAdd's job while it runs ("add" or "update"); empty once it has ended.
    const QString& addingMode() const { return SRLAddMode; }
    // Whether a right click on SearchResult opens PopupMenu1 (only on a row).
    bool resultsPopupOn() const { return SearchResultAutoPopup; }
    // The row of SearchResult under the pointer at the last move, -1 before any.
    int lastHoverRow() const { return LastHoverRow; }
    // The prepared lines of the last answer that the resolution filter reads again.
    const QStringList& searchLines() const { return SearchLines; }

    // Tests arrange a search's outcome or SRLAdd's job without the service.
    void setResultsForTest(std::vector<SearchRecord> results) {
        SearchResults = std::move(results);
    }
    void setSearchLinesForTest(const QStringList& lines) { SearchLines = lines; }
    void setAddingModeForTest(const QString& mode) { SRLAddMode = mode; }

private:
    void GetTList(const QString& addr);
    void setSearchControlsEnabled(bool enabled);

    TForm1& Form;
    std::vector<SearchRecord> SearchResults;
    // The line store of the hidden Memo1: the last prepared answer, one table row per line,
    // kept so that the resolution filter can read it again without a request.
    QStringList SearchLines;
    QString SRLAddMode;
    int LastHoverRow = -1;
    bool SearchResultAutoPopup = false;
};

} // namespace qb::search
