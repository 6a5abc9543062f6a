// Reading the resident memory figure and the size of a soak run.
#include "resident_memory.h"
#include "soak_plan.h"

#include <gtest/gtest.h>

namespace {

using qb::test::residentKilobytes;
using qb::test::soakPlan;

struct StatusCase {
    const char* name;
    std::string text;
    std::optional<std::int64_t> kilobytes;
};

class ResidentFigure : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ResidentFigure, IsReadFromItsOwnLine) {
    EXPECT_EQ(residentKilobytes(GetParam().text), GetParam().kilobytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ResidentFigure,
    ::testing::Values(
        StatusCase{"Usual", "Name:\tx\nVmPeak:\t  900 kB\nVmRSS:\t  123456 kB\nRssAnon:\t 1 kB\n",
                   123456},
        StatusCase{"FirstLine", "VmRSS: 7 kB\n", 7},
        // A label inside another line's value is no figure.
        StatusCase{"LabelInsideALine", "Name:\tVmRSS: 5\nVmRSS:\t42 kB\n", 42},
        StatusCase{"Missing", "Name:\tx\nVmSize:\t5 kB\n", std::nullopt},
        StatusCase{"NoNumber", "VmRSS:\t kB\n", std::nullopt},
        StatusCase{"CutShort", "VmRSS:", std::nullopt},
        StatusCase{"TooLarge", "VmRSS:\t99999999999999999999999 kB\n", std::nullopt},
        StatusCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResidentFigure, OfThisProcessIsAPlausibleSize) {
    const auto own = qb::test::ownResidentKilobytes();
    ASSERT_TRUE(own.has_value());
    EXPECT_GT(*own, 100); // a program with a test framework loaded takes far more than 100 kB
    const auto trimmed = qb::test::ownResidentKilobytesTrimmed();
    ASSERT_TRUE(trimmed.has_value());
    EXPECT_GT(*trimmed, 100);
}

TEST(ResidentFigure, GrowthIsInPerCentOfTheStart) {
    EXPECT_DOUBLE_EQ(qb::test::growthPercent(200000, 210000), 5.0);
    EXPECT_DOUBLE_EQ(qb::test::growthPercent(200000, 190000), -5.0);
}

struct PlanCase {
    const char* name;
    std::optional<std::string> mode;
    std::optional<std::string> refreshes;
    std::optional<std::string> changes;
    int wantRefreshes;
    int wantChanges;
};

class Plan : public ::testing::TestWithParam<PlanCase> {};

TEST_P(Plan, FollowsModeAndOverrides) {
    const PlanCase& c = GetParam();
    const qb::test::SoakPlan plan = soakPlan(c.mode, c.refreshes, c.changes);
    EXPECT_EQ(plan.refreshes, c.wantRefreshes);
    EXPECT_EQ(plan.changes, c.wantChanges);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Plan,
    ::testing::Values(PlanCase{"Short", std::nullopt, std::nullopt, std::nullopt, 100, 20},
                      PlanCase{"Long", "long", std::nullopt, std::nullopt, 1000, 200},
                      PlanCase{"UnknownMode", "longer", std::nullopt, std::nullopt, 100, 20},
                      PlanCase{"Overrides", "long", "30", "10", 30, 10},
                      PlanCase{"ZeroIgnored", std::nullopt, "0", "-4", 100, 20},
                      PlanCase{"TrailingTextIgnored", std::nullopt, "12x", "", 100, 20}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
