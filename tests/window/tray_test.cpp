// Hiding to the tray, the tray icon's clicks, the start in the tray, and activation changes;
// with a tray and on a desktop without one.
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
    form->StartMinimized = true;
    form->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(waitUntil([this] { return !trayAvailable() || !form->isVisible(); }));
    EXPECT_EQ(form->isVisible(), !trayAvailable());
    EXPECT_TRUE(form->isMinimized());
    EXPECT_FALSE(form->StartMinimized);
}

TEST_P(Tray, TrayClickShowsAndHidesTheWindow) {
    form->TrayIcon1Click();
    EXPECT_EQ(hiddenToTray(), trayAvailable());
    EXPECT_TRUE(form->isMinimized());
    form->TrayIcon1Click();
    if (trayAvailable()) {
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(form->isMinimized());
    }
}

TEST_P(Tray, BalloonClickOnlyShowsAHiddenWindow) {
    form->TrayIcon1BalloonClick();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    form->TrayIcon1Click();
    form->TrayIcon1BalloonClick();
    EXPECT_TRUE(form->isVisible());
    // Without a tray the window was only minimised and stays visible: the balloon leaves it.
    EXPECT_EQ(form->isMinimized(), !trayAvailable());
}

TEST_P(Tray, StartInTheTrayTakesEffectAtTheFirstActivation) {
    form->StartMinimized = true;
    form->ApplicationEvents1Activate();
    EXPECT_FALSE(form->StartMinimized);
    EXPECT_EQ(hiddenToTray(), trayAvailable());
    EXPECT_TRUE(form->isMinimized());
    form->N5Click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
}

INSTANTIATE_TEST_SUITE_P(Desktops, Tray, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithTray" : "WithoutTray"; });

class Activation : public qb::test::WindowTest {};

TEST_F(Activation, LosingItClearsATransientNoticeOnce) {
    makeWindow().show();
    form->LogP->setText(u"Загрузка завершена: /tmp/a.zip"_s);
    form->TransientStatus = true;
    form->FormActivationChange(true);
    EXPECT_EQ(form->LogP->text(), u"Загрузка завершена: /tmp/a.zip"_s);
    form->FormActivationChange(false);
    EXPECT_EQ(form->LogP->text(), QString());
    EXPECT_FALSE(form->TransientStatus);
    form->LogP->setText(u"Всего торрентов"_s);
    form->FormActivationChange(false);
    EXPECT_EQ(form->LogP->text(), u"Всего торрентов"_s);
}

} // namespace
