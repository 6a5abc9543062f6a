// Saving the server's torrent list as a magnet-list file.
#include "app/tform1.h"

#include "lists/text/list_export.h"
#include "platform/text/text_file.h"

#include <QFileInfo>
#include <QLabel>
#include <QListWidget>

using namespace Qt::Literals::StringLiterals;

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

void TForm1::N24Click() {
    if (!connected(*this)) {
        tellNotConnected(*this);
        return;
    }
    const QString path = Platform_.dialogs->saveFile(this, QString(), QString(),
                                                     u"Текстовый файл (*.txt)"_s, u".txt"_s);
    if (path.isEmpty()) {
        return;
    }
    // The connection may have been lost while the dialog was open.
    if (!connected(*this)) {
        tellNotConnected(*this);
        return;
    }
    const QString text = qb::lists::exportListText(ServerList, TorrentList->count());
    // The file is replaced only once the whole list is written, so a failed export never
    // leaves a cut-off list in place of a good one.
    if (!qb::platform::writeUtf8BomTextFile(path, text)) {
        message(u"Не удается записать файл \""_s + path + u"\""_s, windowTitle(),
                qb::platform::MessageIcon::Error);
        return;
    }
    message(u"Произведен экспорт с сервера\rСписок сохранен в файле \""_s +
                QFileInfo(path).fileName() + u"\""_s,
            u"Результат"_s, qb::platform::MessageIcon::Information);
}
