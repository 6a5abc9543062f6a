#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class TForm1;

namespace qb::app {
class JobThread;
}

namespace qb::lists {

// Lists and series: exporting and importing the torrents as magnet links, the hourly series
// check (CheckSerialsTH) and its announcement, and updating a series to its newest release.
class ListsAndSeries : public QObject {
public:
    explicit ListsAndSeries(TForm1& form)
        : Form(form) {}

    void N23Click();
    void N24Click();
    void N25Click();
    void update1Click();
    void UpdateTimer1Timer();
    void CheckSerialsTHExecute(app::JobThread& thread);

    // Where the desktop has no tray, TrayMenu opens from a button and from the status panel.
    void offerTrayMenuWithoutTray();
    // An import runs: a second one cannot start inside its waits.
    bool importRunning() const { return ImportRunning; }

private:
    // The series check's announcement: the tray balloon, or a notice in the window without one.
    void showUpdateBalloon();
    // The add loop of both imports over the lines held in Memo2; the form names failed lines.
    void addListLines(const QStringList& lines, bool longErrorEntries);
    // Removes the torrents with these hashes for the replacing import; false when it must end.
    bool removeForImport(const QStringList& hashes);

    TForm1& Form;
    bool ImportRunning = false;
};

} // namespace qb::lists
