// The window's thread while a magnet-list file of 500 lines (250 torrents, as the export writes
// them) is added to the torrents on the server (offscreen, against a loopback server): the
// longest time in which it handled no event, from the command until the import has ended and
// the list is refreshed.
#include "list_answer_maker.h"
#include "loopback_server.h"
#include "window_stall.h"

#include "app/tform1.h"
#include "connection/connection.h"
#include "fake_platform.h"
#include "lists/lists_and_series.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <string>

namespace {

constexpr int kTorrents = 250;

QByteArray listFile() {
    QByteArray text;
    for (int i = 0; i < kTorrents; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray hash = QByteArray::number(0x5eed0000 + i, 16).rightJustified(40, '7');
        text += ":: Мастер и Маргарита (1994) WEB-DL 1080p #" + n + "\r\n";
        text += "magnet:?xt=urn:btih:" + hash + "&dn=id_" + QByteArray::number(0x4b000 + i, 16) +
                "&tr=http://bt.tracker.example:2710/announce&as=http://img.example/p/" + n +
                ".jpg\r\n";
    }
    return text;
}

void importStall(benchmark::State& state) {
    const std::string list = qb::bench::makeListAnswer(kTorrents).toStdString();
    std::atomic<int> adds{0};
    httplib::Server server;
    server.Post("/torrent/list", [&list](const httplib::Request&, httplib::Response& response) {
        response.set_content(list, "application/json; charset=utf-8");
    });
    server.Post("/torrent/add", [&adds](const httplib::Request&, httplib::Response& response) {
        ++adds;
        response.set_content("", "text/plain");
    });
    const qb::bench::Serving serving(server);

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/list.txt");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(listFile());
    }
    qb::test::FakePlatform fakes = qb::test::makeFakePlatform(dir.path() + u'/');
    qb::test::FakeFileDialogs* dialogs = fakes.dialogs;
    TForm1 form(std::move(fakes.platform));
    form.SrvAdress->setText(serving.address());
    form.connection().ConnectButtonClick();

    qint64 longest = 0;
    for (auto _ : state) {
        adds = 0;
        dialogs->answerNext(path);
        const qb::bench::StallMeter meter;
        form.lists().N25Click();
        longest = std::max(longest, meter.longestMs());
        if (adds != kTorrents || form.TorrentList->count() != kTorrents) {
            state.SkipWithError("the import did not add every torrent");
            break;
        }
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longest);
}

} // namespace

// One import takes about two minutes: each added link is followed by a wait of 500 ms.
BENCHMARK(importStall)->Unit(benchmark::kMillisecond)->Iterations(1);
