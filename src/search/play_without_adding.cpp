// Playing a search result on the server without adding it: the server's playlist for the
// release is fetched and the preload of the playback is started on it.
#include "app/tform1.h"
#include "playback/playback.h"
#include "search/tracker_search.h"

#include "connection/api/torrserver_api.h"
#include "connection/http/http_client.h"
#include "platform/text/text_file.h"
#include "search/results/result_rows.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>

using namespace Qt::Literals::StringLiterals;
using qb::search::TrackerSearch;

namespace {
// Releases with this many seeders or fewer are played only when the user insists.
constexpr int kFewSeeders = 4;
constexpr int kFewSeedersReadTimeoutMs = 8000;
} // namespace

void TrackerSearch::SearchResultDblClick() {
    const qb::search::SearchRecord* record = selectedSearchRecord();
    // A preload that runs already keeps its playlist: a second play command does nothing.
    if (record == nullptr || Form.playback().playbackBusy() || !Form.playback().playerChosen()) {
        return;
    }
    const QString seeders = qb::search::seederText(Form.SearchResult->currentItem()->text());
    // No connection of the server client outlives its request, so none is left to close here;
    // ending transfers in flight would cut the requests of the workers.
    if (Form.status->text() == u"Сервер не отвечает"_s) {
        Form.message(u"Необходимо подключиться к серверу!"_s, u"Инфо"_s,
                     qb::platform::MessageIcon::Information);
        return;
    }
    const std::optional<int> count = qb::search::decimalInteger(seeders);
    if (!count) {
        // The general error report: the count of this row cannot be read.
        Form.message(u"\""_s + seeders + u"\" не является целым числом"_s, Form.windowTitle(),
                     qb::platform::MessageIcon::Error);
        return;
    }
    // The question below lets other handlers run, a search among them: the record may be gone
    // by its answer.
    const QString magnet = record->Magnet;
    const QString playlist = Form.playback().PlayerPlaylist();
    QDir().mkpath(Form.AppDir() + u"server"_s);

    if (*count <= kFewSeeders) {
        if (Form.message(
                u"На раздаче нет или очень мало раздающих.\n\rУверены, что хотите попробовать "
                u"воспроизвести?"_s,
                u"Вопрос"_s, qb::platform::MessageIcon::Question,
                qb::platform::MessageButtons::YesNo) != qb::platform::MessageAnswer::Yes) {
            return;
        }
        // The longer read time-out stays for every later request of the server client.
        Form.idHttp1()->setReadTimeoutMs(kFewSeedersReadTimeoutMs);
    }
    const qb::net::HttpResult answer =
        Form.server().playWithoutAdding(Form.SrvAdress->text(), magnet);
    if (!answer.ok && *count > kFewSeeders) {
        Form.message(answer.failureText, Form.windowTitle(), qb::platform::MessageIcon::Error);
        return;
    }
    if (!answer.ok) {
        Form.message(u"Не удалось подключиться к пирам\r\nПопробуйте другой торрент файл"_s,
                     u"Ой-ой"_s, qb::platform::MessageIcon::Warning);
    }
    if (!qb::platform::writeFileAtomically(playlist, answer.body)) {
        Form.message(u"Не удается записать файл \""_s + playlist + u"\""_s, Form.windowTitle(),
                     qb::platform::MessageIcon::Error);
        return;
    }
    if (!answer.ok) {
        return;
    }
    Form.playback().startPreload(true, false);
    Form.Gauge1->setVisible(true);
}
