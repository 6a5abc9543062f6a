// Bringing a magnet-list file onto the server: adding its links to the torrents there, or
// replacing them.
#include "app/tform1.h"
#include "connection/connection.h"
#include "lists/lists_and_series.h"

#include "app/workers/nested_loops.h"
#include "app/workers/responsive_wait.h"
#include "connection/api/torrserver_api.h"
#include "connection/http/http_result.h"
#include "connection/list/member_text.h"
#include "lists/removal_failure.h"
#include "lists/text/link_lines.h"
#include "lists/text/list_reading.h"
#include "platform/text/text_file.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using qb::lists::ListsAndSeries;

namespace {

const QString kConnected = u"Сервер ОК"_s;
const QString kListFilter = u"Текстовый файл (*.txt)"_s;

// One import at a time: its waits let every other handler run, and a second import would share
// the progress display and Memo2 with the first. However the import ends, the progress display
// is hidden and emptied.
class ImportScope {
public:
    ImportScope(TForm1& form, bool& running)
        : Form_(form)
        , Running_(running) {
        Running_ = true;
        Form_.N23->setEnabled(false);
        Form_.N25->setEnabled(false);
    }
    ~ImportScope() {
        Form_.Gauge1->setVisible(false);
        Form_.Label2->clear();
        Form_.Memo2->clear();
        Form_.N23->setEnabled(true);
        Form_.N25->setEnabled(true);
        Running_ = false;
    }
    ImportScope(const ImportScope&) = delete;
    ImportScope& operator=(const ImportScope&) = delete;

private:
    TForm1& Form_;
    bool& Running_;
};

std::optional<QStringList> readListFile(const QString& path) {
    const std::optional<QString> text = qb::platform::readTextFile(path);
    if (!text) {
        return std::nullopt;
    }
    return qb::lists::listLines(*text);
}

void showProgress(QProgressBar* gauge, int maximum) {
    gauge->setRange(0, maximum);
    gauge->setValue(0);
    gauge->setVisible(true);
}

} // namespace

void ListsAndSeries::N25Click() {
    if (Form.status->text() != kConnected || ImportRunning) {
        return;
    }
    const QString path =
        Form.platform().dialogs->openFile(&Form, QString(), QString(), kListFilter);
    if (path.isEmpty()) {
        return;
    }
    const ImportScope scope(Form, ImportRunning);
    const std::optional<QStringList> lines = readListFile(path);
    if (!lines) {
        Form.message(u"Не удается прочитать файл \""_s + path + u"\""_s, Form.windowTitle(),
                     qb::platform::MessageIcon::Error);
        return;
    }
    Form.Memo2->setPlainText(lines->join(u'\n'));
    Form.LogP->setText(QString());
    addListLines(*lines, false);
}

void ListsAndSeries::N23Click() {
    if (Form.message(
            u"Импортирование пользовательского списка приведёт к удалению всех торрентов на "
            u"сервере.\n\r\n\rПродолжить?"_s,
            u"Внимание!"_s, qb::platform::MessageIcon::Question,
            qb::platform::MessageButtons::YesNo) != qb::platform::MessageAnswer::Yes) {
        return;
    }
    if (Form.status->text() != kConnected || ImportRunning) {
        return;
    }
    Form.LogP->setText(QString());
    const QString path =
        Form.platform().dialogs->openFile(&Form, QString(), QString(), kListFilter);
    if (path.isEmpty()) {
        Form.UpdateList1->clear();
        Form.Memo2->clear();
        return;
    }
    const ImportScope scope(Form, ImportRunning);
    // The whole file is read and checked before anything is removed, so a wrong or broken
    // file never costs the user the torrents on the server.
    const QString name = QFileInfo(path).fileName();
    const std::optional<QStringList> lines = readListFile(path);
    if (!lines) {
        Form.message(u"Не удается прочитать файл \""_s + name +
                         u"\".\rТорренты на сервере не удалены."_s,
                     u"Ошибка"_s, qb::platform::MessageIcon::Warning);
        return;
    }
    if (!qb::lists::holdsLinks(*lines)) {
        Form.message(u"В файле \""_s + name +
                         u"\" нет магнет-ссылок и веб-адресов.\rТорренты на сервере не удалены."_s,
                     u"Ошибка"_s, qb::platform::MessageIcon::Warning);
        return;
    }
    // The torrents on the server now are the ones removed, whatever a refresh during the
    // removal's waits puts into the list.
    QStringList hashes;
    for (size_t k = 0; k < Form.connection().entries().size() &&
                       k < static_cast<size_t>(Form.TorrentList->count());
         ++k) {
        hashes << qb::connection::entryMemberText(Form.connection().entries()[k], "Hash");
    }
    if (!removeForImport(hashes)) {
        return;
    }
    Form.UpdateList1->clear();
    Form.Memo2->setPlainText(lines->join(u'\n'));
    addListLines(*lines, true);
}

bool ListsAndSeries::removeForImport(const QStringList& hashes) {
    const int total = static_cast<int>(hashes.size());
    showProgress(Form.Gauge1, total);
    for (int k = 0; k < total; ++k) {
        const qb::net::HttpResult answer = Form.server().remove(Form.SrvAdress->text(), hashes[k]);
        if (!answer.ok) {
            Form.Gauge1->setVisible(false);
            Form.Label2->clear();
            qb::lists::reportFailedRemoval(Form, answer);
            return false;
        }
        Form.Label2->setText(u"Очищаем список: "_s + QString::number(k + 1) + u" из "_s +
                             QString::number(total));
        Form.Gauge1->setValue(k + 1);
        qb::app::processPendingEvents();
        qb::app::ResponsiveWait(250);
    }
    return true;
}

void ListsAndSeries::addListLines(const QStringList& lines, bool longErrorEntries) {
    const int maximum = qb::lists::importProgressMaximum(lines);
    showProgress(Form.Gauge1, maximum);
    const auto form =
        longErrorEntries ? qb::lists::ErrorEntryForm::Long : qb::lists::ErrorEntryForm::Short;
    QString errors;
    int position = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (qb::lists::isNameLine(lines[i])) {
            continue;
        }
        const qb::net::HttpResult answer =
            Form.server().addListLine(Form.SrvAdress->text(), qb::lists::listLineAdd(lines, i));
        if (!answer.ok) {
            errors += qb::lists::errorEntry(lines, i, form);
            continue;
        }
        Form.Label2->setText(u"Добавляем магнеты: "_s + QString::number(position + 1) + u" из "_s +
                             QString::number(maximum));
        Form.Gauge1->setValue(++position);
        qb::app::processPendingEvents();
        qb::app::ResponsiveWait(500);
    }
    Form.Gauge1->setVisible(false);
    QString text = u"Импорт пользовательского списка завершен"_s;
    if (!errors.isEmpty()) {
        text += u"\r\n\r\nОшибки импорта: \r\n"_s + errors;
    }
    Form.message(text, u"Результат"_s, qb::platform::MessageIcon::Information);
    Form.Label2->clear();
    Form.connection().ConnectButtonClick();
    Form.connection().CountsLine();
    Form.Memo2->clear();
}
