#pragma once

class QCoreApplication;

namespace qb::platform {

// Loads Qt's own Russian texts (standard buttons "Да", "Нет", file dialogs) into `app`.
// Returns false when the translation is not installed; Qt's English texts stay then.
bool installRussianTranslations(QCoreApplication& app);

} // namespace qb::platform
