#include "caption_fit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

namespace qb::test {

namespace {

struct Measure {
    QString text;
    int needed = 0;
    int available = 0;
};

int textWidth(const QWidget& widget, const QString& text) {
    return QFontMetrics(widget.font()).size(Qt::TextShowMnemonic, text).width();
}

Measure measureButton(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool checkBox = qobject_cast<const QCheckBox*>(&button) != nullptr;
    const QRect room = button.style()->subElementRect(
        checkBox ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, &button);
    return {button.text(), textWidth(button, button.text()), room.width()};
}

Measure measureLabel(const QLabel& label) {
    const int room = label.contentsRect().width() - 2 * label.margin() - qMax(0, label.indent());
    return {label.text(), textWidth(label, label.text()), room};
}

Measure measureGroupBox(const QGroupBox& box) {
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.subControls = QStyle::SC_GroupBoxLabel;
    const QRect title =
        box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    // The title's own spaces stand for the gap around it in the frame line, and the style sizes
    // the title's rectangle to the drawn characters: those must fit it and the box's width.
    const int room = qMin(title.width(), box.width() - title.left());
    const int drawn = QFontMetrics(box.font()).boundingRect(box.title()).width();
    return {box.title(), drawn, room};
}

template <typename Visit> void forEachCaption(const QWidget& window, const Visit& visit) {
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window)) {
            continue;
        }
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            visit(*widget, measureButton(*button));
        } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            visit(*widget, measureLabel(*label));
        } else if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
            visit(*widget, measureGroupBox(*box));
        }
    }
}

} // namespace

std::vector<CutCaption> cutCaptions(const QWidget& window) {
    std::vector<CutCaption> cut;
    forEachCaption(window, [&cut](const QWidget& widget, const Measure& measure) {
        if (measure.needed > measure.available) {
            cut.push_back({widget.objectName(), measure.text, measure.needed, measure.available});
        }
    });
    return cut;
}

std::vector<QString> measuredCaptions(const QWidget& window) {
    std::vector<QString> names;
    forEachCaption(window, [&names](const QWidget& widget, const Measure& measure) {
        if (!measure.text.isEmpty()) {
            names.push_back(widget.objectName());
        }
    });
    return names;
}

} // namespace qb::test
