// Hiding to the tray, the tray icon's clicks, the start in the tray, and activation changes;
// with a tray and on a desktop without one.
#include "app/app_core.h"
#include "window_fixture.h"

#include <QLabel>

using namespace Qt::Literals::StringLiterals;

namespace {

class Tray : public qb::test::WindowTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        makeWindow();
        system->tray = GetParam();
        form->show();
    }
    bool trayAvailable() const { return GetParam(); }
    bool hiddenToTray() const { return !form->isVisible() && form->isMinimized(); }
};

TEST_P(Tray, MinimiseHidesToTheTrayOnlyWhereThereIsOne) {
    form->core().setStartMinimizedForTest(true);
    form->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(waitUntil([this] { return !trayAvailable() || !form->isVisible(); }));
    EXPECT_EQ(form->isVisible(), !trayAvailable());
    EXPECT_TRUE(form->isMinimized());
    EXPECT_FALSE(form->core().startMinimized());
}

TEST_P(Tray, TrayClickShowsAndHidesTheWindow) {
    form->core().TrayIcon1Click();
    EXPECT_EQ(hiddenToTray(), trayAvailable());
    EXPECT_TRUE(form->isMinimized());
    form->core().TrayIcon1Click();
    if (trayAvailable()) {
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(form->isMinimized());
    }
}

TEST_P(Tray, BalloonClickOnlyShowsAHiddenWindow) {
    form->core().TrayIcon1BalloonClick();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    form->core().TrayIcon1Click();
    form->core().TrayIcon1BalloonClick();
    EXPECT_TRUE(form->isVisible());
    // Without a tray the window was only minimised and stays visible: the balloon leaves it.
    EXPECT_EQ(form->isMinimized(), !trayAvailable());
}

TEST_P(Tray, StartInTheTrayTakesEffectAtTheFirstActivation) {
    form->core().setStartMinimizedForTest(true);
    form->core().ApplicationEvents1Activate();
    EXPECT_FALSE(form->core().startMinimized());
    EXPECT_EQ(hiddenToTray(), trayAvailable());
    EXPECT_TRUE(form->isMinimized());
    form->core().N5Click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
}

INSTANTIATE_TEST_SUITE_P(Desktops, Tray, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithTray" : "WithoutTray"; });

class Activation : public qb::test::WindowTest {};

TEST_F(Activation, LosingItClearsATransientNoticeOnce) {
    makeWindow().show();
    form->LogP->setText(u"Загрузка завершена: /tmp/a.zip"_s);
    form->setTransientStatus(true);
    form->core().FormActivationChange(true);
    EXPECT_EQ(form->LogP->text(), u"Загрузка завершена: /tmp/a.zip"_s);
    form->core().FormActivationChange(false);
    EXPECT_EQ(form->LogP->text(), QString());
    EXPECT_FALSE(form->transientStatus());
    form->LogP->setText(u"Всего торрентов"_s);
    form->core().FormActivationChange(false);
    EXPECT_EQ(form->LogP->text(), u"Всего торрентов"_s);
}

} // namespace
