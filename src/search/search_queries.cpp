// The queries to the search service: text search, the top list, the categories, and the
// resolution filter that reads the kept answer again.
#include "app/tform1.h"

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

void TForm1::setSearchControlsEnabled(bool enabled) {
    for (QWidget* control : {static_cast<QWidget*>(SearchT), static_cast<QWidget*>(Search),
                             static_cast<QWidget*>(Top1), static_cast<QWidget*>(Button1)}) {
        control->setEnabled(enabled);
    }
}

void TForm1::SearchClick() {
    if (SearchT->text().isEmpty()) {
        message(u"Введите текст для поиска!"_s, u"Ошибка"_s, qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        SearchT->setFocus(Qt::OtherFocusReason);
        return;
    }
    Edit2->setFocus(Qt::OtherFocusReason);
    AddList->setVisible(false);
    FHD1->setEnabled(true);
    SearchLines.clear();
    SearchResult->clear();
    SearchResults.clear();
    setSearchControlsEnabled(false);
    qb::app::processPendingEvents();

    QString accumulator;
    bool failed = false;
    for (const int page : {0, 1}) {
        const std::optional<QString> answer = fetchPage(
            *NetHTTPClient1, qb::search::textSearchAddress(ServiceBaseUrl, page, SearchT->text()));
        if (answer) {
            accumulator += *answer;
        } else {
            failed = true; // the other page is still asked for
        }
        qb::app::ResponsiveWait(500);
    }
    if (failed) {
        message(kNoAnswer, u"Результат"_s, qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        qb::app::processPendingEvents();
        return;
    }
    SearchLines = qb::search::prepareTextAnswer(std::move(accumulator));
    showSR(FHD1->isChecked() ? u"fhd"_s : u"normal"_s);
}

void TForm1::SearchTKeyDown(int key) {
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !SearchT->text().isEmpty() &&
        !LogP->text().contains(u"недоступен"_s)) {
        SearchClick();
    }
}

void TForm1::Top1Click() {
    AddList->setVisible(false);
    Edit2->setFocus(Qt::OtherFocusReason);
    FHD1->setEnabled(true);
    SearchLines.clear();
    SearchResult->clear();
    SearchT->clear();
    SearchResults.clear();
    Button1->setText(u"Категории"_s);
    setSearchControlsEnabled(false);
    qb::app::processPendingEvents();

    const std::optional<QString> answer =
        fetchPage(*NetHTTPClient1, qb::search::topAddress(ServiceBaseUrl));
    if (!answer) {
        message(kNoAnswer, u"Результат"_s, qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        return;
    }
    SearchLines = qb::search::prepareTopAnswer(*answer);
    showSR(FHD1->isChecked() ? u"fhd"_s : u"normal"_s);
}

void TForm1::Button1Click() {
    takeFocusFromControls();
    Edit2->setFocus(Qt::OtherFocusReason);
    CatMenu1->popup(Button1->mapToGlobal(QPoint(0, Button1->height())));
}

void TForm1::CategoryClick(QAction* item) {
    const std::pair<QAction*, QString> slugs[] = {
        {N6, u"kino"_s},           {N7, u"nashe_kino"_s},         {N9, u"seriali"_s},
        {N10, u"nashi_seriali"_s}, {N8, u"nauchno_popularnoe"_s}, {N11, u"tv"_s},
        {N14, u"inostrannoe"_s},   {N12, u"multiki"_s},           {N15, u"anime"_s},
        {N13, u"jumor"_s},
    };
    const auto chosen = std::find_if(std::begin(slugs), std::end(slugs),
                                     [item](const auto& slug) { return slug.first == item; });
    if (chosen == std::end(slugs)) {
        return;
    }
    AddList->setVisible(false);
    FHD1->setEnabled(true);
    setSearchControlsEnabled(false);
    // The caption names the category until the top list resets it.
    Button1->setText(item->text());
    qb::app::processPendingEvents();
    GetTList(chosen->second);
}

void TForm1::GetTList(const QString& addr) {
    SearchLines.clear();
    SearchResult->clear();
    SearchT->clear();
    SearchResults.clear();
    for (QWidget* control : {static_cast<QWidget*>(SearchT), static_cast<QWidget*>(Search),
                             static_cast<QWidget*>(Top1)}) {
        control->setEnabled(false);
    }
    qb::app::processPendingEvents();

    // One request: a second one of the same address would only list every row twice.
    const std::optional<QString> answer =
        fetchPage(*NetHTTPClient1, qb::search::categoryAddress(ServiceBaseUrl, addr));
    qb::app::ResponsiveWait(250);
    if (!answer) {
        message(kNoAnswer, u"Результат"_s, qb::platform::MessageIcon::Warning);
        setSearchControlsEnabled(true);
        qb::app::processPendingEvents();
        return;
    }
    SearchLines = qb::search::prepareCategoryAnswer(*answer);
    showSR(FHD1->isChecked() ? u"fhd"_s : u"normal"_s);
}

void TForm1::FHD1Click() {
    AddList->setVisible(false);
    FHD1->setEnabled(true);
    if (SearchResult->count() > 0) {
        SearchResult->clear();
        showSR(FHD1->isChecked() ? u"fhd"_s : u"normal"_s);
    }
    takeFocusFromControls();
}

void TForm1::FHD1MouseUp() {
    takeFocusFromControls();
}
