#pragma once

#include "platform/platform.h"

namespace qb::platform {

// QFileDialog, modal over its owner (the desktop's own dialog where Qt offers one).
class QtFileDialogs final : public FileDialogs {
public:
    QString openFile(QWidget* owner, const QString& title, const QString& folder,
                     const QString& filter) override;
    QString saveFile(QWidget* owner, const QString& title, const QString& presetName,
                     const QString& filter, const QString& defaultSuffix) override;
};

} // namespace qb::platform
