// The fakes that window tests rely on: they answer as documented and never block.
#include "fake_platform.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using qb::platform::MessageAnswer;
using qb::platform::MessageButtons;
using qb::platform::MessageIcon;

namespace {

TEST(FakeMessageBoxes, QueuedAnswersGoToYesNoBoxesOnly) {
    qb::test::FakeMessageBoxes boxes;
    boxes.answerNext(u"Да"_s);
    boxes.answerNext(u"Нет"_s);
    boxes.answerNext(MessageAnswer::Yes);
    const auto ask = [&boxes](MessageButtons buttons) {
        return boxes.show(nullptr, u"t"_s, u"c"_s, MessageIcon::Question, buttons);
    };
    EXPECT_EQ(ask(MessageButtons::Ok), MessageAnswer::Ok);
    EXPECT_EQ(ask(MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(ask(MessageButtons::Ok), MessageAnswer::Ok);
    EXPECT_EQ(ask(MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(ask(MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(ask(MessageButtons::YesNo), MessageAnswer::No); // nothing queued
    ASSERT_EQ(boxes.calls.size(), 6u);
    EXPECT_EQ(boxes.calls[1].answer, MessageAnswer::Yes);
}

TEST(FakePlatform, PointersReachThePartsAfterTheBundleMoves) {
    qb::test::FakePlatform fakes = qb::test::makeFakePlatform(u"/opt/qb"_s, u"magnet:?x"_s);
    qb::platform::Platform moved = std::move(fakes.platform);
    EXPECT_EQ(moved.appDir, u"/opt/qb/"_s);
    EXPECT_EQ(moved.firstArgument, u"magnet:?x"_s);
    moved.browser->open(QUrl(u"javascript:void(0)"_s));
    moved.browser->open(QUrl(u"https://tracker.example/"_s));
    EXPECT_EQ(fakes.browser->requested.size(), 2u);
    EXPECT_EQ(fakes.browser->opened, std::vector<QUrl>{QUrl(u"https://tracker.example/"_s)});
    fakes.dialogs->answerNext(u"/tmp/a.txt"_s);
    EXPECT_EQ(moved.dialogs->openFile(nullptr, u"t"_s, u"/usr/bin"_s, u"f (*)"_s), u"/tmp/a.txt"_s);
    EXPECT_TRUE(moved.dialogs->saveFile(nullptr, u"t"_s, {}, u"f (*)"_s, u".txt"_s).isEmpty());
    EXPECT_EQ(fakes.dialogs->calls.size(), 2u);
}

} // namespace
