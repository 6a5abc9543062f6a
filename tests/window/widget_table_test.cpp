// The built window against its widget table: kinds, captions, geometry, start states, menus.
#include "app/tform1.h"
#include "fake_platform.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class WidgetTable : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qb::test::FakePlatform fakes = qb::test::makeFakePlatform(dir.path() + u"/"_s);
        form = std::make_unique<TForm1>(std::move(fakes.platform));
    }
    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
};

QString captionOf(QWidget* w) {
    if (auto* b = qobject_cast<QPushButton*>(w))
        return b->text();
    if (auto* c = qobject_cast<QCheckBox*>(w))
        return c->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    return {};
}

struct Row {
    const char* name;
    const char* kind;
    const char* parent; // the window's client area, or the widget that holds it
    QString caption;
    QRect geometry; // an empty size means: only the position is given
    bool hidden;
    bool enabled;
};

// What can be seen of the widget with its own children, in its coordinates.
QRegion seenRegion(const QWidget* w) {
    QRegion seen = w->visibleRegion();
    for (const QObject* object : w->children()) {
        if (const auto* child = qobject_cast<const QWidget*>(object); child && child->isVisible()) {
            seen += seenRegion(child).translated(child->pos());
        }
    }
    return seen;
}

// Controls the user sees and uses: nothing may lie over any part of them.
bool usedControl(const Row& row) {
    const QByteArray name(row.name);
    return !row.hidden && name != "LogP" && name != "Label2" && name != "GroupBox1" &&
           name != "GroupBox2" && !name.startsWith("Edit");
}

// The window as shown: every widget where the table puts it, in the right parent, shown or
// hidden, and nothing covering a control the user works with.
TEST_F(WidgetTable, ShownWindowHasEveryWidgetInItsPlace) {
    const Row rows[] = {
        {"Label1", "QLabel", "", u"Адрес сервера:"_s, {8, 10, 0, 0}, false, true},
        {"SrvAdress", "QLineEdit", "", u""_s, {8, 29, 478, 22}, false, true},
        {"ConnectButton",
         "QPushButton",
         "",
         u"Подключиться / Обновить"_s,
         {494, 29, 178, 21},
         false,
         true},
        {"SettingBut", "QPushButton", "", u"Настройки сервера"_s, {678, 29, 132, 21}, false, false},
        {"TorrentList", "QListWidget", "", u""_s, {8, 56, 810, 169}, false, true},
        {"LogP", "QLabel", "", u"..."_s, {8, 233, 609, 21}, false, true},
        {"Label2", "QLabel", "LogP", u""_s, {7, 4, 0, 0}, false, true},
        {"ChosePlayerBut", "QPushButton", "", u"Выбрать плеер"_s, {632, 233, 178, 21}, false, true},
        {"status", "QLabel", "", u"Нет подключения"_s, {8, 262, 226, 21}, false, true},
        {"Local1",
         "QCheckBox",
         "",
         u"Использовать локальный сервер"_s,
         {252, 264, 208, 17},
         false,
         true},
        {"FHD1",
         "QCheckBox",
         "",
         u"Отображать только FHD (1080p) и UHD (2160p)"_s,
         {475, 264, 303, 17},
         false,
         true},
        {"GroupBox1", "QGroupBox", "", u" Глобальный поиск "_s, {8, 289, 817, 265}, false, true},
        {"SearchT", "QLineEdit", "GroupBox1", u""_s, {8, 15, 337, 22}, false, true},
        {"Search", "QPushButton", "GroupBox1", u"Найти"_s, {359, 16, 81, 21}, false, true},
        {"Top1", "QPushButton", "GroupBox1", u"ТОП за 24 часа"_s, {446, 16, 146, 21}, false, true},
        {"Button1", "QPushButton", "GroupBox1", u"Категории"_s, {598, 16, 204, 21}, false, true},
        {"SearchResult", "QListWidget", "GroupBox1", u""_s, {8, 43, 802, 214}, false, true},
        {"AddList", "QListWidget", "GroupBox1", u""_s, {8, 43, 802, 214}, true, true},
        {"GroupBox2", "QGroupBox", "", u" Информация "_s, {831, 8, 426, 546}, false, true},
        {"Edit2", "QLineEdit", "", u"insmag"_s, {214, 73, 458, 22}, false, true},
        {"Edit1", "QLineEdit", "", u"Edit1"_s, {479, 88, 121, 22}, false, true},
        {"Edit3", "QLineEdit", "", u"Edit3"_s, {632, 192, 121, 22}, false, true},
        {"Memo2", "QPlainTextEdit", "", u""_s, {94, 382, 697, 140}, true, true},
        {"UpdateList1", "QListWidget", "", u""_s, {433, 350, 704, 203}, true, true},
    };
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto* w = form->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(row.kind));
        QWidget* parent = *row.parent == '\0'
                              ? form->centralWidget()
                              : form->findChild<QWidget*>(QString::fromLatin1(row.parent));
        EXPECT_EQ(w->parentWidget(), parent);
        EXPECT_EQ(captionOf(w), row.caption);
        EXPECT_EQ(w->pos(), row.geometry.topLeft());
        if (!row.geometry.size().isEmpty()) {
            EXPECT_EQ(w->size(), row.geometry.size());
        }
        EXPECT_EQ(w->isVisible(), !row.hidden);
        EXPECT_EQ(w->isEnabled(), row.enabled);
        if (usedControl(row)) {
            // Within its parent and under no other widget: all of it can be seen and clicked.
            EXPECT_EQ(seenRegion(w), QRegion(w->rect()));
        }
    }
}

