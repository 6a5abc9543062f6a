// Writes the application icon as PNG files for the desktop entry:
//   icon-export FOLDER SIZE...  writes FOLDER/quillbrook-SIZE.png for each SIZE.
#include "app/window/app_icon.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        bool number = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&number);
        if (!number || size <= 0) {
            return 2;
        }
        const QString name = QStringLiteral("quillbrook-%1.png").arg(size);
        if (!qb::app::appIconPixmap(size).save(folder.filePath(name))) {
            return 1;
        }
    }
    return 0;
}
