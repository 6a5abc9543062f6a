// Writes the application icon as PNG files for the desktop entry: icon-export FOLDER.
#include "app/window/app_icon.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int size : {48, 128, 256}) {
        const QString name = QStringLiteral("quillbrook-%1.png").arg(size);
        if (!qb::app::appIconPixmap(size).save(folder.filePath(name))) {
            return 1;
        }
    }
    return 0;
}
