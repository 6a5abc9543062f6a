#include "app/window/list_box.h"

#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

using namespace Qt::Literals::StringLiterals;

ListBox::ListBox(QWidget* parent)
    : QListWidget(parent) {
    setMouseTracking(true);
}

void ListBox::mousePressEvent(QMouseEvent* event) {
    if (RightPressKeepsSelection_ && event->button() == Qt::RightButton) {
        event->accept();
        emit mouseDown(event->button(), event->position().toPoint());
        return;
    }
    QListWidget::mousePressEvent(event);
    emit mouseDown(event->button(), event->position().toPoint());
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()) != nullptr) {
        // A click on a row chooses it, also when it was chosen already.
        emit rowChosen();
    }
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    emit mouseUp(event->button(), event->position().toPoint());
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
}

void ListBox::mouseMoveEvent(QMouseEvent* event) {
    QListWidget::mouseMoveEvent(event);
    emit mouseMoved(event->position().toPoint());
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0) {
        emit rowChosen();
    }
}

void ListBox::enterEvent(QEnterEvent* event) {
    QListWidget::enterEvent(event);
    emit mouseEntered();
}

void ListBox::leaveEvent(QEvent* event) {
    QListWidget::leaveEvent(event);
    emit mouseLeft();
}

void ListBox::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    emit focusEntered();
}

void ListBox::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ListBox::dragMoveEvent(QDragMoveEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ListBox::dropEvent(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    QStringList files;
    QString url;
    for (const QUrl& dropped : data->urls()) {
        if (dropped.isLocalFile()) {
            files << dropped.toLocalFile();
        }
    }
    // A dropped link is taken as the browser wrote it: a magnet link must reach the server with
    // its percent-encoded trackers untouched.
    const QStringList links =
        QString::fromUtf8(data->data(u"text/uri-list"_s)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    for (const QString& link : links) {
        if (!link.startsWith(u'#') && !link.startsWith(u"file:"_s)) {
            url = link.trimmed();
            break;
        }
    }
    if (files.isEmpty() && url.isEmpty() && data->hasText()) {
        url = data->text().trimmed();
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped(files, url);
}
