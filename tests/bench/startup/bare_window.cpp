// A bare main window of the client's size with an embedded HTML view and nothing else: the
// yardstick for how soon the client's own window can appear.
#include <QApplication>
#include <QMainWindow>
#include <QWebEngineView>

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare web view window"));
    window.setCentralWidget(new QWebEngineView(&window));
    window.setFixedSize(1264, 561);
    window.show();
    return app.exec();
}
