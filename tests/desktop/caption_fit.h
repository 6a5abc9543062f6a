#pragma once

#include <QString>

#include <vector>

class QWidget;

namespace qb::test {

// A caption that its widget cuts: the text needs more room than the widget gives it.
struct CutCaption {
    QString widget; // object name
    QString text;
    int needed = 0;    // device-independent pixels of the text in the widget's own font
    int available = 0; // the room the widget's style leaves for its text
};

// Every button, check box, label and group box under `window` that is visible and whose caption
// does not fit the room its style gives the text, measured with the font it is drawn in.
std::vector<CutCaption> cutCaptions(const QWidget& window);

// The names of the visible captioned widgets that were measured.
std::vector<QString> measuredCaptions(const QWidget& window);

} // namespace qb::test
