// The user's own video player: choosing it and starting it on the playlist.
#include "app/app_core.h"
#include "app/tform1.h"
#include "playback/playback.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using qb::playback::Playback;

void Playback::ChosePlayerButClick() {
    const QString chosen = Form.platform().dialogs->openFile(
        &Form, u"Выбор плеера"_s, u"/usr/bin"_s, u"Исполняемый файл (*)"_s);
    if (!chosen.isEmpty()) {
        PlayerPath = QString(chosen).replace(u'\\', u'/');
        Form.core().FormCloseQuery(); // saves the settings
        Form.ChosePlayerBut->setText(u"Сменить плеер"_s);
        Form.LogP->setText(u"Видеоплеер выбран и будет использоваться по умолчанию"_s);
        Form.ChosePlayerBut->setToolTip(PlayerPath);
    }
    Form.Edit2->setFocus(Qt::OtherFocusReason);
    Form.takeFocusFromControls();
}

void Playback::startPlayer() {
    // One argument, the playlist's full path; whether the player could be started is not
    // looked at.
    Form.platform().processes->startDetached(PlayerPath, {PlayerPlaylist()});
}
