// A copy of the program reduced to its single-copy rule, for tests with real processes.
//
//   handoff_probe [--busy] [--no-listen] [--timeout MS] [ARGUMENT]
//
// The first copy prints "first", then "got:" and the percent-encoded UTF-8 of every text handed
// to it, one per line, and runs until it is ended. --busy refuses every hand-off, as a window
// busy with an earlier one does; --no-listen holds the lock without answering anybody.
// A second copy hands ARGUMENT over and exits with 0 (taken), 1 (refused) or, printing
// "independent", 2 when nobody answered and it would run on as a copy of its own.
#include "platform/single_copy.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using qb::platform::HandOffResult;
using qb::platform::SingleCopy;

namespace {

void say(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool busy = args.removeAll(u"--busy"_s) > 0;
    const bool noListen = args.removeAll(u"--no-listen"_s) > 0;
    int timeoutMs = SingleCopy::kHandOffTimeoutMs;
    if (const qsizetype at = args.indexOf(u"--timeout"_s); at >= 0 && at + 1 < args.size()) {
        timeoutMs = args.at(at + 1).toInt();
        args.remove(at, 2);
    }
    const QString argument = args.value(0);

    SingleCopy copy;
    if (!copy.acquire()) {
        switch (SingleCopy::handOff(argument, timeoutMs)) {
        case HandOffResult::Delivered:
            return 0;
        case HandOffResult::Refused:
            return 1;
        case HandOffResult::NoListener:
            say("independent");
            return 2;
        }
    }
    if (!noListen) {
        const bool listening = copy.listen(
            [busy] { return !busy; },
            [](const QString& text) { say("got:" + text.toUtf8().toPercentEncoding()); });
        if (!listening) {
            say("listen-failed");
            return 4;
        }
    }
    say("first");
    return app.exec();
}
