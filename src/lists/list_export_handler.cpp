// Saving the server's torrent list as a magnet-list file.
#include "app/tform1.h"

#include "lists/text/list_export.h"
#include "platform/text/text_file.h"

#include <QFileInfo>
#include <QListWidget>

using namespace Qt::Literals::StringLiterals;

void TForm1::N24Click() {
    const QString path = Platform_.dialogs->saveFile(this, QString(), QString(),
                                                     u"Текстовый файл (*.txt)"_s, u".txt"_s);
    if (path.isEmpty()) {
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
