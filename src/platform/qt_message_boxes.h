#pragma once

#include "platform/platform.h"

namespace qb::platform {

// QMessageBox, modal over its owner.
class QtMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer show(QWidget* owner, const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;
};

// The text as a message box shows it: a lone "\r" becomes a line break, "\r\n" one break.
QString messageBoxText(const QString& text);

} // namespace qb::platform
