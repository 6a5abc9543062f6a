// The window's captions fit their widgets on a machine without Wine's fonts, which the test's
// fontconfig configuration hides, at 100 % and at 200 % (QT_SCALE_FACTOR=2): the program brings
// its own Tahoma. The measure itself is shown to bite: with the font that fontconfig
// substitutes, the two check boxes are cut.
#include "caption_fit.h"
#include "connected_window.h"

#include "platform/fonts.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::test::CutCaption;

// Whether the machine's own fonts had a Tahoma, asked once before the program adds its own, as
// the program does at its start.
bool machineHadTahoma() {
    static const bool had = [] {
        const bool found = QFontDatabase::hasFamily(u"Tahoma"_s);
        qb::platform::provideTahoma();
        return found;
    }();
    return had;
}

std::string describe(const std::vector<CutCaption>& cut) {
    std::string text;
    for (const CutCaption& c : cut) {
        text += c.widget.toStdString() + " \"" + c.text.toStdString() + "\" needs " +
                std::to_string(c.needed) + " px of " + std::to_string(c.available) + "; ";
    }
    return text;
}

bool hasWidget(const std::vector<CutCaption>& cut, const QString& name) {
    return std::any_of(cut.begin(), cut.end(),
                       [&name](const CutCaption& c) { return c.widget == name; });
}

// The window as a user sees it after the start, connected to the stand-in TorrServer, on a
// desktop without a tray (so the tray menu's button is there too).
class Captions : public qb::test::ConnectedWindow {
protected:
    void SetUp() override {
        ConnectedWindow::SetUp();
        machineHadTahoma();
        startWindow(false);
    }
};

TEST_F(Captions, ShownInTheProgramsOwnTahomaWhereTheMachineHasNone) {
    EXPECT_FALSE(machineHadTahoma()) << "the fontconfig configuration should hide every Tahoma";
    for (const QString& name : qb::test::measuredCaptions(*form)) {
        const auto* widget = form->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name.toStdString();
        EXPECT_EQ(QFontInfo(widget->font()).family(), u"Tahoma"_s) << name.toStdString();
    }
}

TEST_F(Captions, EveryCaptionFitsAfterTheStart) {
    const std::vector<QString> measured = qb::test::measuredCaptions(*form);
    for (const char16_t* name : {u"Label1", u"ConnectButton", u"SettingBut", u"LogP",
                                 u"ChosePlayerBut", u"status", u"Local1", u"FHD1", u"GroupBox1",
                                 u"Search", u"Top1", u"Button1", u"GroupBox2", u"TrayMenuButton"}) {
        EXPECT_NE(std::find(measured.begin(), measured.end(), QString::fromUtf16(name)),
                  measured.end())
            << QString::fromUtf16(name).toStdString() << " was not measured";
    }
    EXPECT_EQ(form->status->text(), u"Сервер ОК"_s);
    const std::vector<CutCaption> cut = qb::test::cutCaptions(*form);
    EXPECT_TRUE(cut.empty()) << describe(cut);
}

TEST_F(Captions, EveryCaptionFitsWithAPlayerChosen) {
    dialogs->answerNext(u"/usr/bin/mpv"_s);
    QTest::mouseClick(form->ChosePlayerBut, Qt::LeftButton);
    ASSERT_EQ(form->ChosePlayerBut->text(), u"Сменить плеер"_s);
    const std::vector<CutCaption> cut = qb::test::cutCaptions(*form);
    EXPECT_TRUE(cut.empty()) << describe(cut);
}

TEST_F(Captions, FontThatFontconfigSubstitutesCutsTheCheckBoxes) {
    form->setFont(QFont(u"sans-serif"_s, 9));
    ASSERT_NE(QFontInfo(form->Local1->font()).family(), u"Tahoma"_s);
    const std::vector<CutCaption> cut = qb::test::cutCaptions(*form);
    EXPECT_TRUE(hasWidget(cut, u"Local1"_s)) << describe(cut);
    EXPECT_TRUE(hasWidget(cut, u"FHD1"_s)) << describe(cut);
}

TEST_F(Captions, WindowKeepsItsSizeAndIconsArePaintedForTheScale) {
    EXPECT_EQ(form->centralWidget()->size(), QSize(1264, 561));
    const qreal scale = form->devicePixelRatioF();
    EXPECT_EQ(scale, qEnvironmentVariable("QT_SCALE_FACTOR", u"1"_s).toDouble());
    const QList<QSize> sizes = form->windowIcon().availableSizes();
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const int device = qRound(size * scale);
        EXPECT_TRUE(sizes.contains(QSize(device, device)))
            << "no " << device << " px picture for the " << size << " px icon";
    }
}

} // namespace
