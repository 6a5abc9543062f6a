#pragma once

#include <QStyledItemDelegate>

#include <functional>

// Draws the rows of a list box through one of the window's DrawItem handlers, at a fixed row
// height, so each list decides its own row colours.
class OwnerDrawnRows : public QStyledItemDelegate {
    Q_OBJECT

public:
    using DrawItem = std::function<void(QPainter*, int index, const QRect& rect, bool selected)>;

    OwnerDrawnRows(DrawItem draw, int rowHeight, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    DrawItem Draw_;
    int RowHeight_;
};

class QListWidget;
// Makes `list` an owner-drawn list box with rows of `rowHeight` pixels.
void makeOwnerDrawn(QListWidget* list, OwnerDrawnRows::DrawItem draw, int rowHeight = 15);
