#pragma once

#include "platform/platform.h"

namespace qb::platform {

// The desktop clipboard through QGuiApplication::clipboard().
class QtClipboard final : public Clipboard {
public:
    void setText(const QString& text) override;
    QString text() override;
};

} // namespace qb::platform
