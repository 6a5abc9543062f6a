#pragma once

#include "app/tform1.h"
#include "fake_platform.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace qb::test {

inline QString toQ(const std::string& text) {
    return QString::fromStdString(text);
}

// The real main window in a fresh program folder, with recorded operating-system services.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString appDir() const { return dir.path() + QStringLiteral("/"); }

    // Writes app.json as the user left it.
    void writeSettings(const QString& server, const QString& localServer, const QString& tor,
                       const QString& extra = QString()) {
        QFile file(appDir() + QStringLiteral("app.json"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QString text = QStringLiteral("[{\"Title\":\"\",\"LocalServer\":\"") + localServer +
                             QStringLiteral("\",\"Server\":\"") + server +
                             QStringLiteral("\",\"Player\":\"\",\"Minimize\":\"0\",\"Tor\":\"") +
                             tor + QStringLiteral("\"") + extra + QStringLiteral("}]");
        file.write(text.toUtf8());
    }

    QByteArray settingsBytes() const {
        QFile file(appDir() + QStringLiteral("app.json"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Builds the window; FormCreate is the test's to run.
    TForm1& makeWindow(const QString& argument = QString()) {
        FakePlatform fakes = makeFakePlatform(appDir(), argument);
        messages = fakes.messages;
        dialogs = fakes.dialogs;
        browser = fakes.browser;
        processes = fakes.processes;
        clipboard = fakes.clipboard;
        system = fakes.system;
        form = std::make_unique<TForm1>(std::move(fakes.platform));
        return *form;
    }

    // Processes the window's events until `done` holds or the time is up.
    static bool waitUntil(const std::function<bool()>& done,
                          std::chrono::milliseconds limit = std::chrono::seconds(20));

    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
    FakeMessageBoxes* messages = nullptr;
    FakeFileDialogs* dialogs = nullptr;
    FakeBrowser* browser = nullptr;
    FakeProcesses* processes = nullptr;
    FakeClipboard* clipboard = nullptr;
    FakeSystemInfo* system = nullptr;
};

} // namespace qb::test
