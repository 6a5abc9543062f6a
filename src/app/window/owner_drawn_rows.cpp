#include "app/window/owner_drawn_rows.h"

#include <QListWidget>
#include <QPainter>

OwnerDrawnRows::OwnerDrawnRows(DrawItem draw, int rowHeight, QObject* parent)
    : QStyledItemDelegate(parent)
    , Draw_(std::move(draw))
    , RowHeight_(rowHeight) {}

void OwnerDrawnRows::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    painter->save();
    Draw_(painter, index.row(), option.rect, option.state.testFlag(QStyle::State_Selected));
    painter->restore();
}

QSize OwnerDrawnRows::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), RowHeight_};
}

void makeOwnerDrawn(QListWidget* list, OwnerDrawnRows::DrawItem draw, int rowHeight) {
    list->setItemDelegate(new OwnerDrawnRows(std::move(draw), rowHeight, list));
    list->setUniformItemSizes(true);
}
