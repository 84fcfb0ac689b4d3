// Draws the five cell pictures: 101 water, 102 boat segment, 103 miss,
// 104 hit, 105 sunk, in their stored sizes and colour depths. The game shows
// them scaled down to 24, 18 and 15 pixels, so each keeps to a few large
// shapes with strong contrast that still read at the smallest size.
//   make_bitmaps <output folder>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

const QColor kWasser(28, 96, 176);
const QColor kWelle(96, 164, 228);
const QColor kStahl(128, 134, 142);
const QColor kStahlHell(188, 194, 202);
const QColor kStahlDunkel(64, 68, 76);

QImage leer(int w, int h, const QColor &grund)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(grund);
    return image;
}

// Two soft wave crests across the cell.
void zeichneWellen(QPainter &p, int w, int h)
{
    QPen pen(kWelle, h / 12.0, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    for (double y0 : {h * 0.30, h * 0.72}) {
        QPainterPath path;
        path.moveTo(0, y0);
        for (double x = 0; x <= w; x += 0.5)
            path.lineTo(x, y0 + std::sin(x / w * 2 * M_PI) * h * 0.06);
        p.drawPath(path);
    }
}

// A riveted steel plate with a bevel and a round hatch in the middle.
void zeichnePlatte(QPainter &p, int w, int h)
{
    const double b = w / 11.0;
    p.fillRect(QRectF(0, 0, w, h), kStahl);
    p.setPen(Qt::NoPen);
    p.setBrush(kStahlHell);
    p.drawPolygon(QPolygonF({{0, 0}, {double(w), 0}, {w - b, b}, {b, b}, {b, h - b}, {0, double(h)}}));
    p.setBrush(kStahlDunkel);
    p.drawPolygon(QPolygonF({{double(w), double(h)}, {0, double(h)}, {b, h - b}, {w - b, h - b}, {w - b, b}, {double(w), 0}}));
    p.setBrush(kStahlDunkel);
    p.setPen(QPen(QColor(40, 42, 48), w / 20.0));
    p.drawEllipse(QPointF(w / 2.0, h / 2.0), w * 0.2, h * 0.2);
}

QImage wasser()
{
    QImage image = leer(25, 25, kWasser);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    zeichneWellen(p, 25, 25);
    return image;
}

QImage boot()
{
    QImage image = leer(34, 33, kStahl);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    zeichnePlatte(p, 34, 33);
    return image;
}

QImage fehlschuss()
{
    QImage image = wasser();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A white splash ring around a white drop.
    p.setPen(QPen(Qt::white, 3.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12.5, 12.5), 7.5, 7.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12.5, 12.5), 2.6, 2.6);
    return image;
}

QImage treffer()
{
    QImage image = boot();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A burst of fire over the plate: a red star with a yellow core.
    const QPointF mitte(17, 16.5);
    auto stern = [&](double aussen, double innen) {
        QPolygonF poly;
        for (int i = 0; i < 16; ++i) {
            const double r = i % 2 ? innen : aussen;
            const double a = i * M_PI / 8 - M_PI / 2;
            poly << mitte + QPointF(std::cos(a) * r, std::sin(a) * r);
        }
        return poly;
    };
    p.setPen(QPen(QColor(120, 0, 0), 1.2));
    p.setBrush(QColor(235, 35, 20));
    p.drawPolygon(stern(17.5, 10.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 40));
    p.drawPolygon(stern(10.5, 6));
    return image;
}

QImage versenkt()
{
    QImage image = leer(25, 25, QColor(16, 24, 52));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A charred plate under dark water, struck through in red.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(52, 50, 50));
    p.drawRect(QRectF(3, 3, 19, 19));
    p.setPen(QPen(QColor(235, 30, 30), 4.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(20, 20));
    p.drawLine(QPointF(20, 5), QPointF(5, 20));
    return image;
}

bool speichere(const QImage &image, bool indiziert, const QString &pfad)
{
    const QImage out = indiziert ? image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither) : image;
    if (!out.save(pfad, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(pfad));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bitmaps <output folder>\n");
        return 2;
    }
    const QDir ziel(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    ok &= speichere(wasser(), true, ziel.filePath("101.bmp"));
    ok &= speichere(boot(), false, ziel.filePath("102.bmp"));
    ok &= speichere(fehlschuss(), true, ziel.filePath("103.bmp"));
    ok &= speichere(treffer(), false, ziel.filePath("104.bmp"));
    ok &= speichere(versenkt(), false, ziel.filePath("105.bmp"));
    return ok ? 0 : 1;
}
