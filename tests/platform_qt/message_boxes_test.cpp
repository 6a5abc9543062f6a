// Message boxes as the user sees them: texts, titles, icons, Russian buttons and answers.
#include "modal_helper.h"
#include "platform/qt_message_boxes.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMessageBox>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using qb::platform::MessageAnswer;
using qb::platform::MessageButtons;
using qb::platform::MessageIcon;

namespace {

enum class Act { ClickOk, ClickYes, ClickNo, PressEscape };

struct Case {
    const char* label;
    QString text;
    MessageIcon icon;
    MessageButtons buttons;
    Act act;
    QString shownText;
    QMessageBox::Icon shownIcon;
    QStringList buttonTexts;
    MessageAnswer answer;
};

struct Seen {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    QWidget* parent = nullptr;
    bool modal = false;
    QStringList buttonTexts;
};

Seen look(QMessageBox* box) {
    Seen seen{box->text(),         box->windowTitle(), box->icon(), box->textFormat(),
              box->parentWidget(), box->isModal(),     {}};
    for (QMessageBox::StandardButton which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok}) {
        if (QAbstractButton* button = box->button(which)) {
            seen.buttonTexts.append(button->text().remove(u'&'));
        }
    }
    return seen;
}

void act(QMessageBox* box, Act what) {
    switch (what) {
    case Act::ClickOk:
        box->button(QMessageBox::Ok)->click();
        break;
    case Act::ClickYes:
        box->button(QMessageBox::Yes)->click();
        break;
    case Act::ClickNo:
        box->button(QMessageBox::No)->click();
        break;
    case Act::PressEscape: {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
        break;
    }
    }
}

class MessageBoxesTest : public testing::TestWithParam<Case> {};

TEST_P(MessageBoxesTest, ShowsTheTextAndAnswersWithTheButtonChosen) {
    const Case& c = GetParam();
    QWidget owner;
    Seen seen;
    whenModalOpens<QMessageBox>([&seen, &c](QMessageBox* box) {
        seen = look(box);
        act(box, c.act);
    });
    const MessageAnswer answer =
        qb::platform::QtMessageBoxes().show(&owner, c.text, u"Заголовок окна"_s, c.icon, c.buttons);
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(seen.text, c.shownText);
    EXPECT_EQ(seen.title, u"Заголовок окна"_s);
    EXPECT_EQ(seen.icon, c.shownIcon);
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.parent, &owner);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.buttonTexts, c.buttonTexts);
}

const QStringList kYesNo = {u"Да"_s, u"Нет"_s};

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxesTest,
    testing::Values(Case{"lone CR breaks the line",
                         u"Сервер не отвечает\rПроверьте адрес"_s,
                         MessageIcon::Error,
                         MessageButtons::Ok,
                         Act::ClickOk,
                         u"Сервер не отвечает\nПроверьте адрес"_s,
                         QMessageBox::Critical,
                         {u"OK"_s},
                         MessageAnswer::Ok},
                    Case{"CR LF is one break",
                         u"Строка 1\r\nСтрока 2\r\rСтрока 4"_s,
                         MessageIcon::Warning,
                         MessageButtons::Ok,
                         Act::PressEscape,
                         u"Строка 1\nСтрока 2\n\nСтрока 4"_s,
                         QMessageBox::Warning,
                         {u"OK"_s},
                         MessageAnswer::Ok},
                    Case{"yes", u"Удалить торрент?"_s, MessageIcon::Question, MessageButtons::YesNo,
                         Act::ClickYes, u"Удалить торрент?"_s, QMessageBox::Question, kYesNo,
                         MessageAnswer::Yes},
                    Case{"no", u"Обновить?"_s, MessageIcon::Information, MessageButtons::YesNo,
                         Act::ClickNo, u"Обновить?"_s, QMessageBox::Information, kYesNo,
                         MessageAnswer::No},
                    Case{"escape answers no", u"Заменить?"_s, MessageIcon::Question,
                         MessageButtons::YesNo, Act::PressEscape, u"Заменить?"_s,
                         QMessageBox::Question, kYesNo, MessageAnswer::No},
                    Case{"markup is shown as it stands",
                         u"<b>404</b> <a href=\"x\">Not found</a>"_s,
                         MessageIcon::Error,
                         MessageButtons::Ok,
                         Act::ClickOk,
                         u"<b>404</b> <a href=\"x\">Not found</a>"_s,
                         QMessageBox::Critical,
                         {u"OK"_s},
                         MessageAnswer::Ok}),
    [](const testing::TestParamInfo<Case>& info) { return std::to_string(info.index); });

} // namespace
