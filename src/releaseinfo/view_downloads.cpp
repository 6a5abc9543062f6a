// Downloads that the information view carries out itself: it asks where to save, shows the
// progress in the status line and says when the file is there.
#include "app/tform1.h"
#include "releaseinfo/release_info.h"

#include <QFileInfo>
#include <QLabel>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

using namespace Qt::Literals::StringLiterals;
using qb::releaseinfo::ReleaseInfo;

void ReleaseInfo::WebBrowser1DownloadRequested(QWebEngineDownloadRequest* download) {
    const QString target = Form.platform().dialogs->saveFile(&Form, u"Сохранить файл как..."_s,
                                                             download->suggestedFileName(),
                                                             u"Все файлы (*)"_s, QString());
    if (target.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo file(target);
    download->setDownloadDirectory(file.absolutePath());
    download->setDownloadFileName(file.fileName());
    const QString name = file.fileName();
    connect(
        download, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this, download, name] {
            const qint64 total = download->totalBytes();
            Form.LogP->setText(
                total > 0
                    ? u"Загрузка %1: %2%"_s.arg(name).arg(download->receivedBytes() * 100 / total)
                    : u"Загрузка %1: %2 байт"_s.arg(name).arg(download->receivedBytes()));
        });
    connect(
        download, &QWebEngineDownloadRequest::isFinishedChanged, this, [this, download, target] {
            if (download->state() == QWebEngineDownloadRequest::DownloadCompleted) {
                Form.LogP->setText(u"Загрузка завершена: "_s + target);
            } else {
                Form.LogP->setText(u"Загрузка не удалась: "_s + download->interruptReasonString());
            }
            Form.setTransientStatus(true);
        });
    Form.LogP->setText(u"Загрузка "_s + name + u"..."_s);
    download->accept();
}
