// The preload: BMDThread1 asks the server to preload the start of the stream and waits for
// it; BMDThread2 shows the progress once a second and starts the player when it is done.
#include "app/tform1.h"

#include "app/workers/bmd_thread.h"
#include "app/workers/responsive_wait.h"
#include "app/workers/window_thread.h"
#include "connection/http/http_client.h"
#include "connection/http/request_bodies.h"
#include "playback/play_sources.h"
#include "playback/preload/progress_text.h"
#include "playback/preload/stat_answer.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QThread>

#include <algorithm>
#include <stdexcept>
#include <tuple>

using namespace Qt::Literals::StringLiterals;
using qb::app::runOnWindowThread;

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
void onWorker(TForm1* form, std::unique_ptr<qb::app::TBMDThread> TForm1::*worker,
              void (qb::app::TBMDThread::*call)()) {
    runOnWindowThread([form, worker, call] {
        if (const auto& running = form->*worker) {
            (running.get()->*call)();
        }
    });
}

} // namespace

void TForm1::BMDThread1Execute(qb::app::JobThread& thread) {
    const auto [base, link, http] = runOnWindowThread([this] {
        return std::tuple{SrvAdress->text(), qb::playback::preloadLinkOfSource(*this), IdHTTP3};
    });
    if (thread.stopRequested()) {
        onWorker(this, &TForm1::BMDThread2, &qb::app::TBMDThread::Stop);
        http->closeConnection();
        return;
    }
    onWorker(this, &TForm1::BMDThread2, &qb::app::TBMDThread::Start);
    http->closeConnection();
    // The server answers once its preload has finished; the answer itself is of no use (a
    // redirect to the stream, which IdHTTP3 does not follow). A failure ends this job only.
    http->get(base + link);
    onWorker(this, &TForm1::BMDThread1, &qb::app::TBMDThread::Stop);
}

void TForm1::BMDThread2Execute(qb::app::JobThread& thread) {
    const auto [body, http] = runOnWindowThread([this] {
        Gauge1->setValue(0);
        LogP->setText(u"..."_s);
        QString hash;
        try {
            hash = qb::playback::statHashOfSource(*this);
        } catch (const std::runtime_error&) {
            // The row has gone meanwhile: the status request names no torrent and fails.
        }
        return std::pair{qb::connection::statBody(hash), IdHTTP1};
    });

    qb::playback::PreloadStat last;
    while (!thread.stopRequested()) {
        const QString base = runOnWindowThread([this] { return SrvAdress->text(); });
        const qb::net::HttpResult answer = http->post(base + u"/torrent/stat"_s, body);
        if (!answer.ok) {
            break;
        }
        runOnWindowThread([this] { Gauge1->setVisible(true); });
        const std::optional<qb::playback::PreloadStat> stat =
            qb::playback::readStatAnswer(answer.body);
        if (!stat) {
            break;
        }
        last = *stat;
        runOnWindowThread([this, &last] {
            Gauge1->setMaximum(std::max(0, last.preloadSize));
            Label2->setText(qb::playback::progressText(last));
            Label2->adjustSize();
        });
        pauseUnlessStopped(thread, 1000);
        runOnWindowThread([this, &last] {
            Gauge1->setValue(std::clamp(last.preloadedBytes, 0, Gauge1->maximum()));
        });
        if (qb::playback::preloadFinished(last)) {
            break;
        }
    }

    // The end, however the loop was left: finished, cancelled, or a poll that failed.
    onWorker(this, &TForm1::BMDThread2, &qb::app::TBMDThread::Stop);
    onWorker(this, &TForm1::BMDThread1, &qb::app::TBMDThread::Stop);
    const auto [cancelled, closing] = runOnWindowThread([this] {
        return std::pair{PreloadCancelled, windowClosing()};
    });
    if (!cancelled && !closing) {
        runOnWindowThread([this] { Gauge1->setValue(Gauge1->maximum()); });
        qb::app::ResponsiveWait(1000);
        runOnWindowThread([this] {
            if (!windowClosing()) {
                startPlayer();
            }
        });
    }
    if (!closing) {
        qb::app::ResponsiveWait(1000);
    }
    runOnWindowThread([this] {
        PreloadCancelled = false;
        Label2->clear();
        IdHTTP3->closeConnection();
        Gauge1->setVisible(false);
    });
}
