#pragma once

#include <QListWidget>

// A list box that reports the events the window's handlers are written against: a row chosen
// by the mouse or the keyboard, button presses and releases with their point, the pointer
// entering, moving over and leaving, the focus arriving, and drops of files or links.
class ListBox : public QListWidget {
    Q_OBJECT

public:
    explicit ListBox(QWidget* parent);

    // A right press then leaves the selection and the focused row to the window's handler
    // (reported through mouseDown only), so a context menu can act on a selection of rows.
    void setRightPressKeepsSelection(bool keep) { RightPressKeepsSelection_ = keep; }

signals:
    void rowChosen();
    void mouseDown(Qt::MouseButton button, const QPoint& at);
    void mouseUp(Qt::MouseButton button, const QPoint& at);
    void mouseEntered();
    void mouseLeft();
    void mouseMoved(const QPoint& at);
    void doubleClicked();
    void focusEntered();
    // Local file paths of the drop (may be empty) and the dropped non-file address or text.
    void dropped(const QStringList& files, const QString& url);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool RightPressKeepsSelection_ = false;
};
