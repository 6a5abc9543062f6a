// Which listed processes a termination by name reaches.
#include "fake_platform.h"
#include "platform/local_server.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using qb::platform::ProcessEntry;

namespace {

TEST(TerminateByName, MatchesExecutableOrCommandNameIgnoringCase) {
    qb::test::FakeProcesses processes;
    processes.running = {
        {101, u"TorrServer-linux-amd64"_s, u"TorrServer-linux-amd64"_s},
        {102, u"sleep"_s, u"TorrServer-linux-amd64"_s},   // started through a link
        {103, u"TorrServer-linux-amd64"_s, u"renamed"_s}, // started under another name
        {104, u"torrserver-LINUX-amd64"_s, QString()},    // command line unreadable
        {105, u"TorrServer-linux-386"_s, u"TorrServer-linux-386"_s},
        {106, u"TorrServer-linux-amd64.old"_s, u"TorrServer-linux-amd64.old"_s},
        {107, u"TorrServer-linu"_s, u"TorrServer-linu"_s}, // what the kernel's short name holds
        {QCoreApplication::applicationPid(), u"TorrServer-linux-amd64"_s, QString()},
    };
    qb::platform::terminateProcessesByName(processes, u"TorrServer-linux-amd64"_s);
    EXPECT_EQ(processes.terminated, (std::vector<qint64>{101, 102, 103, 104}));
}

TEST(TerminateByName, EmptyNameEndsNothing) {
    qb::test::FakeProcesses processes;
    processes.running = {{201, QString(), u"x"_s}, {202, u"y"_s, QString()}};
    qb::platform::terminateProcessesByName(processes, QString());
    EXPECT_TRUE(processes.terminated.empty());
}

TEST(LocalServerNames, TheStartedBuildIsAmongTheTerminatedOnX86) {
    const QStringList names = qb::platform::localServerNamesToTerminate();
    EXPECT_EQ(names, (QStringList{u"TorrServer-linux-386"_s, u"TorrServer-linux-amd64"_s}));
#if defined(Q_PROCESSOR_X86)
    EXPECT_TRUE(names.contains(qb::platform::localServerExecutableName()));
#endif
}

} // namespace
