// The parse of the kept answer into the results list.
#include "app/tform1.h"
#include "connection/connection.h"
#include "search/tracker_search.h"

#include "search/results/result_parser.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace Qt::Literals::StringLiterals;
using qb::search::TrackerSearch;

void TrackerSearch::showSR(const QString& s) {
    const qb::search::DisplayMode mode =
        s == u"fhd"_s ? qb::search::DisplayMode::Fhd : qb::search::DisplayMode::Normal;
    Form.SearchResult->clear();
    SearchResults = qb::search::parseResultLines(SearchLines, mode);
    if (SearchResults.empty()) {
        Form.message(u"Ничего не удалось найти!"_s, u"Результат"_s,
                     qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        Form.SearchT->setFocus(Qt::OtherFocusReason);
        Form.SearchT->selectAll();
        return;
    }
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(SearchResults.size()));
    for (const qb::search::SearchRecord& record : SearchResults) {
        rows << qb::search::displayLine(record, mode);
    }
    Form.SearchResult->addItems(rows);
    Form.LogP->setText(u"Найдено "_s + QString::number(Form.SearchResult->count()) + u" записей"_s);
    setSearchControlsEnabled(true);
    Form.connection().ShowIdlePage();
}
