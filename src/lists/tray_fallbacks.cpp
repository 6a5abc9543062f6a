// The tray's parts that the lists and the series check rely on, and what stands in for them on
// desktops without a tray (GNOME without an extension, many Wayland sessions): the tray menu
// opens from a button beside the options and from the status panel, and the balloon becomes a
// notice over the torrent list.
#include "app/app_core.h"
#include "app/tform1.h"
#include "lists/lists_and_series.h"

#include "lists/text/series_torrent.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;
using qb::lists::ListsAndSeries;

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

void ListsAndSeries::offerTrayMenuWithoutTray() {
    if (Form.TrayMenuButton == nullptr) {
        Form.TrayMenuButton = new QPushButton(u"☰"_s, Form.centralWidget());
        Form.TrayMenuButton->setObjectName(u"TrayMenuButton"_s);
        Form.TrayMenuButton->setGeometry(kTrayMenuButtonGeometry);
        Form.TrayMenuButton->setFocusPolicy(Qt::ClickFocus);
        Form.TrayMenuButton->setToolTip(
            u"Меню: списки торрентов, статистика и кеш сервера, выход из программы"_s);
        Form.TrayMenuButton->setAccessibleName(u"Меню"_s);
        connect(Form.TrayMenuButton, &QPushButton::clicked, this, [this] {
            Form.TrayMenu->popup(
                Form.TrayMenuButton->mapToGlobal(QPoint(0, Form.TrayMenuButton->height())));
        });
        // The status panel opens the same menu on a right click, with a tray or without.
        Form.status->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(Form.status, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& at) { Form.TrayMenu->popup(Form.status->mapToGlobal(at)); });
    }
    Form.TrayMenuButton->setVisible(!Form.platform().system->trayAvailable());
}

void ListsAndSeries::showUpdateBalloon() {
    const QString text = qb::lists::updatesFoundText(Form.UpdateList1->count());
    if (Form.platform().system->trayAvailable() && Form.TrayIcon1->isVisible()) {
        Form.TrayIcon1->showMessage(QGuiApplication::applicationDisplayName(), text,
                                    QSystemTrayIcon::Information, kBalloonMs);
    } else {
        if (Form.UpdateNotice == nullptr) {
            Form.UpdateNotice = makeNotice(Form.centralWidget());
            connect(Form.UpdateNotice, &QPushButton::clicked, this, [this] {
                Form.UpdateNotice->setVisible(false);
                Form.core().TrayIcon1BalloonClick();
            });
            Form.UpdateNoticeTimer = new QTimer(this);
            Form.UpdateNoticeTimer->setSingleShot(true);
            connect(Form.UpdateNoticeTimer, &QTimer::timeout, Form.UpdateNotice, &QWidget::hide);
        }
        Form.UpdateNotice->setText(text);
        Form.UpdateNotice->adjustSize();
        const QRect list = Form.TorrentList->geometry();
        Form.UpdateNotice->move(list.right() - Form.UpdateNotice->width() - kNoticeMargin,
                                list.bottom() - Form.UpdateNotice->height() - kNoticeMargin);
        Form.UpdateNotice->setVisible(true);
        Form.UpdateNotice->raise();
        Form.UpdateNoticeTimer->start(kBalloonMs);
        // A minimised window draws the user's eye through its taskbar entry.
        QApplication::alert(&Form, kBalloonMs);
    }
    Q_EMIT Form.UpdateBalloonShown(text);
}
