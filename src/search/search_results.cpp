// The parse of the kept answer into the results list.
#include "app/tform1.h"

#include "search/results/result_parser.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace Qt::Literals::StringLiterals;

void TForm1::showSR(const QString& s) {
    const qb::search::DisplayMode mode =
        s == u"fhd"_s ? qb::search::DisplayMode::Fhd : qb::search::DisplayMode::Normal;
    SearchResult->clear();
    SearchResults = qb::search::parseResultLines(SearchLines, mode);
    if (SearchResults.empty()) {
        message(u"Ничего не удалось найти!"_s, u"Результат"_s, qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        SearchT->setFocus(Qt::OtherFocusReason);
        SearchT->selectAll();
        return;
    }
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(SearchResults.size()));
    for (const qb::search::SearchRecord& record : SearchResults) {
        rows << qb::search::displayLine(record, mode);
    }
    SearchResult->addItems(rows);
    LogP->setText(u"Найдено "_s + QString::number(SearchResult->count()) + u" записей"_s);
    setSearchControlsEnabled(true);
    ShowIdlePage();
}
