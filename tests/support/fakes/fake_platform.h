#pragma once

#include "platform/platform.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

// Recording stand-ins for the operating system, for tests that drive the real window. None of
// them ever blocks or opens anything on the desktop. Their dialogs and message boxes count as the
// nested event loops the real ones are (qb::app::nestedLoopBegins).
namespace qb::test {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

struct MessageCall {
    QWidget* owner = nullptr;
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer answer = MessageAnswer::Ok;
};

// Yes/No boxes take their answers from a queue ("Да" or "Нет"); with nothing queued they answer
// No. Ok boxes answer Ok and leave the queue alone.
class FakeMessageBoxes final : public platform::MessageBoxes {
public:
    MessageAnswer show(QWidget* owner, const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;

    void answerNext(MessageAnswer answer);
    // "Да" or "Нет", as the buttons read.
    void answerNext(const QString& buttonText);

    std::vector<MessageCall> calls;
    std::deque<MessageAnswer> answers;
    // Runs while the box counts as open, e.g. to look at the window meanwhile.
    std::function<void(const MessageCall&)> onShow;
};

struct FileDialogCall {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QWidget* owner = nullptr;
    QString title;
    QString folder;     // open dialogs
    QString presetName; // save dialogs
    QString filter;
    QString defaultSuffix;
};

// Answers from a queue, given as the chosen path; an empty answer, or none queued, cancels.
class FakeFileDialogs final : public platform::FileDialogs {
public:
    QString openFile(QWidget* owner, const QString& title, const QString& folder,
                     const QString& filter) override;
    QString saveFile(QWidget* owner, const QString& title, const QString& presetName,
                     const QString& filter, const QString& defaultSuffix) override;

    void answerNext(const QString& path) { answers.push_back(path); }

    std::vector<FileDialogCall> calls;
    std::deque<QString> answers;
    // Runs while the dialog counts as open, before it answers.
    std::function<void(const FileDialogCall&)> onShow;

private:
    QString answer(FileDialogCall call);
    QString nextAnswer();
};

class FakeBrowser final : public platform::Browser {
public:
    void open(const QUrl& address) override;

    // Every address asked for, and those among them that the real browser would open.
    std::vector<QUrl> requested;
    std::vector<QUrl> opened;
};

struct StartCall {
    QString program;
    QStringList arguments;
};

// Records starts and terminations. By default nothing runs: list() answers `running`, and a
// termination removes the process from it. With real processes underneath, starts, the list
// and terminations act on the system and are recorded all the same.
class FakeProcesses final : public platform::Processes {
public:
    explicit FakeProcesses(bool realProcesses = false);
    ~FakeProcesses() override;

    bool startDetached(const QString& program, const QStringList& arguments) override;
    std::vector<platform::ProcessEntry> list() override;
    void terminate(qint64 pid) override;

    // Adds a process with this executable name to `running` and returns its pid.
    qint64 addRunning(const QString& executableName);

    std::vector<StartCall> starts;
    bool startSucceeds = true; // without real processes
    std::vector<platform::ProcessEntry> running;
    std::vector<qint64> terminated;

private:
    std::unique_ptr<platform::Processes> real_;
    qint64 nextPid_ = 40000;
};

class FakeClipboard final : public platform::Clipboard {
public:
    void setText(const QString& text) override;
    QString text() override { return content; }

    QString content;
    std::vector<QString> sets;
};

class FakeSystemInfo final : public platform::SystemInfo {
public:
    QString productName() override { return product; }
    bool trayAvailable() override { return tray; }

    QString product = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
    bool tray = true;
};

// A Platform made of fakes, with pointers to them for the test's assertions. The pointers stay
// valid while the Platform's parts live, also after the Platform is moved into the window.
struct FakePlatform {
    platform::Platform platform;
    FakeMessageBoxes* messages = nullptr;
    FakeFileDialogs* dialogs = nullptr;
    FakeBrowser* browser = nullptr;
    FakeProcesses* processes = nullptr;
    FakeClipboard* clipboard = nullptr;
    FakeSystemInfo* system = nullptr;
};

FakePlatform makeFakePlatform(const QString& appDir, const QString& firstArgument = QString(),
                              bool realProcesses = false);

} // namespace qb::test
