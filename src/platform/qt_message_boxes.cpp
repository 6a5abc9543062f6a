#include "platform/qt_message_boxes.h"

#include <QMessageBox>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString messageBoxText(const QString& text) {
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    shown.replace(u'\r', u'\n');
    return shown;
}

MessageAnswer QtMessageBoxes::show(QWidget* owner, const QString& text, const QString& title,
                                   MessageIcon icon, MessageButtons buttons) {
    const bool yesNo = buttons == MessageButtons::YesNo;
    QMessageBox box(boxIcon(icon), title, messageBoxText(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    // Texts carry server answers and file names; they are never markup.
    box.setTextFormat(Qt::PlainText);
    if (yesNo) {
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    const int result = box.exec();
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    return result == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace qb::platform