TEST_F(WidgetTable, WindowIsFixedWithMinimiseAndCloseOnly) {
    EXPECT_EQ(form->minimumSize(), QSize(1264, 561));
    EXPECT_EQ(form->maximumSize(), QSize(1264, 561));
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form->windowTitle().isEmpty()); // the caption is set by the start-up
    EXPECT_FALSE(form->windowIcon().isNull());
}

// The edit boxes that hold the focus for the window lie under the torrent list, where nobody can
// see or click them, and out of the Tab order.
TEST_F(WidgetTable, FocusParkingEditsCannotBeSeenOnTheShownWindow) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    for (QWidget* edit : {form->Edit1, form->Edit2, form->Edit3}) {
        EXPECT_TRUE(edit->isVisible()) << edit->objectName().toStdString();
        EXPECT_TRUE(edit->visibleRegion().isEmpty()) << edit->objectName().toStdString();
        EXPECT_NE(edit->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    }
}

TEST_F(WidgetTable, ProgressBarFillsTheStatusLineAndStartsHidden) {
    EXPECT_TRUE(form->Gauge1->isHidden());
    EXPECT_EQ(form->Gauge1->parentWidget(), form->LogP);
    EXPECT_EQ(form->Label2->parentWidget(), form->LogP);
    EXPECT_FALSE(form->Gauge1->isTextVisible());
    EXPECT_EQ(form->WebBrowser1->parentWidget(), form->GroupBox2);
}

