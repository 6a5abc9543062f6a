// The popup menus of the main window with their items, order, separators and shortcuts.
#include "app/tform1.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
    }
    return item;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* item = menu->addSeparator();
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

QKeySequence ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}

// A list's menu shortcuts act while that list has the keyboard focus.
void attachShortcuts(QMenu* menu, QWidget* list) {
    for (QAction* item : menu->actions()) {
        if (!item->shortcut().isEmpty()) {
            item->setShortcutContext(Qt::WidgetShortcut);
            list->addAction(item);
        }
    }
}

} // namespace

void TForm1::createMenus() {
    TrayMenu = new QMenu(this);
    TrayMenu->setObjectName(u"TrayMenu"_s);
    N5 = addItem(TrayMenu, "N5", u"Открыть главное окно"_s);
    N20 = addItem(TrayMenu, "N20", u"Показать статистику"_s, ctrl(Qt::Key_I));
    N22 = addItem(TrayMenu, "N22", u"Показать кеш"_s);
    N27 = addSeparator(TrayMenu, "N27");
    N23 = addItem(TrayMenu, "N23", u"Загрузить список торрентов из файла"_s);
    N24 = addItem(TrayMenu, "N24", u"Сохранить список торрентов в файл"_s);
    N25 = addItem(TrayMenu, "N25", u"Добавить торренты из файла"_s);
    N26 = addSeparator(TrayMenu, "N26");
    MenuItem4 = addItem(TrayMenu, "MenuItem4", u"Закрыть приложение"_s);
    // The tray menu's shortcut works while the window is active.
    N20->setShortcutContext(Qt::WindowShortcut);
    addAction(N20);

    TorListPopup = new QMenu(this);
    TorListPopup->setObjectName(u"TorListPopup"_s);
    mPlay = addItem(TorListPopup, "mPlay", u"Воспроизвести"_s, ctrl(Qt::Key_P));
    N18 = addItem(TorListPopup, "N18", u"Скачать файл на комьютер"_s);
    m3u2 = addItem(TorListPopup, "m3u2", u"Скачать плейлист торрента (m3u)"_s);
    C1 = addItem(TorListPopup, "C1", u"Cкопировать магнет ссылку"_s);
    mDel = addItem(TorListPopup, "mDel", u"Удалить с сервера"_s, ctrl(Qt::Key_D));
    N28 = addSeparator(TorListPopup, "N28");
    update1 = addItem(TorListPopup, "update1", u"Обновить торрент"_s);
    TLopenID = addItem(TorListPopup, "TLopenID", u"Информация о раздаче"_s);
    N3 = addSeparator(TorListPopup, "N3");
    m3u1 = addItem(TorListPopup, "m3u1", u"Скачать плейлист всех торрентов сервера (m3u)"_s);
    attachShortcuts(TorListPopup, TorrentList);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    N4 = addItem(PopupMenu1, "N4", u"Воспроизвести без добавления"_s, ctrl(Qt::Key_P));
    N2 = addItem(PopupMenu1, "N2", u"Добавить на сервер"_s, ctrl(Qt::Key_A));
    C2 = addItem(PopupMenu1, "C2", u"Cкопировать магнет ссылку"_s);
    N17 = addSeparator(PopupMenu1, "N17");
    N16 = addItem(PopupMenu1, "N16", u"Искать похожие"_s, ctrl(Qt::Key_F));
    N1 = addItem(PopupMenu1, "N1", u"Информация о раздаче"_s);
    attachShortcuts(PopupMenu1, SearchResult);

    AddListPopup = new QMenu(this);
    AddListPopup->setObjectName(u"AddListPopup"_s);
    MenuItem1 = addItem(AddListPopup, "MenuItem1", u"Воспроизвести"_s, ctrl(Qt::Key_P));
    MenuItem2 = addItem(AddListPopup, "MenuItem2", u"Скачать на комьютер"_s);
    attachShortcuts(AddListPopup, AddList);

    CatMenu1 = new QMenu(this);
    CatMenu1->setObjectName(u"CatMenu1"_s);
    N6 = addItem(CatMenu1, "N6", u"Зарубежные фильмы"_s);
    N7 = addItem(CatMenu1, "N7", u"Наши фильмы"_s);
    N9 = addItem(CatMenu1, "N9", u"Зарубежные сериалы"_s);
    N10 = addItem(CatMenu1, "N10", u"Наши сериалы"_s);
    N8 = addItem(CatMenu1, "N8", u"Научно-популярные фильмы"_s);
    N11 = addItem(CatMenu1, "N11", u"Телевизор"_s);
    N14 = addItem(CatMenu1, "N14", u"Иностранные релизы"_s);
    N12 = addItem(CatMenu1, "N12", u"Мультипликация"_s);
    N15 = addItem(CatMenu1, "N15", u"Аниме"_s);
    N13 = addItem(CatMenu1, "N13", u"Юмор"_s);
}
