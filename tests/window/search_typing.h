#pragma once

#include "app/tform1.h"

#include <QLineEdit>
#include <QTest>

namespace qb::test {

// Types the text into the search box and presses Enter, as the user does: key by key, since
// QTest's own typing knows Latin letters only.
inline void searchFor(TForm1& form, const QString& text) {
    QTest::mouseClick(form.SearchT, Qt::LeftButton);
    form.SearchT->clear();
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, form.SearchT, Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
    }
    QTest::keyClick(form.SearchT, Qt::Key_Return);
}

} // namespace qb::test
