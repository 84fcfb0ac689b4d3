// Turns the window pictures, rendered from resources/art/*.svg to PNG by
// make_pictures.sh, into the files the program carries: 24-bit BMP, JPEG,
// PNG with alpha, transparent GIF and ICO. Every writer is byte for byte
// repeatable (no time stamps, a fixed colour choice), so a second run gives
// the same files.
//   make_pictures bmp <in.png> <out.bmp>
//   make_pictures jpeg <in.png> <out.jpg>
//   make_pictures png <in.png> <out.png>        with alpha where it has any
//   make_pictures gif <in.png> <out.gif> <backdrop> <x> <y> <w> <h>
//       the picture lies over rectangle (x, y, w, h) of the backdrop, scaled
//       to it; its soft edges are blended into that part of the backdrop so
//       that the one-colour transparency of GIF leaves no fringe
//   make_pictures ico <in.png>... <out.ico>      32-bit images, one per input
//   make_pictures ico16 <in.png> <out.ico>       one 16-colour image
//   make_pictures sheet <out.png> <picture>...   all pictures on one page
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

[[noreturn]] void fail(const QString &text)
{
    std::fprintf(stderr, "make_pictures: %s\n", qPrintable(text));
    std::exit(1);
}

QImage load(const QString &path)
{
    QImage image(path);
    if (image.isNull())
        fail(QStringLiteral("cannot read %1").arg(path));
    return image.convertToFormat(QImage::Format_ARGB32);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail(QStringLiteral("cannot write %1").arg(path));
}

void save(const QImage &image, const QString &path, const char *format, int quality = -1)
{
    QImageWriter writer(path, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
}

void put16(QByteArray &out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

void put32(QByteArray &out, quint32 v)
{
    put16(out, int(v & 0xffff));
    put16(out, int(v >> 16));
}

// ---- GIF -----------------------------------------------------------------

// Up to 255 colours by popularity over a 5-bit-per-channel histogram; each
// bin stands for the mean of the pixels in it. Pictures with text and a few
// gradients need no more, and the choice never varies between runs.
std::vector<QRgb> choosePalette(const QImage &image, int count)
{
    struct Bin { quint64 n = 0, r = 0, g = 0, b = 0; };
    std::map<int, Bin> bins;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            Bin &bin = bins[(qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | (qBlue(c) >> 3)];
            ++bin.n;
            bin.r += qRed(c);
            bin.g += qGreen(c);
            bin.b += qBlue(c);
        }
    std::vector<std::pair<int, Bin>> sorted(bins.begin(), bins.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) { return a.second.n > b.second.n; });
    std::vector<QRgb> palette;
    for (const auto &[key, bin] : sorted) {
        if (int(palette.size()) == count)
            break;
        palette.push_back(qRgb(int(bin.r / bin.n), int(bin.g / bin.n), int(bin.b / bin.n)));
    }
    return palette;
}

int nearest(const std::vector<QRgb> &palette, QRgb c)
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < int(palette.size()); ++i) {
        const int dr = qRed(c) - qRed(palette[i]), dg = qGreen(c) - qGreen(palette[i]), db = qBlue(c) - qBlue(palette[i]);
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// Variable-length LZW as GIF wants it: 8-bit symbols, codes of 9 to 12 bits,
// packed from the low bit, a clear code whenever the table is full.
QByteArray lzw(const std::vector<quint8> &symbols)
{
    const int clear = 256, end = 257;
    QByteArray packed;
    quint32 bits = 0;
    int bitCount = 0;
    int width = 9;
    auto putCode = [&](int code) {
        bits |= quint32(code) << bitCount;
        bitCount += width;
        while (bitCount >= 8) {
            packed.append(char(bits & 0xff));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    std::map<std::pair<int, int>, int> table;
    int next = 258;
    putCode(clear);
    int prefix = -1;
    for (quint8 s : symbols) {
        if (prefix < 0) {
            prefix = s;
            continue;
        }
        const auto found = table.find({prefix, s});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        putCode(prefix);
        if (next == 4096) {
            putCode(clear);
            table.clear();
            next = 258;
            width = 9;
        } else {
            table[{prefix, s}] = next++;
            if (next > (1 << width) && width < 12)
                ++width;
        }
        prefix = s;
    }
    if (prefix >= 0)
        putCode(prefix);
    // The reader adds one more entry on the last code and may widen the
    // codes before it reads the end code.
    if (next == (1 << width) && width < 12)
        ++width;
    putCode(end);
    if (bitCount > 0)
        packed.append(char(bits & 0xff));
    return packed;
}

void writeGif(const QImage &picture, const QImage &backdrop, const QRect &place, const QString &path)
{
    // The backdrop's part under the picture, at the picture's own size.
    QImage under = backdrop.copy(place).scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_ARGB32);
    QImage blended = under;
    {
        QPainter p(&blended);
        p.drawImage(0, 0, picture);
    }
    // Pixels the picture barely touches stay transparent; the rest keep
    // their blend with the backdrop.
    for (int y = 0; y < blended.height(); ++y)
        for (int x = 0; x < blended.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) < 40)
                blended.setPixel(x, y, 0);
    const std::vector<QRgb> palette = choosePalette(blended, 255);
    const int transparent = int(palette.size());
    std::vector<quint8> indices;
    indices.reserve(size_t(blended.width()) * blended.height());
    for (int y = 0; y < blended.height(); ++y)
        for (int x = 0; x < blended.width(); ++x) {
            const QRgb c = blended.pixel(x, y);
            indices.push_back(quint8(qAlpha(c) == 0 ? transparent : nearest(palette, c)));
        }

    QByteArray out("GIF89a");
    put16(out, blended.width());
    put16(out, blended.height());
    out.append(char(0xf7)); // global table of 256 entries
    out.append(char(transparent));
    out.append(char(0));
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < int(palette.size()) ? palette[size_t(i)] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append("\x21\xf9\x04\x01\x00\x00", 6); // graphic control: transparency on
    out.append(char(transparent));
    out.append(char(0));
    out.append(char(0x2c));
    put16(out, 0);
    put16(out, 0);
    put16(out, blended.width());
    put16(out, blended.height());
    out.append(char(0));
    out.append(char(8)); // minimum code size
    const QByteArray data = lzw(indices);
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - at);
        out.append(char(n));
        out.append(data.mid(at, n));
    }
    out.append(char(0));
    out.append(char(0x3b));
    writeFile(path, out);
}

