// The command line and the settings file of the service.
#include "core/service_settings.h"

#include <gtest/gtest.h>

using namespace qb::service;

namespace {

TEST(ServiceSettings, TheCommandLine) {
    const CommandLine line = parseCommandLine(
        {"--torznab", "http://127.0.0.1:9117/api?apikey=k", "--torrserver", "http://127.0.0.1:8090",
         "--torznab", "https://p.example/2/api?apikey=j", "--port", "0", "--state", "/tmp/s.json",
         "--settings", "/tmp/service.conf", "--log", "/tmp/log", "--page-wait-ms", "900",
         "--source-timeout", "5", "--stop-on-stdin-eof"});
    EXPECT_EQ(line.error, "");
    ASSERT_EQ(line.settings.sources.size(), 3u);
    EXPECT_EQ(line.settings.sources[1].kind, SourceKind::TorrServer);
    EXPECT_EQ(line.settings.sources[2].address, "https://p.example/2/api?apikey=j");
    EXPECT_EQ(line.settings.port, 0);
    EXPECT_EQ(line.settings.stateFile, "/tmp/s.json");
    EXPECT_EQ(line.settingsFile, "/tmp/service.conf");
    EXPECT_EQ(line.logFile, "/tmp/log");
    EXPECT_EQ(line.settings.pageWaitMs, 900);
    EXPECT_EQ(line.settings.sourceTimeoutS, 5);
    EXPECT_TRUE(line.stopOnStdinEof);

    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{"--port", "70000"}, "port: not a port number: 70000"},
        {{"--torznab", "ftp://x"}, "torznab: not an http(s) address: ftp://x"},
        {{"--page-wait-ms", "3000"}, "page-wait-ms: not a number from 100 to 2800"},
        {{"--source-timeout", "0"}, "source-timeout: not a number of seconds from 1 to 300"},
        {{"--colour", "red"}, "unknown setting: colour"},
        {{"--port"}, "cannot read the argument --port"},
        {{"extra"}, "cannot read the argument extra"},
    };
    for (const auto& [arguments, error] : bad) {
        EXPECT_EQ(parseCommandLine(arguments).error, error);
    }
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
    EXPECT_TRUE(parseCommandLine({"--version"}).version);
}

TEST(ServiceSettings, TheSettingsFile) {
    const SettingsText text = parseSettingsText("# Quillbrook's search service\n"
                                                "torznab = http://127.0.0.1:9117/api?apikey=k\r\n"
                                                "\n"
                                                "  torrserver=http://127.0.0.1:8090  \n"
                                                "port = 8093\n"
                                                "state = /home/u/state.json\n"
                                                "colour = red\n"
                                                "just words\n"
                                                "torznab = not an address\n"
                                                "source-timeout = 30");
    ASSERT_EQ(text.settings.sources.size(), 2u);
    EXPECT_EQ(text.settings.sources[0].address, "http://127.0.0.1:9117/api?apikey=k");
    EXPECT_EQ(text.settings.sources[1].kind, SourceKind::TorrServer);
    EXPECT_EQ(text.settings.port, 8093);
    EXPECT_EQ(text.settings.stateFile, "/home/u/state.json");
    EXPECT_EQ(text.settings.sourceTimeoutS, 30);
    EXPECT_EQ(text.problems,
              (std::vector<std::string>{
                  "line 7: unknown setting: colour", "line 8: not a \"name = value\" line",
                  "line 9: torznab: not an http(s) address: not an address"}));
}

} // namespace
