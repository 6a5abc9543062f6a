// The preload: BMDThread1 asks the server to preload the start of the stream and waits for
// it; BMDThread2 shows the progress once a second and starts the player when it is done.
#include "app/tform1.h"
#include "playback/playback.h"

#include "app/workers/bmd_thread.h"
#include "app/workers/responsive_wait.h"
#include "app/workers/window_thread.h"
#include "connection/api/server_apis.h"
#include "connection/http/http_client.h"
#include "playback/play_sources.h"
#include "playback/preload/progress_text.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QThread>

#include <algorithm>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;
using qb::app::runOnWindowThread;
using qb::playback::Playback;

namespace {

// The pause between two polls, cut short by a stop request, so that Esc and the window's
// close take effect at once instead of after the rest of the second.
void pauseUnlessStopped(const qb::app::JobThread& thread, int milliseconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!thread.stopRequested() && elapsed.elapsed() < milliseconds) {
        QThread::msleep(20);
    }
}

// Worker calls from a job, carried out on the window's thread. A worker that the window's
// teardown has released already is passed over.
void onWorker(TForm1* form, qb::app::TBMDThread* (TForm1::*worker)() const,
              void (qb::app::TBMDThread::*call)()) {
    runOnWindowThread([form, worker, call] {
        if (qb::app::TBMDThread* running = (form->*worker)()) {
            (running->*call)();
        }
    });
}

} // namespace

namespace {
// The server, its interface and the preload of the source the play command chose, as they are
// when a worker starts.
struct PreloadStart {
    QString base;
    // The job holds the interfaces (and with them the clients) it uses: a job left behind by
    // the teardown may still finish a request after the window is gone.
    std::shared_ptr<qb::connection::ServerApis> servers;
    qb::connection::TorrServerApi* api = nullptr;
    std::shared_ptr<qb::net::HttpClient> preloadClient;
    qb::connection::PreloadTarget target;
};

// Without a chosen source it throws, unless `orNothing`: then the target is empty.
PreloadStart preloadStart(TForm1& form, bool orNothing) {
    return runOnWindowThread([&form, orNothing] {
        qb::connection::TorrServerApi& api = form.server();
        qb::connection::PreloadTarget target;
        try {
            target = api.preloadTarget(qb::playback::preloadSourceOf(form));
        } catch (const std::runtime_error&) {
            if (!orNothing) {
                throw;
            }
        }
        return PreloadStart{form.SrvAdress->text(), form.servers(), &api, form.idHttp3(), target};
    });
}
} // namespace

void Playback::BMDThread1Execute(qb::app::JobThread& thread) {
    // The row has gone meanwhile: the job ends here.
    const PreloadStart start = preloadStart(Form, false);
    if (thread.stopRequested()) {
        onWorker(&Form, &TForm1::bmdThread2, &qb::app::TBMDThread::Stop);
        start.preloadClient->closeConnection();
        return;
    }
    onWorker(&Form, &TForm1::bmdThread2, &qb::app::TBMDThread::Start);
    start.preloadClient->closeConnection();
    // The server answers once its preload has finished (a 1.1 server with a redirect to the
    // stream, which IdHTTP3 does not follow). A failure ends this job only.
    const bool answered = start.api->preload(start.base, start.target.path).ok;
    runOnWindowThread([this, answered] { PreloadAnswered = answered; });
    onWorker(&Form, &TForm1::bmdThread1, &qb::app::TBMDThread::Stop);
}

void Playback::BMDThread2Execute(qb::app::JobThread& thread) {
    runOnWindowThread([this] {
        Form.Gauge1->setValue(0);
        Form.LogP->setText(u"..."_s);
    });
    // The row has gone meanwhile: the status request names no torrent and fails.
    const PreloadStart start = preloadStart(Form, true);

    qb::playback::PreloadStat last;
    while (!thread.stopRequested()) {
        const QString base = runOnWindowThread([this] { return Form.SrvAdress->text(); });
        const qb::net::HttpResult answer = start.api->preloadState(base, start.target.hash);
        if (!answer.ok) {
            break;
        }
        runOnWindowThread([this] { Form.Gauge1->setVisible(true); });
        const std::optional<qb::playback::PreloadStat> stat =
            start.api->readPreloadState(answer.body);
        if (!stat) {
            break;
        }
        last = *stat;
        runOnWindowThread([this, &last] {
            Form.Gauge1->setMaximum(std::max(0, last.preloadSize));
            Form.Label2->setText(qb::playback::progressText(last));
            Form.Label2->adjustSize();
        });
        pauseUnlessStopped(thread, 1000);
        runOnWindowThread([this, &last] {
            Form.Gauge1->setValue(std::clamp(last.preloadedBytes, 0, Form.Gauge1->maximum()));
        });
        // Either generation answers the preload request once it has finished (or found the
        // start preloaded before). That answer ends the wait as well: a 1.1 server's progress
        // never passes the size of a file shorter than the preload, and a server set to
        // preload nothing never moves its progress at all.
        const bool answered = runOnWindowThread([this] { return PreloadAnswered; });
        if (last.finished || answered) {
            break;
        }
    }

    // The end, however the loop was left: finished, cancelled, or a poll that failed.
    onWorker(&Form, &TForm1::bmdThread2, &qb::app::TBMDThread::Stop);
    onWorker(&Form, &TForm1::bmdThread1, &qb::app::TBMDThread::Stop);
    const auto [cancelled, closing] = runOnWindowThread([this] {
        return std::pair{PreloadCancelled, Form.windowClosing()};
    });
    if (!cancelled && !closing) {
        runOnWindowThread([this] { Form.Gauge1->setValue(Form.Gauge1->maximum()); });
        qb::app::ResponsiveWait(1000);
        runOnWindowThread([this] {
            if (!Form.windowClosing()) {
                startPlayer();
            }
        });
    }
    if (!closing) {
        qb::app::ResponsiveWait(1000);
    }
    runOnWindowThread([this] {
        PreloadCancelled = false;
        Form.Label2->clear();
        Form.idHttp3()->closeConnection();
        Form.Gauge1->setVisible(false);
    });
}
