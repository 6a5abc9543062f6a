#pragma once

#include "platform/platform.h"

namespace qb::platform {

// The desktop's default handler through QDesktopServices.
class QtBrowser final : public Browser {
public:
    void open(const QUrl& address) override;
};

} // namespace qb::platform
