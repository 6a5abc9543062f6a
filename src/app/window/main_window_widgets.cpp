// The widget set of the main window: kinds, captions, geometry and start states.
#include "app/tform1.h"

#include "app/hand_off.h"
#include "app/window/list_box.h"
#include "app/window/owner_drawn_rows.h"
#include "connection/connection.h"
#include "search/tracker_search.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

namespace {

// A panel with a lowered bevel whose caption sits in its middle.
QLabel* makePanel(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* panel = new QLabel(caption, parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setGeometry(geometry);
    return panel;
}

QPushButton* makeButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    return button;
}

QListWidget* makeList(QWidget* parent, const QRect& geometry) {
    auto* list = new ListBox(parent);
    list->setGeometry(geometry);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// Hidden edit boxes that lie under the torrent list: nobody can see or click them and they are
// outside the Tab order, but code can park the keyboard focus on them.
QLineEdit* makeParkingEdit(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* edit = new QLineEdit(text, parent);
    edit->setGeometry(geometry);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

} // namespace

void TForm1::createWidgets() {
    auto* client = new QWidget(this);
    client->setObjectName(u"ClientArea"_s);
    setCentralWidget(client);

    Label1 = new QLabel(u"Адрес сервера:"_s, client);
    Label1->move(8, 10);
    Label1->adjustSize();

    SrvAdress = new QLineEdit(client);
    SrvAdress->setGeometry(8, 29, 478, 22);

    ConnectButton = makeButton(client, u"Подключиться / Обновить"_s, {494, 29, 178, 21});
    SettingBut = makeButton(client, u"Настройки сервера"_s, {678, 29, 132, 21});
    SettingBut->setEnabled(false);

    // The parking edits come before the list so that the list covers them.
    Edit2 = makeParkingEdit(client, qb::app::kHandOffIdle, {214, 73, 458, 22});
    Edit1 = makeParkingEdit(client, u"Edit1"_s, {479, 88, 121, 22});
    Edit3 = makeParkingEdit(client, u"Edit3"_s, {632, 192, 121, 22});

    TorrentList = makeList(client, {8, 56, 810, 169});
    TorrentList->setDragDropMode(QAbstractItemView::DropOnly); // drops of files and links
    makeOwnerDrawn(TorrentList, [this](QPainter* p, int i, const QRect& r, bool s) {
        connection().TorrentListDrawItem(p, i, r, s);
    });
    TorrentList->raise();

    LogP = makePanel(client, u"..."_s, {8, 233, 609, 21});
    QPalette grey = LogP->palette();
    grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
    LogP->setPalette(grey);

    Gauge1 = new QProgressBar(LogP);
    Gauge1->setGeometry(LogP->contentsRect());
    Gauge1->setTextVisible(false);
    Gauge1->setStyleSheet(u"QProgressBar { border: 0; background: palette(button); }"
                          u"QProgressBar::chunk { background: rgb(166, 202, 240); }"_s);
    Gauge1->setVisible(false);

    Label2 = new QLabel(LogP);
    Label2->move(7, 4);
    QFont small = Label2->font();
    small.setPointSize(8);
    Label2->setFont(small);
    QPalette black = Label2->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    Label2->setPalette(black);

    ChosePlayerBut = makeButton(client, u"Выбрать плеер"_s, {632, 233, 178, 21});

    status = makePanel(client, u"Нет подключения"_s, {8, 262, 226, 21});

    Local1 = new QCheckBox(u"Использовать локальный сервер"_s, client);
    Local1->setGeometry(252, 264, 208, 17);
    Local1->setFocusPolicy(Qt::ClickFocus);

    FHD1 = new QCheckBox(u"Отображать только FHD (1080p) и UHD (2160p)"_s, client);
    FHD1->setGeometry(475, 264, 303, 17);
    FHD1->setFocusPolicy(Qt::ClickFocus);

    GroupBox1 = new QGroupBox(u" Глобальный поиск "_s, client);
    GroupBox1->setGeometry(8, 289, 817, 265);
    SearchT = new QLineEdit(GroupBox1);
    SearchT->setGeometry(8, 15, 337, 22);
    Search = makeButton(GroupBox1, u"Найти"_s, {359, 16, 81, 21});
    Top1 = makeButton(GroupBox1, u"ТОП за 24 часа"_s, {446, 16, 146, 21});
    Button1 = makeButton(GroupBox1, u"Категории"_s, {598, 16, 204, 21});

    SearchResult = makeList(GroupBox1, {8, 43, 802, 214});
    makeOwnerDrawn(SearchResult, [this](QPainter* p, int i, const QRect& r, bool s) {
        search().SearchResultDrawItem(p, i, r, s);
    });
    AddList = makeList(GroupBox1, {8, 43, 802, 214});
    AddList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    makeOwnerDrawn(AddList, [this](QPainter* p, int i, const QRect& r, bool s) {
        connection().AddListDrawItem(p, i, r, s);
    });
    AddList->setVisible(false);

    GroupBox2 = new QGroupBox(u" Информация "_s, client);
    GroupBox2->setGeometry(831, 8, 426, 546);
    auto* infoLayout = new QVBoxLayout(GroupBox2);
    infoLayout->setContentsMargins(3, 4, 3, 5);
    WebBrowser1 = new QWebEngineView(GroupBox2);
    infoLayout->addWidget(WebBrowser1);

    Memo1 = new QTextEdit(client);
    Memo1->setLineWrapMode(QTextEdit::NoWrap);
    Memo1->setGeometry(-200, 382, 185, 140);
    Memo1->setVisible(false);

    Memo2 = new QPlainTextEdit(client);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setGeometry(94, 382, 697, 140);
    Memo2->setVisible(false);

    UpdateList1 = new QListWidget(client);
    UpdateList1->setGeometry(433, 350, 704, 203);
    UpdateList1->setVisible(false);

    // Object names let tests and accessibility tools find the widgets by their form names.
    const std::pair<QWidget*, const char16_t*> names[] = {
        {Label1, u"Label1"},
        {SrvAdress, u"SrvAdress"},
        {ConnectButton, u"ConnectButton"},
        {SettingBut, u"SettingBut"},
        {TorrentList, u"TorrentList"},
        {LogP, u"LogP"},
        {Gauge1, u"Gauge1"},
        {Label2, u"Label2"},
        {ChosePlayerBut, u"ChosePlayerBut"},
        {status, u"status"},
        {Local1, u"Local1"},
        {FHD1, u"FHD1"},
        {GroupBox1, u"GroupBox1"},
        {SearchT, u"SearchT"},
        {Search, u"Search"},
        {Top1, u"Top1"},
        {Button1, u"Button1"},
        {SearchResult, u"SearchResult"},
        {AddList, u"AddList"},
        {GroupBox2, u"GroupBox2"},
        {WebBrowser1, u"WebBrowser1"},
        {Edit1, u"Edit1"},
        {Edit2, u"Edit2"},
        {Edit3, u"Edit3"},
        {Memo1, u"Memo1"},
        {Memo2, u"Memo2"},
        {UpdateList1, u"UpdateList1"},
    };
    for (const auto& [widget, name] : names) {
        widget->setObjectName(QString::fromUtf16(name));
    }
}
