// The hand-off: a magnet link or ".torrent" path that a second copy of the program handed over
// (or the program's own first argument) is added to the server from the field Edit2.
#include "app/app_core.h"
#include "app/tform1.h"
#include "connection/connection.h"

#include "app/hand_off.h"
#include "app/workers/nested_loops.h"
#include "app/workers/responsive_wait.h"
#include "connection/api/server_apis.h"
#include "playback/adding/adding_texts.h"
#include "playback/adding/torrent_file.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;
using qb::app::AppCore;
using qb::playback::kAdded;
using qb::playback::kAdding;
using qb::playback::torrentFileBytes;

void AppCore::receiveHandOff(const QString& text) {
    // A hand-off that arrives while another one is being added waits for its turn.
    if (Form.Edit2->text() == qb::app::kHandOffIdle && HandOffQueue.isEmpty()) {
        Form.Edit2->setText(text);
    } else {
        HandOffQueue.append(text);
    }
}

bool AppCore::addHandedOver(const std::function<qb::net::HttpResult()>& send) {
    Form.LogP->setText(kAdding);
    const qb::net::HttpResult answer = send();
    if (!answer.ok) {
        Form.message(answer.failureText, QGuiApplication::applicationDisplayName(),
                     qb::platform::MessageIcon::Error);
        return false;
    }
    qb::app::processPendingEvents();
    qb::app::ResponsiveWait(3000);
    Form.connection().ConnectButtonClick();
    Form.LogP->setText(kAdded);
    Form.Edit2->setText(qb::app::kHandOffIdle);
    qb::app::ResponsiveWait(3000);
    Form.LogP->setText(u"..."_s);
    return true;
}

void AppCore::Edit2Change() {
    RaiseMainWindow();
    if (Form.Edit2->text() == qb::app::kHandOffIdle) {
        return;
    }
    QString text = Form.Edit2->text();
    const QString base = Form.SrvAdress->text();
    bool going = true;
    if (text.contains(u"magnet"_s)) {
        going = addHandedOver(
            [this, &base, &text] { return Form.servers()->forAddress(base).addLink(base, text); });
        text.clear();
    }
    if (going && text.contains(u".torrent"_s)) {
        try {
            const QByteArray bytes = torrentFileBytes(text);
            addHandedOver([this, &base, &text, &bytes] {
                return Form.servers()->forAddress(base).upload(base, QFileInfo(text).fileName(),
                                                               bytes);
            });
        } catch (const std::exception& error) {
            Form.message(QString::fromStdString(error.what()),
                         QGuiApplication::applicationDisplayName(),
                         qb::platform::MessageIcon::Error);
        }
    }
    // However the adding ended, the field is idle again for the next hand-off.
    PendingHandOff = qb::app::kHandOffIdle;
    if (Form.Edit2->text() != qb::app::kHandOffIdle) {
        Form.Edit2->setText(qb::app::kHandOffIdle);
    }
    if (!HandOffQueue.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            if (!HandOffQueue.isEmpty() && Form.Edit2->text() == qb::app::kHandOffIdle) {
                Form.Edit2->setText(HandOffQueue.takeFirst());
            }
        });
    }
}