// ---- ICO -----------------------------------------------------------------

// One icon image as a bottom-up DIB with its AND mask (1 = transparent).
QByteArray dib(const QImage &image, int bitsPerPixel, const std::vector<QRgb> &palette)
{
    const int w = image.width(), h = image.height();
    const int rowBytes = ((w * bitsPerPixel + 31) / 32) * 4;
    const int maskBytes = ((w + 31) / 32) * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, quint32(w));
    put32(out, quint32(h * 2));
    put16(out, 1);
    put16(out, bitsPerPixel);
    put32(out, 0);
    put32(out, quint32((rowBytes + maskBytes) * h));
    put32(out, 0);
    put32(out, 0);
    put32(out, quint32(palette.size()));
    put32(out, 0);
    for (QRgb c : palette) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append(char(0));
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y);
            if (bitsPerPixel == 32) {
                row[x * 4] = char(qBlue(c));
                row[x * 4 + 1] = char(qGreen(c));
                row[x * 4 + 2] = char(qRed(c));
                row[x * 4 + 3] = char(qAlpha(c));
            } else if (qAlpha(c) >= 128) {
                const int index = nearest(palette, c);
                row[x / 2] = char(row[x / 2] | (x % 2 ? index : index << 4));
            }
        }
        out.append(row);
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskBytes, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return out;
}

void writeIco(const std::vector<QImage> &images, int bitsPerPixel, const QString &path)
{
    // The sixteen colours of the classic display palette.
    static const std::vector<QRgb> classic = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    const std::vector<QRgb> palette = bitsPerPixel == 4 ? classic : std::vector<QRgb>{};
    std::vector<QByteArray> bodies;
    for (const QImage &image : images)
        bodies.push_back(dib(image, bitsPerPixel, palette));
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, int(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.append(char(images[i].width() & 0xff)); // 256 is written as 0
        out.append(char(images[i].height() & 0xff));
        out.append(char(bitsPerPixel == 4 ? 16 : 0));
        out.append(char(0));
        put16(out, 1);
        put16(out, bitsPerPixel);
        put32(out, quint32(bodies[i].size()));
        put32(out, offset);
        offset += quint32(bodies[i].size());
    }
    for (const QByteArray &body : bodies)
        out.append(body);
    writeFile(path, out);
}

