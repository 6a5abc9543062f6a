#pragma once

#include "platform/platform.h"

namespace qb::platform {

class QtSystemInfo final : public SystemInfo {
public:
    QString productName() override;
    bool trayAvailable() override;
};

} // namespace qb::platform
