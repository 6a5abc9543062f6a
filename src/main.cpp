// Process entry: the single-copy rule, the hand-off of the argument to a running copy, and the
// main window's life.
#include "app/tform1.h"
#include "app/workers/window_thread.h"
#include "platform/close_on_signal.h"
#include "platform/fonts.h"
#include "platform/single_copy.h"
#include "platform/translations.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char** argv) {
    // The embedded HTML view shares its drawing contexts with the window.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    // A desktop may hand a double-clicked ".torrent" file over as a file address.
    if (argument.startsWith(u"file://"_s)) {
        argument = QUrl(argument).toLocalFile();
    }

    qb::platform::SingleCopy singleCopy;
    if (!singleCopy.acquire()) {
        // A running copy takes the argument (or, busy with an earlier one, drops it) and this
        // copy ends without a window. When nobody answers, this copy runs on by itself.
        if (qb::platform::SingleCopy::handOff(argument) !=
            qb::platform::HandOffResult::NoListener) {
            return 0;
        }
    }

    qb::platform::installRussianTranslations(app);
    qb::platform::provideTahoma();
    QGuiApplication::setApplicationDisplayName(u"Quillbrook"_s);

    int exitCode = 0;
    {
        const QString appDir = QCoreApplication::applicationDirPath() + u"/"_s;
        TForm1 form(qb::platform::makeQtPlatform(appDir, argument));
        // Every hand-off is taken; one that arrives while another is being added waits.
        singleCopy.listen([] { return true; },
                          [&form](const QString& text) { form.receiveHandOff(text); });
        // A termination request closes the window as the user would, then ends the program even
        // when the window's settings would only hide it in the tray. One that comes while the
        // window is being set up lets the set-up end and never shows the window.
        bool terminated = false;
        qb::platform::CloseOnSignal closeOnSignal([&form, &terminated] {
            terminated = true;
            if (form.isVisible()) {
                form.close();
            } else {
                // A window that was never shown ignores close(); its close steps (requests
                // ended, no more questions to the user) are still due.
                QCloseEvent event;
                QCoreApplication::sendEvent(&form, &event);
            }
            // Every event loop ends, a question's on screen included; quit() would only end the
            // main one, and only once it runs.
            QCoreApplication::exit(0);
        });
        if (form.FormCreate() && !terminated) {
            form.show();
            exitCode = app.exec();
        }
    }
    // A job that outlived the window's teardown may not reach the window any more.
    qb::app::endWindowThreadCalls();
    return exitCode;
}
