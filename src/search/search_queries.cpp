// The queries to the search service: text search, the top list, the categories, and the
// resolution filter that reads the kept answer again.
#include "app/app_core.h"
#include "app/tform1.h"
#include "search/tracker_search.h"

#include "app/workers/nested_loops.h"
#include "app/workers/responsive_wait.h"
#include "connection/http/http_client.h"
#include "search/query/service_queries.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using qb::search::TrackerSearch;

namespace {

const QString kNoAnswer = u"Сервер поиска не отвечает\rПопробуйте повторить попытку позже"_s;

// The answer as text, whatever charset its headers name; nothing when none arrived.
std::optional<QString> fetchPage(qb::net::HttpClient& client, const QString& address) {
    const qb::net::HttpResult answer = client.get(address);
    if (!answer.ok) {
        return std::nullopt;
    }
    return QString::fromUtf8(answer.body);
}

} // namespace

void TrackerSearch::setSearchControlsEnabled(bool enabled) {
    for (QWidget* control :
         {static_cast<QWidget*>(Form.SearchT), static_cast<QWidget*>(Form.Search),
          static_cast<QWidget*>(Form.Top1), static_cast<QWidget*>(Form.Button1)}) {
        control->setEnabled(enabled);
    }
}

void TrackerSearch::SearchClick() {
    if (Form.SearchT->text().isEmpty()) {
        Form.message(u"Введите текст для поиска!"_s, u"Ошибка"_s,
                     qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        Form.SearchT->setFocus(Qt::OtherFocusReason);
        return;
    }
    Form.Edit2->setFocus(Qt::OtherFocusReason);
    Form.AddList->setVisible(false);
    Form.FHD1->setEnabled(true);
    SearchLines.clear();
    Form.SearchResult->clear();
    SearchResults.clear();
    setSearchControlsEnabled(false);
    qb::app::processPendingEvents();

    QString accumulator;
    bool failed = false;
    for (const int page : {0, 1}) {
        const std::optional<QString> answer = fetchPage(
            *Form.netHttpClient1(), qb::search::textSearchAddress(Form.core().serviceBaseUrl(),
                                                                  page, Form.SearchT->text()));
        if (answer) {
            accumulator += *answer;
        } else {
            failed = true; // the other page is still asked for
        }
        qb::app::ResponsiveWait(500);
    }
    if (failed) {
        Form.message(kNoAnswer, u"Результат"_s, qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        qb::app::processPendingEvents();
        return;
    }
    SearchLines = qb::search::prepareTextAnswer(std::move(accumulator));
    showSR(Form.FHD1->isChecked() ? u"fhd"_s : u"normal"_s);
}

void TrackerSearch::SearchTKeyDown(int key) {
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !Form.SearchT->text().isEmpty() &&
        !Form.LogP->text().contains(u"недоступен"_s)) {
        SearchClick();
    }
}

void TrackerSearch::Top1Click() {
    Form.AddList->setVisible(false);
    Form.Edit2->setFocus(Qt::OtherFocusReason);
    Form.FHD1->setEnabled(true);
    SearchLines.clear();
    Form.SearchResult->clear();
    Form.SearchT->clear();
    SearchResults.clear();
    Form.Button1->setText(u"Категории"_s);
    setSearchControlsEnabled(false);
    qb::app::processPendingEvents();

    const std::optional<QString> answer =
        fetchPage(*Form.netHttpClient1(), qb::search::topAddress(Form.core().serviceBaseUrl()));
    if (!answer) {
        Form.message(kNoAnswer, u"Результат"_s, qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        return;
    }
    SearchLines = qb::search::prepareTopAnswer(*answer);
    showSR(Form.FHD1->isChecked() ? u"fhd"_s : u"normal"_s);
}

void TrackerSearch::Button1Click() {
    Form.takeFocusFromControls();
    Form.Edit2->setFocus(Qt::OtherFocusReason);
    Form.CatMenu1->popup(Form.Button1->mapToGlobal(QPoint(0, Form.Button1->height())));
}

void TrackerSearch::CategoryClick(QAction* item) {
    const std::pair<QAction*, QString> slugs[] = {
        {Form.N6, u"kino"_s},           {Form.N7, u"nashe_kino"_s},         {Form.N9, u"seriali"_s},
        {Form.N10, u"nashi_seriali"_s}, {Form.N8, u"nauchno_popularnoe"_s}, {Form.N11, u"tv"_s},
        {Form.N14, u"inostrannoe"_s},   {Form.N12, u"multiki"_s},           {Form.N15, u"anime"_s},
        {Form.N13, u"jumor"_s},
    };
    const auto chosen = std::find_if(std::begin(slugs), std::end(slugs),
                                     [item](const auto& slug) { return slug.first == item; });
    if (chosen == std::end(slugs)) {
        return;
    }
    Form.AddList->setVisible(false);
    Form.FHD1->setEnabled(true);
    setSearchControlsEnabled(false);
    // The caption names the category until the top list resets it.
    Form.Button1->setText(item->text());
    qb::app::processPendingEvents();
    GetTList(chosen->second);
}

void TrackerSearch::GetTList(const QString& addr) {
    SearchLines.clear();
    Form.SearchResult->clear();
    Form.SearchT->clear();
    SearchResults.clear();
    for (QWidget* control :
         {static_cast<QWidget*>(Form.SearchT), static_cast<QWidget*>(Form.Search),
          static_cast<QWidget*>(Form.Top1)}) {
        control->setEnabled(false);
    }
    qb::app::processPendingEvents();

    // One request: a second one of the same address would only list every row twice.
    const std::optional<QString> answer = fetchPage(
        *Form.netHttpClient1(), qb::search::categoryAddress(Form.core().serviceBaseUrl(), addr));
    qb::app::ResponsiveWait(250);
    if (!answer) {
        Form.message(kNoAnswer, u"Результат"_s, qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        qb::app::processPendingEvents();
        return;
    }
    SearchLines = qb::search::prepareCategoryAnswer(*answer);
    showSR(Form.FHD1->isChecked() ? u"fhd"_s : u"normal"_s);
}

void TrackerSearch::FHD1Click() {
    Form.AddList->setVisible(false);
    Form.FHD1->setEnabled(true);
    if (Form.SearchResult->count() > 0) {
        Form.SearchResult->clear();
        showSR(Form.FHD1->isChecked() ? u"fhd"_s : u"normal"_s);
    }
    Form.takeFocusFromControls();
}

void TrackerSearch::FHD1MouseUp() {
    Form.takeFocusFromControls();
}
