// Saving the server's torrent list as a magnet-list file.
#include "app/tform1.h"
#include "connection/connection.h"
#include "lists/lists_and_series.h"

#include "lists/text/list_export.h"
#include "platform/text/text_file.h"

#include <QFileInfo>
#include <QLabel>
#include <QListWidget>

using namespace Qt::Literals::StringLiterals;
using qb::lists::ListsAndSeries;

namespace {
// Without a connection the list is empty because its refresh failed, not because the server
// holds no torrents: an export then would write an empty file and report it as saved.
bool connected(const TForm1& form) {
    return form.status->text() == u"Сервер ОК"_s;
}

void tellNotConnected(TForm1& form) {
    form.message(u"Необходимо подключиться к серверу!"_s, u"Инфо"_s,
                 qb::platform::MessageIcon::Information);
}
} // namespace

void ListsAndSeries::N24Click() {
    if (!connected(Form)) {
        tellNotConnected(Form);
        return;
    }
    const QString path = Form.platform().dialogs->saveFile(&Form, QString(), QString(),
                                                           u"Текстовый файл (*.txt)"_s, u".txt"_s);
    if (path.isEmpty()) {
        return;
    }
    // The connection may have been lost while the dialog was open.
    if (!connected(Form)) {
        tellNotConnected(Form);
        return;
    }
    const QString text =
        qb::lists::exportListText(Form.connection().entries(), Form.TorrentList->count());
    // The file is replaced only once the whole list is written, so a failed export never
    // leaves a cut-off list in place of a good one.
    if (!qb::platform::writeUtf8BomTextFile(path, text)) {
        Form.message(u"Не удается записать файл \""_s + path + u"\""_s, Form.windowTitle(),
                     qb::platform::MessageIcon::Error);
        return;
    }
    Form.message(u"Произведен экспорт с сервера\rСписок сохранен в файле \""_s +
                     QFileInfo(path).fileName() + u"\""_s,
                 u"Результат"_s, qb::platform::MessageIcon::Information);
}
