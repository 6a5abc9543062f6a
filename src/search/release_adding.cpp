// The worker SRLAdd: adds the selected search result ("add"), or the newer release of a
// series torrent ("update"), to the server with its release id and poster.
#include "app/app_core.h"
#include "app/tform1.h"
#include "connection/connection.h"
#include "releaseinfo/release_info.h"
#include "search/tracker_search.h"

#include "app/workers/nested_loops.h"
#include "app/workers/responsive_wait.h"
#include "app/workers/window_thread.h"
#include "build_config.h"
#include "connection/api/server_apis.h"
#include "connection/http/http_client.h"
#include "search/adding/poster_check.h"
#include "search/adding/release_magnet.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;
using qb::search::TrackerSearch;

namespace {

const QString kUpdateMode = u"update"_s;
const QString kAddMode = u"add"_s;

QString trackerDomain() {
    return QString::fromLatin1(qb::build::kTrackerDomain);
}

// What a job reads from the window before it sends anything.
struct AddInputs {
    QString server;
    QString serviceBaseUrl;
    QString poster;
    QString infoMagnet;
    QString releaseId;
    std::optional<qb::search::SearchRecord> selected;
    std::shared_ptr<qb::net::HttpClient> serviceClient;
    std::shared_ptr<qb::connection::ServerApis> servers;
};

} // namespace

void TrackerSearch::SRLAddExecute(qb::app::JobThread&) {
    // Every shared value is read and written on the window's thread only.
    const auto inputs = [this] {
        return qb::app::runOnWindowThread([this] {
            const qb::search::SearchRecord* record = selectedSearchRecord();
            return AddInputs{Form.SrvAdress->text(),
                             Form.core().serviceBaseUrl(),
                             Form.releaseInfo().infoPosterUrl(),
                             Form.releaseInfo().infoMagnet(),
                             Form.connection().selectedReleaseId(),
                             record != nullptr ? std::optional(*record) : std::nullopt,
                             Form.netHttpClient1(),
                             Form.servers()};
        });
    };
    const auto mode = [this] { return qb::app::runOnWindowThread([this] { return SRLAddMode; }); };
    const auto endJob = [this] { qb::app::runOnWindowThread([this] { SRLAddMode.clear(); }); };

    const auto send = [this](const AddInputs& in, const QString& magnet, const QString& id,
                             const QString& title, const QString& done, bool announce) {
        const qb::net::HttpResult check =
            in.serviceClient->get(qb::search::posterCheckAddress(in.serviceBaseUrl, in.poster));
        const QString poster =
            qb::search::checkedPoster(in.serviceBaseUrl, in.poster, check.ok, check.body);
        qb::app::runOnWindowThread([this, &poster, announce] {
            Form.releaseInfo().setInfoPosterUrl(poster);
            if (announce) {
                Form.LogP->setText(u"... Добавляем торрент на сервер ..."_s);
            }
        });
        // The server's answer tells nothing more: a refused add shows in the refreshed list.
        in.servers->forAddress(in.server).addRelease(in.server, {magnet, id, poster, title});
        qb::app::runOnWindowThread([] { qb::app::processPendingEvents(); });
        qb::app::ResponsiveWait(3000);
        Form.connection().clickConnectButton();
        qb::app::runOnWindowThread([this, &done] { Form.LogP->setText(done); });
        qb::app::ResponsiveWait(3000);
        qb::app::runOnWindowThread([this] {
            Form.connection().CountsLine();
            SRLAddMode.clear();
        });
    };

    if (mode() == kUpdateMode) {
        const AddInputs in = inputs();
        const std::optional<QString> magnet =
            qb::search::updatedReleaseMagnet(in.infoMagnet, in.releaseId, trackerDomain());
        if (!magnet) {
            endJob();
            return;
        }
        send(in, *magnet, in.releaseId, QString(), u"Торрент успешно обновлен"_s, false);
    }
    // An add asked for while an update ran is carried out by the same run.
    if (mode() == kAddMode) {
        const AddInputs in = inputs();
        const std::optional<qb::search::ReleaseLink> link =
            in.selected ? qb::search::addedReleaseLink(in.selected->Magnet, in.selected->PagePath,
                                                       trackerDomain())
                        : std::nullopt;
        if (!link) {
            endJob();
            return;
        }
        send(in, link->magnet, link->releaseId, in.selected->Title, u"Торрент успешно добавлен"_s,
             true);
    }
}