TEST_F(WidgetTable, ListsHaveFifteenPixelRowsAndTheirSelectionModes) {
    for (QListWidget* list : {form->TorrentList, form->SearchResult, form->AddList}) {
        list->addItem(u"row"_s);
        EXPECT_EQ(list->sizeHintForRow(0), 15) << list->objectName().toStdString();
    }
    EXPECT_EQ(form->TorrentList->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(form->SearchResult->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(form->AddList->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(form->TorrentList->acceptDrops());
}

struct MenuRow {
    const char* name;
    QString caption; // empty: a separator
    QKeySequence shortcut;
};

void expectMenu(QMenu* menu, std::initializer_list<MenuRow> rows) {
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(rows.size()));
    int i = 0;
    for (const MenuRow& row : rows) {
        SCOPED_TRACE(row.name);
        QAction* a = actions[i++];
        EXPECT_EQ(a->objectName(), QString::fromLatin1(row.name));
        EXPECT_EQ(a->isSeparator(), row.caption.isEmpty());
        EXPECT_EQ(a->text(), row.caption);
        EXPECT_EQ(a->shortcut(), row.shortcut);
    }
}

const QKeySequence kNone;
QKeySequence ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}

TEST_F(WidgetTable, MenusHaveTheirItemsInOrder) {
    expectMenu(form->TrayMenu, {{"N5", u"Открыть главное окно"_s, kNone},
                                {"N20", u"Показать статистику"_s, ctrl(Qt::Key_I)},
                                {"N22", u"Показать кеш"_s, kNone},
                                {"N27", {}, kNone},
                                {"N23", u"Загрузить список торрентов из файла"_s, kNone},
                                {"N24", u"Сохранить список торрентов в файл"_s, kNone},
                                {"N25", u"Добавить торренты из файла"_s, kNone},
                                {"N26", {}, kNone},
                                {"MenuItem4", u"Закрыть приложение"_s, kNone}});
    expectMenu(form->TorListPopup,
               {{"mPlay", u"Воспроизвести"_s, ctrl(Qt::Key_P)},
                {"N18", u"Скачать файл на комьютер"_s, kNone},
                {"m3u2", u"Скачать плейлист торрента (m3u)"_s, kNone},
                {"C1", u"Cкопировать магнет ссылку"_s, kNone},
                {"mDel", u"Удалить с сервера"_s, ctrl(Qt::Key_D)},
                {"N28", {}, kNone},
                {"update1", u"Обновить торрент"_s, kNone},
                {"TLopenID", u"Информация о раздаче"_s, kNone},
                {"N3", {}, kNone},
                {"m3u1", u"Скачать плейлист всех торрентов сервера (m3u)"_s, kNone}});
    expectMenu(form->PopupMenu1, {{"N4", u"Воспроизвести без добавления"_s, ctrl(Qt::Key_P)},
                                  {"N2", u"Добавить на сервер"_s, ctrl(Qt::Key_A)},
                                  {"C2", u"Cкопировать магнет ссылку"_s, kNone},
                                  {"N17", {}, kNone},
                                  {"N16", u"Искать похожие"_s, ctrl(Qt::Key_F)},
                                  {"N1", u"Информация о раздаче"_s, kNone}});
    expectMenu(form->AddListPopup, {{"MenuItem1", u"Воспроизвести"_s, ctrl(Qt::Key_P)},
                                    {"MenuItem2", u"Скачать на комьютер"_s, kNone}});
    expectMenu(form->CatMenu1, {{"N6", u"Зарубежные фильмы"_s, kNone},
                                {"N7", u"Наши фильмы"_s, kNone},
                                {"N9", u"Зарубежные сериалы"_s, kNone},
                                {"N10", u"Наши сериалы"_s, kNone},
                                {"N8", u"Научно-популярные фильмы"_s, kNone},
                                {"N11", u"Телевизор"_s, kNone},
                                {"N14", u"Иностранные релизы"_s, kNone},
                                {"N12", u"Мультипликация"_s, kNone},
                                {"N15", u"Аниме"_s, kNone},
                                {"N13", u"Юмор"_s, kNone}});
}

TEST_F(WidgetTable, ListShortcutsActOnlyWhileTheirListHasTheFocus) {
    for (auto [item, list] : {std::pair{form->mPlay, static_cast<QWidget*>(form->TorrentList)},
                              std::pair{form->mDel, static_cast<QWidget*>(form->TorrentList)},
                              std::pair{form->N4, static_cast<QWidget*>(form->SearchResult)},
                              std::pair{form->N2, static_cast<QWidget*>(form->SearchResult)},
                              std::pair{form->N16, static_cast<QWidget*>(form->SearchResult)},
                              std::pair{form->MenuItem1, static_cast<QWidget*>(form->AddList)}}) {
        EXPECT_EQ(item->shortcutContext(), Qt::WidgetShortcut) << item->objectName().toStdString();
        EXPECT_TRUE(list->actions().contains(item)) << item->objectName().toStdString();
    }
}

TEST_F(WidgetTable, TimersAndTrayIcon) {
    EXPECT_EQ(form->Timer1->interval(), 5000);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(form->UpdateTimer1->interval(), 3600000);
    EXPECT_FALSE(form->UpdateTimer1->isActive());
    EXPECT_EQ(form->TrayIcon1->toolTip(), u"Клиент Quillbrook"_s);
    EXPECT_EQ(form->TrayIcon1->contextMenu(), form->TrayMenu);
}

} // namespace
