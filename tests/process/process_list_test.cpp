// Listing and ending real processes by the name of the local server's executable.
#include "platform/local_server.h"
#include "platform/proc_processes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using qb::platform::ProcessEntry;
using qb::platform::ProcProcesses;

namespace {

constexpr int kWaitMs = 15000;

QByteArrayList commandLine(qint64 pid) {
    QFile file(u"/proc/%1/cmdline"_s.arg(pid));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().split('\0');
}

// The real processes, narrowed to those this test started (each carries a token of its own
// among its arguments), so that the test never ends anybody else's server.
class OwnProcesses final : public qb::platform::Processes {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override {
        return real.startDetached(program, arguments);
    }
    std::vector<ProcessEntry> list() override {
        std::vector<ProcessEntry> own;
        for (const ProcessEntry& entry : real.list()) {
            if (tokenOf(entry.pid)) {
                own.push_back(entry);
            }
        }
        return own;
    }
    void terminate(qint64 pid) override {
        terminated.push_back(pid);
        real.terminate(pid);
    }

    std::optional<QByteArray> tokenOf(qint64 pid) const {
        for (const QByteArray& part : commandLine(pid)) {
            if (tokens.contains(part)) {
                return part;
            }
        }
        return std::nullopt;
    }
    std::optional<ProcessEntry> find(const QByteArray& token) {
        for (const ProcessEntry& entry : list()) {
            if (tokenOf(entry.pid) == token) {
                return entry;
            }
        }
        return std::nullopt;
    }
    // Waits until the process with `token` is listed (or, with `listed` false, is gone).
    std::optional<ProcessEntry> waitFor(const QByteArray& token, bool listed) {
        QDeadlineTimer deadline(kWaitMs);
        for (;;) {
            std::optional<ProcessEntry> entry = find(token);
            if (entry.has_value() == listed || deadline.hasExpired()) {
                return entry;
            }
            QThread::msleep(20);
        }
    }

    ProcProcesses real;
    QByteArrayList tokens;
    std::vector<qint64> terminated;
};

enum class Start { Plain, Renamed, RenamedThenDeleted, Linked };

struct Case {
    const char* label;
    QString fileName;
    Start start;
    bool ended;
};

class ProcessListTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        sleep_ = QStandardPaths::findExecutable(u"sleep"_s);
        ASSERT_FALSE(sleep_.isEmpty());
    }

    // Places the program in its own "server" folder and starts it with a token argument.
    QByteArray start(int index, const Case& c) {
        const QString folder = root_.filePath(u"%1/server"_s.arg(index));
        EXPECT_TRUE(QDir().mkpath(folder));
        const QString path = folder + u'/' + c.fileName;
        const bool placed =
            c.start == Start::Linked ? QFile::link(sleep_, path) : QFile::copy(sleep_, path);
        EXPECT_TRUE(placed) << c.label;
        // sleep takes fractions, so the token is also a valid duration of a day.
        const QByteArray token =
            "86400." + QByteArray::number(::getpid()) + QByteArray::number(index);
        processes_.tokens.append(token);
        const QString duration = QString::fromLatin1(token);
        bool started = false;
        if (c.start == Start::Plain || c.start == Start::Linked) {
            started = processes_.startDetached(path, {duration});
        } else {
            // Started under another first command-line entry: only the executable can match.
            started = processes_.startDetached(
                u"/bin/bash"_s,
                {u"-c"_s, u"exec -a renamed-server \"$0\" \"$1\""_s, path, duration});
        }
        EXPECT_TRUE(started) << c.label;
        return token;
    }

    QTemporaryDir root_;
    QString sleep_;
    OwnProcesses processes_;
};

TEST_F(ProcessListTest, EndsEveryProcessOfTheServerNameAndNoOther) {
    const QString name = u"TorrServer-linux-amd64"_s;
    const Case cases[] = {
        {"started from a copy", name, Start::Plain, true},
        {"started through a link", name, Start::Linked, true},
        {"copy started under another name", name, Start::Renamed, true},
        {"file removed after the start", name, Start::RenamedThenDeleted, true},
        {"name in other letter case", u"TORRSERVER-LINUX-AMD64"_s, Start::Plain, true},
        {"other build, same first 15 characters", u"TorrServer-linux-386"_s, Start::Plain, false},
        {"longer name", u"TorrServer-linux-amd64.old"_s, Start::Plain, false},
    };
    std::vector<QByteArray> tokens;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        tokens.push_back(start(i, cases[i]));
    }
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const Case& c = cases[i];
        if (c.start == Start::RenamedThenDeleted) {
            ASSERT_TRUE(processes_.waitFor(tokens[i], true)) << c.label;
            ASSERT_TRUE(QFile::remove(root_.filePath(u"%1/server/"_s.arg(i) + c.fileName)));
        }
        const std::optional<ProcessEntry> entry = processes_.waitFor(tokens[i], true);
        ASSERT_TRUE(entry) << c.label;
        const bool linked = c.start == Start::Linked;
        const bool renamed = c.start == Start::Renamed || c.start == Start::RenamedThenDeleted;
        EXPECT_EQ(entry->executableName, linked ? u"sleep"_s : c.fileName) << c.label;
        EXPECT_EQ(entry->commandName, renamed ? u"renamed-server"_s : c.fileName) << c.label;
    }

    qb::platform::terminateProcessesByName(processes_, name);

    for (int i = 0; i < int(std::size(cases)); ++i) {
        const bool listed = processes_.waitFor(tokens[i], !cases[i].ended).has_value();
        EXPECT_EQ(listed, !cases[i].ended) << cases[i].label;
    }
    for (const ProcessEntry& survivor : processes_.list()) {
        processes_.real.terminate(survivor.pid);
    }
    for (const QByteArray& token : tokens) {
        EXPECT_FALSE(processes_.waitFor(token, false)) << token.constData();
    }
}

TEST_F(ProcessListTest, MissingProgramIsReportedAsNotStarted) {
    EXPECT_FALSE(processes_.real.startDetached(root_.filePath(u"server/"_s) +
                                                   qb::platform::localServerExecutableName(),
                                               {u"--path"_s, root_.filePath(u"server"_s)}));
}

TEST(ProcessListing, ListsTheCallingProcessByItsExecutable) {
    ProcProcesses processes;
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    bool found = false;
    for (const ProcessEntry& entry : processes.list()) {
        if (entry.pid == QCoreApplication::applicationPid()) {
            found = true;
            EXPECT_EQ(entry.executableName, self);
            EXPECT_EQ(entry.commandName, self);
        }
    }
    EXPECT_TRUE(found);
}

} // namespace
