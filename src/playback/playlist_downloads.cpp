// Downloads of a torrent's files and playlists. The information view carries them out itself
// (it asks where to save and shows the progress); only a torrent's own playlist is fetched and
// saved here.
#include "app/tform1.h"
#include "connection/connection.h"
#include "playback/playback.h"
#include "releaseinfo/release_info.h"

#include "app/workers/nested_loops.h"
#include "app/workers/responsive_wait.h"
#include "connection/api/torrserver_api.h"
#include "connection/http/http_result.h"
#include "connection/list/member_text.h"
#include "connection/list/row_colours.h"
#include "playback/play_sources.h"
#include "playback/playlist/file_playlist.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;
using qb::connection::entryMemberText;
using qb::playback::Playback;

namespace {
const QString kFetchingLink = u"... Минуточку, пытаемся получить ссылку для загрузки ..."_s;

// The file name of a file inside a torrent, offered when the view asks where to save it.
QString lastPathPart(const QString& name) {
    return name.section(u'/', -1);
}

// Hands a file of the torrent to the view, then lets the notice stand for `wait` ms. The
// counts line follows, unless a download the view has taken on shows its own notice by then.
void downloadFileEntry(TForm1& form, const nlohmann::ordered_json& file, int wait) {
    form.playback().downloadThroughView(form.server().fileAddress(form.SrvAdress->text(), file),
                                        lastPathPart(entryMemberText(file, "Name")));
    qb::app::processPendingEvents();
    form.setTransientStatus(true);
    qb::app::ResponsiveWait(wait);
    if (form.LogP->text() == kFetchingLink) {
        form.connection().CountsLine();
    }
}
} // namespace

void Playback::downloadThroughView(const QString& address, const QString& fileName) {
    // A download, not a navigation: a video the view could play itself must still be saved.
    Form.releaseInfo().connectInfoViewEvents();
    Form.WebBrowser1->page()->download(QUrl(address), fileName);
}

void Playback::MenuItem2Click() {
    const nlohmann::ordered_json* focused = qb::playback::focusedFileEntry(Form);
    if (focused == nullptr) {
        return;
    }
    // A click on another torrent while the notice is drawn replaces FilesList.
    const nlohmann::ordered_json file = *focused;
    Form.LogP->setText(kFetchingLink);
    qb::app::processPendingEvents();
    downloadFileEntry(Form, file, 5000);
}

void Playback::N18Click() {
    Form.LogP->setText(kFetchingLink);
    const nlohmann::ordered_json* entry = Form.connection().selectedEntry();
    const nlohmann::ordered_json* files =
        entry != nullptr ? qb::connection::entryFiles(*entry) : nullptr;
    if (files == nullptr || files->empty()) {
        return;
    }
    Form.connection().setFiles(*files);
    downloadFileEntry(Form, Form.connection().files().front(), 3000);
}

void Playback::m3u2Click() {
    Form.LogP->setText(kFetchingLink);
    const nlohmann::ordered_json* selected = Form.connection().selectedEntry();
    if (selected == nullptr) {
        Form.connection().CountsLine();
        return;
    }
    // The dialog lets other handlers run, a refresh among them, which replaces ServerList: the
    // torrent is kept as it was chosen.
    const nlohmann::ordered_json entry = *selected;
    const QString target = Form.platform().dialogs->saveFile(
        &Form, u"Сохранить плейлист как..."_s,
        qb::playback::playlistFileName(entryMemberText(entry, "Name")), u"Playlist (*.m3u)"_s,
        u".m3u"_s);
    bool written = false;
    if (!target.isEmpty()) {
        const qb::net::HttpResult answer = Form.server().playlist(Form.SrvAdress->text(), entry);
        QFile file(target);
        if (!answer.ok) {
            Form.message(answer.failureText, Form.windowTitle(), qb::platform::MessageIcon::Error);
        } else if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                   file.write(answer.body) != answer.body.size() || !file.flush()) {
            Form.message(u"Не удается создать файл \""_s + target + u"\". "_s + file.errorString(),
                         Form.windowTitle(), qb::platform::MessageIcon::Error);
        } else {
            written = true;
        }
    }
    Form.setTransientStatus(true);
    qb::app::processPendingEvents();
    if (written) {
        Form.LogP->setText(u"Плейлист сохранен"_s);
        qb::app::ResponsiveWait(3000);
    }
    Form.connection().CountsLine();
}

void Playback::m3u1Click() {
    downloadThroughView(Form.server().allPlaylistAddress(Form.SrvAdress->text()), QString());
}
