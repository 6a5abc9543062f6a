// Where an installed program keeps its files: the XDG base directory rules, the home folder's
// defaults, and the values those rules pass over.
#include "platform/folders/user_folders.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace {

using qb::platform::userFolders;

struct FoldersCase {
    const char* name;
    std::map<std::string, const char*> environment;
    const char* home;
    // Expected settings, data and cache folders; all empty: no folders at all.
    const char* settings;
    const char* data;
    const char* cache;
};

class UserFolders : public ::testing::TestWithParam<FoldersCase> {};

TEST_P(UserFolders, FollowTheBaseDirectoryRules) {
    const FoldersCase& c = GetParam();
    const auto lookup = [&c](const char* name) {
        const auto found = c.environment.find(name);
        return found == c.environment.end() ? QString() : QString::fromUtf8(found->second);
    };
    const std::optional<qb::platform::UserFolders> folders =
        userFolders(lookup, QString::fromUtf8(c.home));
    if (*c.settings == '\0') {
        EXPECT_FALSE(folders.has_value());
        return;
    }
    ASSERT_TRUE(folders.has_value());
    EXPECT_EQ(folders->settings.toStdString(), c.settings);
    EXPECT_EQ(folders->data.toStdString(), c.data);
    EXPECT_EQ(folders->cache.toStdString(), c.cache);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UserFolders,
    ::testing::Values(
        FoldersCase{"DefaultsUnderHome",
                    {},
                    "/home/anna",
                    "/home/anna/.config/quillbrook/",
                    "/home/anna/.local/share/quillbrook/",
                    "/home/anna/.cache/quillbrook/"},
        FoldersCase{"VariablesWin",
                    {{"XDG_CONFIG_HOME", "/cfg"},
                     {"XDG_DATA_HOME", "/data"},
                     {"XDG_CACHE_HOME", "/var/cache/anna"}},
                    "/home/anna",
                    "/cfg/quillbrook/",
                    "/data/quillbrook/",
                    "/var/cache/anna/quillbrook/"},
        FoldersCase{"EachVariableOnItsOwn",
                    {{"XDG_DATA_HOME", "/data"}},
                    "/home/anna",
                    "/home/anna/.config/quillbrook/",
                    "/data/quillbrook/",
                    "/home/anna/.cache/quillbrook/"},
        // A relative path would put the files wherever the program happened to be started.
        FoldersCase{"RelativeValuesArePassedOver",
                    {{"XDG_CONFIG_HOME", "cfg"},
                     {"XDG_DATA_HOME", "./data"},
                     {"XDG_CACHE_HOME", "~/.cache"}},
                    "/home/anna",
                    "/home/anna/.config/quillbrook/",
                    "/home/anna/.local/share/quillbrook/",
                    "/home/anna/.cache/quillbrook/"},
        FoldersCase{"EmptyValuesArePassedOver",
                    {{"XDG_CONFIG_HOME", ""}, {"XDG_DATA_HOME", ""}, {"XDG_CACHE_HOME", ""}},
                    "/root",
                    "/root/.config/quillbrook/",
                    "/root/.local/share/quillbrook/",
                    "/root/.cache/quillbrook/"},
        FoldersCase{"SlashesAndDotsAreTidied",
                    {{"XDG_CONFIG_HOME", "/cfg//x/../"}},
                    "/home/anna/",
                    "/cfg/quillbrook/",
                    "/home/anna/.local/share/quillbrook/",
                    "/home/anna/.cache/quillbrook/"},
        FoldersCase{"NoHomeNeededWhenEveryVariableIsSet",
                    {{"XDG_CONFIG_HOME", "/c"}, {"XDG_DATA_HOME", "/d"}, {"XDG_CACHE_HOME", "/e"}},
                    "",
                    "/c/quillbrook/",
                    "/d/quillbrook/",
                    "/e/quillbrook/"},
        FoldersCase{"NoHomeAndADefaultNeeded",
                    {{"XDG_CONFIG_HOME", "/c"}, {"XDG_DATA_HOME", "/d"}},
                    "",
                    "",
                    "",
                    ""},
        FoldersCase{"RelativeHomeCountsAsNone", {}, "home/anna", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
