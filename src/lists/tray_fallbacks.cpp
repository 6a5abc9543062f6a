// The tray's parts that the lists and the series check rely on, and what stands in for them on
// desktops without a tray (GNOME without an extension, many Wayland sessions): the tray menu
// opens from a button beside the options and from the status panel, and the balloon becomes a
// notice over the torrent list.
#include "app/tform1.h"

#include "lists/text/series_torrent.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int kBalloonMs = 7000;
const QRect kTrayMenuButtonGeometry(786, 262, 32, 21);
constexpr int kNoticeMargin = 6;

QPushButton* makeNotice(QWidget* parent) {
    auto* notice = new QPushButton(parent);
    notice->setObjectName(u"UpdateNotice"_s);
    notice->setFocusPolicy(Qt::NoFocus);
    notice->setCursor(Qt::PointingHandCursor);
    notice->setStyleSheet(u"QPushButton { background: rgb(255, 255, 225); color: black;"
                          u" border: 1px solid rgb(118, 118, 118); padding: 6px 12px; }"_s);
    notice->setVisible(false);
    return notice;
}
} // namespace

void TForm1::offerTrayMenuWithoutTray() {
    if (TrayMenuButton == nullptr) {
        TrayMenuButton = new QPushButton(u"☰"_s, centralWidget());
        TrayMenuButton->setObjectName(u"TrayMenuButton"_s);
        TrayMenuButton->setGeometry(kTrayMenuButtonGeometry);
        TrayMenuButton->setFocusPolicy(Qt::ClickFocus);
        TrayMenuButton->setToolTip(
            u"Меню: списки торрентов, статистика и кеш сервера, выход из программы"_s);
        TrayMenuButton->setAccessibleName(u"Меню"_s);
        connect(TrayMenuButton, &QPushButton::clicked, this, [this] {
            TrayMenu->popup(TrayMenuButton->mapToGlobal(QPoint(0, TrayMenuButton->height())));
        });
        // The status panel opens the same menu on a right click, with a tray or without.
        status->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(status, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& at) { TrayMenu->popup(status->mapToGlobal(at)); });
    }
    TrayMenuButton->setVisible(!Platform_.system->trayAvailable());
}

void TForm1::showUpdateBalloon() {
    const QString text = qb::lists::updatesFoundText(UpdateList1->count());
    if (Platform_.system->trayAvailable() && TrayIcon1->isVisible()) {
        TrayIcon1->showMessage(QGuiApplication::applicationDisplayName(), text,
                               QSystemTrayIcon::Information, kBalloonMs);
    } else {
        if (UpdateNotice == nullptr) {
            UpdateNotice = makeNotice(centralWidget());
            connect(UpdateNotice, &QPushButton::clicked, this, [this] {
                UpdateNotice->setVisible(false);
                TrayIcon1BalloonClick();
            });
            UpdateNoticeTimer = new QTimer(this);
            UpdateNoticeTimer->setSingleShot(true);
            connect(UpdateNoticeTimer, &QTimer::timeout, UpdateNotice, &QWidget::hide);
        }
        UpdateNotice->setText(text);
        UpdateNotice->adjustSize();
        const QRect list = TorrentList->geometry();
        UpdateNotice->move(list.right() - UpdateNotice->width() - kNoticeMargin,
                           list.bottom() - UpdateNotice->height() - kNoticeMargin);
        UpdateNotice->setVisible(true);
        UpdateNotice->raise();
        UpdateNoticeTimer->start(kBalloonMs);
        // A minimised window draws the user's eye through its taskbar entry.
        QApplication::alert(this, kBalloonMs);
    }
    Q_EMIT UpdateBalloonShown(text);
}
