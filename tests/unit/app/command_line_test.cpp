// What the command line asks for: only the exact "--version", "--help" and "-h" in the place of
// the one argument print and end; everything else is a link or a file to add.
#include "app/entry/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::app::CommandLineRequest;

struct RequestCase {
    const char* name;
    std::vector<const char*> arguments; // after the program's name
    CommandLineRequest request;
};

class CommandLine : public ::testing::TestWithParam<RequestCase> {};

TEST_P(CommandLine, AsksForWhatTheFirstArgumentSays) {
    std::vector<const char*> argv = {"quillbrook"};
    argv.insert(argv.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    argv.push_back(nullptr);
    EXPECT_EQ(qb::app::commandLineRequest(static_cast<int>(argv.size()) - 1, argv.data()),
              GetParam().request);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLine,
    ::testing::Values(
        RequestCase{"NoArgument", {}, CommandLineRequest::Run},
        RequestCase{"Version", {"--version"}, CommandLineRequest::PrintVersion},
        RequestCase{"Help", {"--help"}, CommandLineRequest::PrintHelp},
        RequestCase{"ShortHelp", {"-h"}, CommandLineRequest::PrintHelp},
        RequestCase{
            "OnlyTheFirstArgumentCounts", {"magnet:?xt=1", "--help"}, CommandLineRequest::Run},
        RequestCase{"VersionBeforeOthers", {"--version", "x"}, CommandLineRequest::PrintVersion},
        RequestCase{"Magnet", {"magnet:?xt=urn:btih:abc"}, CommandLineRequest::Run},
        RequestCase{"TorrentFile", {"/tmp/--help.torrent"}, CommandLineRequest::Run},
        RequestCase{"NearMisses", {"--Version"}, CommandLineRequest::Run},
        RequestCase{"HelpWithValue", {"--help=all"}, CommandLineRequest::Run},
        RequestCase{"EmptyArgument", {""}, CommandLineRequest::Run}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineTexts, VersionIsTheProgramsOwn) {
    EXPECT_EQ(qb::app::versionText(), u"Quillbrook 1.8.4\n"_s);
}

TEST(CommandLineTexts, HelpNamesWhereTheFilesLie) {
    const QString help = qb::app::helpText({u"/home/anna/.config/quillbrook/app.json"_s,
                                            u"/home/anna/.local/share/quillbrook/server/"_s,
                                            u"/home/anna/.cache/quillbrook/"_s});
    EXPECT_TRUE(help.startsWith(u"Использование: quillbrook "_s)) << help.toStdString();
    for (const QString& part :
         {u"  настройки        /home/anna/.config/quillbrook/app.json\n"_s,
          u"  локальный сервер /home/anna/.local/share/quillbrook/server/\n"_s,
          u"  страницы раздач  /home/anna/.cache/quillbrook/\n"_s, u"--version"_s, u"--help"_s}) {
        EXPECT_TRUE(help.contains(part)) << part.toStdString();
    }
    EXPECT_TRUE(help.endsWith(u"\n"_s));
}

} // namespace
