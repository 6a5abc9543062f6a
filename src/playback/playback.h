#pragma once

#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

class QPainter;
class TForm1;

namespace qb::app {
class JobThread;
}

namespace qb::playback {

// Playing and adding: the play commands of the torrent list, its file list and the search
// results, the preload and its progress, the player and its playlist, playlist and file
// downloads, and torrents dropped on the torrent list.
class Playback : public QObject {
public:
    explicit Playback(TForm1& form)
        : Form(form) {}

    void DropURLDrop(const QStringList& files, const QString& url);
    void AddThreadExecute(app::JobThread& thread);
    void mPlayClick();
    void ChosePlayerButClick();
    void BMDThread1Execute(app::JobThread& thread);
    void BMDThread2Execute(app::JobThread& thread);
    void N18Click();
    void m3u1Click();
    void m3u2Click();
    void AddListClick();
    void AddListDblClick();
    void AddListMouseDown(Qt::MouseButton button, const QPoint& at);
    void AddListMouseEnter();
    void AddListMouseLeave();
    void MenuItem1Click();
    void MenuItem2Click();

    // AppDir + "server/tmp.m3u": the one playlist file handed to the player.
    QString PlayerPlaylist() const;
    // A preload runs (or a list import shows its progress): the play commands do nothing.
    bool playbackBusy() const;
    // Tells the user to choose a player when there is none; otherwise shows the chosen one on
    // ChosePlayerBut. False when there is none.
    bool playerChosen();
    // Writes the player's playlist; a failure is reported and answers false.
    bool writePlayerPlaylist(const QByteArray& bytes);
    // Starts the preload of the source the flags name; the player follows when it has finished.
    void startPreload(bool fromSearch, bool fromFiles);
    // The view downloads the address itself: it asks where to save and shows the progress.
    void downloadThroughView(const QString& address, const QString& fileName);
    // Esc: the running preload ends without starting the player.
    void cancelPreload() { PreloadCancelled = true; }
    bool preloadCancelled() const { return PreloadCancelled; }
    // Which list the running preload plays from: the search results, the file list, or (both
    // false) the torrent list.
    bool playsFromSearch() const { return PlaySourceSearch; }
    bool playsFromFiles() const { return PlaySourceFiles; }
    const QString& playerPath() const { return PlayerPath; }
    void setPlayerPath(const QString& path) { PlayerPath = path; }
    // Whether a right click on AddList opens AddListPopup: off until AddListMouseDown finds a row.
    bool fileListPopupOn() const { return AddListAutoPopup; }

    // Tests arrange the source of a preload they start through its worker.
    void setPlaysFromSearchForTest(bool fromSearch) { PlaySourceSearch = fromSearch; }
    void setPlaysFromFilesForTest(bool fromFiles) { PlaySourceFiles = fromFiles; }

private:
    void startPlayer();
    void addedClosingSequence();

    TForm1& Form;
    QString PlayerPath;
    bool PreloadCancelled = false;
    bool PlaySourceSearch = false;
    bool PlaySourceFiles = false;
    // The preload request of the running playback has been answered: the server has finished.
    bool PreloadAnswered = false;
    bool AddListAutoPopup = false;
    // What the last drop on TorrentList carried: file paths joined by CR LF, and the address.
    QString DroppedFiles, DroppedUrl;
};

} // namespace qb::playback
