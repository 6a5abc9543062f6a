#include "fake_platform.h"

#include "app/workers/nested_loops.h"
#include "platform/proc_processes.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace qb::test {

MessageAnswer FakeMessageBoxes::show(QWidget* owner, const QString& text, const QString& title,
                                     MessageIcon icon, MessageButtons buttons) {
    MessageCall call{owner, text, title, icon, buttons, MessageAnswer::Ok};
    if (buttons == MessageButtons::YesNo) {
        call.answer = MessageAnswer::No;
        if (!answers.empty()) {
            call.answer = answers.front();
            answers.pop_front();
        }
    }
    calls.push_back(call);
    // A modal box runs an event loop of its own: other handlers may run while it is open.
    app::nestedLoopBegins(app::NestedLoop::Dialog);
    if (onShow) {
        onShow(call);
    }
    return call.answer;
}

void FakeMessageBoxes::answerNext(MessageAnswer answer) {
    answers.push_back(answer);
}

void FakeMessageBoxes::answerNext(const QString& buttonText) {
    answers.push_back(buttonText == u"Да"_s ? MessageAnswer::Yes : MessageAnswer::No);
}

QString FakeFileDialogs::nextAnswer() {
    if (answers.empty()) {
        return {};
    }
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

QString FakeFileDialogs::answer(FileDialogCall call) {
    calls.push_back(call);
    app::nestedLoopBegins(app::NestedLoop::Dialog);
    if (onShow) {
        onShow(call);
    }
    return nextAnswer();
}

QString FakeFileDialogs::openFile(QWidget* owner, const QString& title, const QString& folder,
                                  const QString& filter) {
    return answer({FileDialogCall::Kind::Open, owner, title, folder, QString(), filter, {}});
}

QString FakeFileDialogs::saveFile(QWidget* owner, const QString& title, const QString& presetName,
                                  const QString& filter, const QString& defaultSuffix) {
    return answer(
        {FileDialogCall::Kind::Save, owner, title, QString(), presetName, filter, defaultSuffix});
}

void FakeBrowser::open(const QUrl& address) {
    requested.push_back(address);
    if (platform::isOpenableAddress(address)) {
        opened.push_back(address);
    }
}

FakeProcesses::FakeProcesses(bool realProcesses) {
    if (realProcesses) {
        real_ = std::make_unique<platform::ProcProcesses>();
    }
}

FakeProcesses::~FakeProcesses() = default;

bool FakeProcesses::startDetached(const QString& program, const QStringList& arguments) {
    starts.push_back({program, arguments});
    return real_ ? real_->startDetached(program, arguments) : startSucceeds;
}

std::vector<platform::ProcessEntry> FakeProcesses::list() {
    return real_ ? real_->list() : running;
}

void FakeProcesses::terminate(qint64 pid) {
    terminated.push_back(pid);
    if (real_) {
        real_->terminate(pid);
        return;
    }
    std::erase_if(running, [pid](const platform::ProcessEntry& entry) { return entry.pid == pid; });
}

qint64 FakeProcesses::addRunning(const QString& executableName) {
    const qint64 pid = nextPid_++;
    running.push_back({pid, executableName, executableName});
    return pid;
}

void FakeClipboard::setText(const QString& text) {
    content = text;
    sets.push_back(text);
}

FakePlatform makeFakePlatform(const QString& appDir, const QString& firstArgument,
                              bool realProcesses) {
    FakePlatform fakes;
    auto messages = std::make_unique<FakeMessageBoxes>();
    auto dialogs = std::make_unique<FakeFileDialogs>();
    auto browser = std::make_unique<FakeBrowser>();
    auto processes = std::make_unique<FakeProcesses>(realProcesses);
    auto clipboard = std::make_unique<FakeClipboard>();
    auto system = std::make_unique<FakeSystemInfo>();
    fakes.messages = messages.get();
    fakes.dialogs = dialogs.get();
    fakes.browser = browser.get();
    fakes.processes = processes.get();
    fakes.clipboard = clipboard.get();
    fakes.system = system.get();
    fakes.platform.messages = std::move(messages);
    fakes.platform.dialogs = std::move(dialogs);
    fakes.platform.browser = std::move(browser);
    fakes.platform.processes = std::move(processes);
    fakes.platform.clipboard = std::move(clipboard);
    fakes.platform.system = std::move(system);
    fakes.platform.appDir = appDir;
    if (!appDir.isEmpty() && !appDir.endsWith(u'/')) {
        fakes.platform.appDir += u'/';
    }
    fakes.platform.firstArgument = firstArgument;
    return fakes;
}

} // namespace qb::test
