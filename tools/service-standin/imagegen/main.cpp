// Draws the fixture images listed in gen/images.json: posters, screenshots, rating badges, the
// placeholder poster and the error picture. Usage: service-standin-imagegen images.json img-dir
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

namespace {

void drawPoster(QPainter& p, const QRect& r, const QColor& c, const QStringList& lines) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, c.lighter(160));
    g.setColorAt(0.55, c);
    g.setColorAt(1, c.darker(260));
    p.fillRect(r, g);
    QRandomGenerator rng(static_cast<quint32>(qHash(lines.value(0))));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) { // stars
        p.setBrush(QColor(255, 255, 255, 60 + rng.bounded(150)));
        p.drawEllipse(QPointF(rng.bounded(r.width()), rng.bounded(r.height() / 2)), 1.0, 1.0);
    }
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 13, QFont::Bold));
    p.drawText(r.adjusted(10, 0, -10, -60), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap,
               lines.value(0));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    p.drawText(r.adjusted(0, 0, 0, -30), Qt::AlignHCenter | Qt::AlignBottom, lines.value(1));
}

void drawScreen(QPainter& p, const QRect& r, const QColor& c, const QStringList& lines) {
    const int n = lines.value(0).toInt();
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, c.darker(200));
    sky.setColorAt(1, c.lighter(130 + 20 * n));
    p.fillRect(r, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(c.darker(300));
    QPolygon hills;
    hills << QPoint(0, r.height());
    for (int x = 0; x <= r.width(); x += 40)
        hills << QPoint(x, 140 + ((x * (n + 3)) % 37));
    hills << QPoint(r.width(), r.height());
    p.drawPolygon(hills);
    p.setBrush(QColor(255, 255, 230, 200));
    p.drawEllipse(QPoint(60 + 200 * (n % 2), 50), 14, 14);
}

void drawBadge(QPainter& p, const QRect& r, const QColor& c, const QStringList& lines) {
    p.fillRect(r, c);
    p.setPen(QColor(0, 0, 0));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7, QFont::Bold));
    p.drawText(r.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, lines.value(0));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10, QFont::Bold));
    p.drawText(r.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, lines.value(1));
}

void drawMessage(QPainter& p, const QRect& r, const QColor& c, const QStringList& lines,
                 int bigSize) {
    p.fillRect(r, c);
    p.setPen(QColor(0x77, 0x77, 0x77));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), bigSize, QFont::Bold));
    const bool two = lines.size() > 1;
    p.drawText(r.adjusted(8, 0, -8, two ? -r.height() / 4 : 0), Qt::AlignCenter | Qt::TextWordWrap,
               lines.value(0));
    if (two) {
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        p.drawText(r.adjusted(8, r.height() / 2, -8, 0), Qt::AlignCenter | Qt::TextWordWrap,
                   lines.value(1));
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3)
        return 2;
    QFile list(QString::fromLocal8Bit(argv[1]));
    if (!list.open(QIODevice::ReadOnly))
        return 1;
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (const auto& value : QJsonDocument::fromJson(list.readAll()).array()) {
        const QJsonObject item = value.toObject();
        QImage image(item[u"w"].toInt(), item[u"h"].toInt(), QImage::Format_RGB32);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor color(item[u"color"].toString());
        QStringList lines;
        for (const auto& line : item[u"lines"].toArray())
            lines << line.toString();
        const QString kind = item[u"kind"].toString();
        if (kind == u"poster")
            drawPoster(p, image.rect(), color, lines);
        else if (kind == u"screen")
            drawScreen(p, image.rect(), color, lines);
        else if (kind == u"imdb" || kind == u"rating")
            drawBadge(p, image.rect(), color, lines);
        else
            drawMessage(p, image.rect(), color, lines, kind == u"error" ? 64 : 12);
        p.end();
        const QString path = out.filePath(item[u"path"].toString());
        QDir().mkpath(QFileInfo(path).path());
        if (!image.save(path, nullptr, 70))
            return 1;
    }
    return 0;
}
