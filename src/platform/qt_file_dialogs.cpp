#include "platform/qt_file_dialogs.h"

#include <QFileDialog>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

namespace {

// "*.m3u" and ".m3u" are the forms dialogs of other systems take; Qt wants "m3u".
QString bareSuffix(QString suffix) {
    while (suffix.startsWith(u'*') || suffix.startsWith(u'.')) {
        suffix.remove(0, 1);
    }
    return suffix;
}

QString runDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace

QString QtFileDialogs::openFile(QWidget* owner, const QString& title, const QString& folder,
                                const QString& filter) {
    QFileDialog dialog(owner, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runDialog(dialog);
}

QString QtFileDialogs::saveFile(QWidget* owner, const QString& title, const QString& presetName,
                                const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(bareSuffix(defaultSuffix));
    if (!presetName.isEmpty()) {
        dialog.selectFile(presetName);
    }
    return runDialog(dialog);
}

} // namespace qb::platform
