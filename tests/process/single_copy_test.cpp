// The single-copy rule between real processes: handoff_probe runs the same code as the program.
#include "platform/single_copy.h"
#include "probe_process.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kDelivered = 0;
constexpr int kRefused = 1;
constexpr int kIndependent = 2;

QString got(const QString& text) {
    return u"got:"_s + QString::fromUtf8(text.toUtf8().toPercentEncoding());
}

// Every probe of a test shares a runtime folder of its own, so tests never meet a running
// program or each other.
class SingleCopyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.isValid());
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert(u"XDG_RUNTIME_DIR"_s, runtime_.path());
    }

    std::unique_ptr<ProbeProcess> startFirst(const QStringList& options = {}) {
        auto probe = std::make_unique<ProbeProcess>(environment_);
        probe->start(options);
        EXPECT_TRUE(probe->waitForLine(u"first"_s)) << probe->lines().join(u'|').toStdString();
        return probe;
    }

    // Runs a second copy to its end and returns its exit code.
    int runSecond(const QStringList& arguments) {
        ProbeProcess probe(environment_);
        probe.start(arguments);
        const int code = probe.waitForExit();
        EXPECT_FALSE(probe.lines().contains(u"first"_s)) << "the second copy took the lock";
        return code;
    }

    QTemporaryDir runtime_;
    QProcessEnvironment environment_;
};

TEST_F(SingleCopyTest, ArgumentsArriveWholeAndInOrder) {
    const auto first = startFirst({u"magnet:?xt=urn:btih:ignored-by-the-first-copy"_s});
    const QStringList texts = {
        u"magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567&dn=Фильм 2024"_s,
        u"/home/user/Загрузки/a b; c.torrent"_s,
        u""_s, // a second copy without an argument hands over the empty text
        u"two\r\nlines"_s,
        QString(5000, u'ж'),
    };
    for (const QString& text : texts) {
        EXPECT_EQ(runSecond({text}), kDelivered);
        EXPECT_TRUE(first->waitForLine(got(text))) << text.left(40).toStdString();
    }
    QStringList received = first->lines();
    received.removeAll(u"first"_s);
    QStringList expected;
    for (const QString& text : texts) {
        expected.append(got(text));
    }
    EXPECT_EQ(received, expected);
}

TEST_F(SingleCopyTest, NoArgumentArrivesAsEmptyText) {
    const auto first = startFirst();
    EXPECT_EQ(runSecond({}), kDelivered);
    EXPECT_TRUE(first->waitForLine(u"got:"_s));
}

TEST_F(SingleCopyTest, BusyFirstCopyRefusesAndSecondCopyStillEnds) {
    const auto first = startFirst({u"--busy"_s});
    EXPECT_EQ(runSecond({u"magnet:?xt=urn:btih:lost"_s}), kRefused);
    // The refusal is decided before it is answered, so nothing arrives after it either: once
    // the first copy has ended, every line it wrote has been read.
    ASSERT_EQ(::kill(static_cast<pid_t>(first->pid()), SIGTERM), 0);
    first->waitForExit();
    ASSERT_TRUE(first->lines().contains(u"first"_s));
    for (const QString& line : first->lines()) {
        EXPECT_FALSE(line.startsWith(u"got:"_s)) << line.toStdString();
    }
}

TEST_F(SingleCopyTest, LockOfADeadCopyIsTakenOver) {
    {
        const auto dead = startFirst();
        ASSERT_EQ(::kill(static_cast<pid_t>(dead->pid()), SIGKILL), 0);
        EXPECT_EQ(dead->waitForExit(), -1);
    }
    // Its lock file and socket are left behind.
    ASSERT_TRUE(QFile::exists(
        runtime_.filePath(u"vhelmq02-"_s + QString::number(::getuid()) + u".lock"_s)));
    const auto heir = startFirst();
    EXPECT_EQ(runSecond({u"after the crash"_s}), kDelivered);
    EXPECT_TRUE(heir->waitForLine(got(u"after the crash"_s)));
}

TEST_F(SingleCopyTest, LockHeldWithoutListenerLeavesAnIndependentCopy) {
    const auto first = startFirst({u"--no-listen"_s});
    EXPECT_EQ(runSecond({u"magnet:?xt=urn:btih:mine"_s}), kIndependent);
}

TEST_F(SingleCopyTest, UnansweringFirstCopyLeavesAnIndependentCopyAndDropsTheStaleText) {
    const auto first = startFirst();
    const auto pid = static_cast<pid_t>(first->pid());
    ASSERT_EQ(::kill(pid, SIGSTOP), 0);
    const int frozen = runSecond({u"--timeout"_s, u"300"_s, u"stale"_s});
    ASSERT_EQ(::kill(pid, SIGCONT), 0);
    EXPECT_EQ(frozen, kIndependent);

    // The stale hand-off waits in the socket's queue before these; its sender has gone and runs
    // on with the text itself, so the first copy must not take it as well.
    EXPECT_EQ(runSecond({u"fresh"_s}), kDelivered);
    EXPECT_EQ(runSecond({u"last"_s}), kDelivered);
    ASSERT_TRUE(first->waitForLine(got(u"last"_s)));
    EXPECT_FALSE(first->lines().contains(got(u"stale"_s)));
    EXPECT_TRUE(first->lines().contains(got(u"fresh"_s)));
}

TEST(SingleCopyFolder, IgnoresARuntimeFolderOthersCanEnter) {
    QTemporaryDir shared;
    ASSERT_TRUE(shared.isValid());
    ASSERT_TRUE(QFile::setPermissions(shared.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                         QFile::ExeOwner | QFile::ExeOther |
                                                         QFile::WriteOther | QFile::ReadOther));
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(shared.path()));
    const QString folder = qb::platform::SingleCopy::folder();
    if (saved.isNull()) {
        qunsetenv("XDG_RUNTIME_DIR");
    } else {
        qputenv("XDG_RUNTIME_DIR", saved);
    }
    EXPECT_NE(folder, shared.path());
    EXPECT_EQ(folder, u"/tmp/vhelmq02-"_s + QString::number(::getuid()));
}

} // namespace