// ---- contact sheet ---------------------------------------------------------

std::vector<QImage> readAll(const QString &path)
{
    std::vector<QImage> images;
    QImageReader reader(path);
    do {
        QImage image = reader.read();
        if (image.isNull())
            break;
        images.push_back(image);
    } while (reader.jumpToNextImage());
    if (images.empty())
        fail(QStringLiteral("cannot read %1").arg(path));
    return images;
}

// Every picture at its real size on a checkered ground (so transparency
// shows), named with its size, in rows no wider than the page.
void writeSheet(const QString &path, const QStringList &pictures)
{
    struct Tile { QString name; std::vector<QImage> images; QSize size; };
    std::vector<Tile> tiles;
    for (const QString &picture : pictures) {
        Tile tile{QFileInfo(picture).fileName(), readAll(picture), {}};
        int w = 0, h = 0;
        for (const QImage &image : tile.images) {
            w += image.width() + 4;
            h = std::max(h, image.height());
        }
        tile.size = QSize(std::max(w - 4, 150), h + 18);
        tiles.push_back(tile);
    }
    const int pageWidth = 1440, gap = 12;
    std::vector<QPoint> places;
    int x = gap, y = gap, rowHeight = 0;
    for (const Tile &tile : tiles) {
        if (x + tile.size.width() > pageWidth - gap) {
            x = gap;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        x += tile.size.width() + gap;
        rowHeight = std::max(rowHeight, tile.size.height());
    }
    QImage sheet(pageWidth, y + rowHeight + gap, QImage::Format_RGB32);
    sheet.fill(QColor(236, 238, 242));
    QPainter p(&sheet);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    p.setFont(font);
    for (size_t i = 0; i < tiles.size(); ++i) {
        int left = places[i].x();
        const int top = places[i].y();
        QString label = tiles[i].name;
        for (const QImage &image : tiles[i].images) {
            const QRect area(left, top, image.width(), image.height());
            for (int cy = 0; cy < area.height(); cy += 8)
                for (int cx = 0; cx < area.width(); cx += 8)
                    p.fillRect(QRect(area.x() + cx, area.y() + cy, 8, 8).intersected(area),
                               (cx / 8 + cy / 8) % 2 ? QColor(200, 200, 204) : QColor(250, 250, 252));
            p.drawImage(area.topLeft(), image);
            left += image.width() + 4;
            label += QStringLiteral(" %1x%2").arg(image.width()).arg(image.height());
        }
        p.setPen(Qt::black);
        p.drawText(QPoint(places[i].x(), top + tiles[i].size.height() - 4), label);
    }
    p.end();
    save(sheet, path, "PNG");
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == "bmp" && args.size() == 3) {
        save(load(args[1]).convertToFormat(QImage::Format_RGB32), args[2], "BMP");
    } else if (mode == "jpeg" && args.size() == 3) {
        save(load(args[1]).convertToFormat(QImage::Format_RGB32), args[2], "JPEG", 92);
    } else if (mode == "png" && args.size() == 3) {
        // A picture without see-through parts is stored without alpha.
        const QImage image = load(args[1]);
        const bool opaque = image.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32) == image;
        save(opaque ? image.convertToFormat(QImage::Format_RGB32) : image, args[2], "PNG");
    } else if (mode == "gif" && args.size() == 8) {
        writeGif(load(args[1]), load(args[3]),
                 QRect(args[4].toInt(), args[5].toInt(), args[6].toInt(), args[7].toInt()), args[2]);
    } else if (mode == "ico" && args.size() >= 3) {
        std::vector<QImage> images;
        for (const QString &in : args.mid(1, args.size() - 2))
            images.push_back(load(in));
        writeIco(images, 32, args.last());
    } else if (mode == "ico16" && args.size() == 3) {
        writeIco({load(args[1])}, 4, args[2]);
    } else if (mode == "sheet" && args.size() >= 3) {
        writeSheet(args[1], args.mid(2));
    } else {
        fail(QStringLiteral("unknown command; see the head of make_pictures.cpp"));
    }
    return 0;
}
