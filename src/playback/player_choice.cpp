// The user's own video player: choosing it and starting it on the playlist.
#include "app/tform1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

void TForm1::ChosePlayerButClick() {
    const QString chosen = Platform_.dialogs->openFile(this, u"Выбор плеера"_s, u"/usr/bin"_s,
                                                       u"Исполняемый файл (*)"_s);
    if (!chosen.isEmpty()) {
        PlayerPath = QString(chosen).replace(u'\\', u'/');
        FormCloseQuery(); // saves the settings
        ChosePlayerBut->setText(u"Сменить плеер"_s);
        LogP->setText(u"Видеоплеер выбран и будет использоваться по умолчанию"_s);
        ChosePlayerBut->setToolTip(PlayerPath);
    }
    Edit2->setFocus(Qt::OtherFocusReason);
    takeFocusFromControls();
}

void TForm1::startPlayer() {
    // One argument, the playlist's full path; whether the player could be started is not
    // looked at.
    Platform_.processes->startDetached(PlayerPath, {PlayerPlaylist()});
}
