// The pictures and icons the windows load from the executable's resources:
// each is there under its name, in its size and format.
#include "runtime/resources.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int le16(const QByteArray &b, int at)
{
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

// Mean red minus mean blue over the opaque pixels.
int redness(const QImage &image)
{
    long long sum = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb c = image.pixel(x, y); qAlpha(c) > 128) {
                sum += qRed(c) - qBlue(c);
                ++n;
            }
    return n ? int(sum / n) : 0;
}

TEST(Pictures, EveryWindowPictureHasItsSizeAndFormat)
{
    struct Expected { const char *name; int w, h; const char *format; bool alpha; };
    const Expected pictures[] = {
        {"zielkreuz.ico", 32, 32, "ico", true},     {"loeschen.ico", 16, 16, "ico", true},
        {"coolbar.bmp", 700, 50, "bmp", false},     {"picband.bmp", 90, 60, "bmp", false},
        {"neu.bmp", 332, 245, "bmp", false},        {"meldung.bmp", 401, 198, "bmp", false},
        {"sieg.bmp", 383, 222, "bmp", false},       {"start.jpg", 300, 160, "jpeg", false},
        {"score.jpg", 300, 382, "jpeg", false},     {"hinten.png", 701, 405, "png", false},
        {"tb_neu.png", 49, 40, "png", true},        {"tb_optionen.png", 49, 40, "png", true},
        {"tb_top10.png", 49, 40, "png", true},      {"tb_ende.png", 49, 40, "png", true},
        {"tb_hilfe.png", 49, 40, "png", true},      {"boot_mensch.png", 64, 40, "png", true},
        {"boot_computer.png", 64, 40, "png", true}, {"titel_mensch.gif", 351, 30, "gif", true},
        {"titel_computer.gif", 153, 27, "gif", true}, {"optionen_titel.gif", 276, 81, "gif", true},
        {"sound_an.png", 32, 32, "png", true},      {"sound_aus.png", 32, 32, "png", true},
        {"hilfe_an.png", 32, 32, "png", true},      {"hilfe_aus.png", 32, 32, "png", true},
        {"groesse1.png", 40, 28, "png", true},      {"groesse2.png", 40, 28, "png", true},
        {"groesse3.png", 40, 28, "png", true},
    };
    for (const Expected &e : pictures) {
        SCOPED_TRACE(e.name);
        QImageReader reader(QStringLiteral(":/pictures/") + QLatin1String(e.name));
        EXPECT_EQ(reader.format(), QByteArray(e.format));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << qPrintable(reader.errorString());
        EXPECT_EQ(image.size(), QSize(e.w, e.h));
        // Where a picture has see-through parts, its corner is one of them.
        if (e.alpha)
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        else
            EXPECT_FALSE(image.hasAlphaChannel());
    }
}

TEST(Pictures, TheNewGameFaceIs24BitAndThePointerHas16ColoursAndAimsAtItsHotSpot)
{
    const QByteArray neu = bytesOf(QStringLiteral(":/pictures/neu.bmp"));
    ASSERT_GT(neu.size(), 54);
    EXPECT_EQ(le16(neu, 28), 24);

    const QByteArray pointer = bytesOf(QStringLiteral(":/pictures/zielkreuz.ico"));
    ASSERT_GT(pointer.size(), 22);
    EXPECT_EQ(static_cast<unsigned char>(pointer[8]), 16); // colours in the entry
    EXPECT_EQ(le16(pointer, 12), 4);                      // bits per pixel
    const QImage aim(QStringLiteral(":/pictures/zielkreuz.ico"));
    // The cross hairs meet at (15, 15): the centre is drawn, and the lines
    // through it reach out equally far on all four sides.
    EXPECT_EQ(qAlpha(aim.pixel(15, 15)), 255);
    for (int d = 1; d <= 14; ++d) {
        SCOPED_TRACE(d);
        EXPECT_EQ(qAlpha(aim.pixel(15 - d, 15)), qAlpha(aim.pixel(15 + d, 15)));
        EXPECT_EQ(qAlpha(aim.pixel(15, 15 - d)), qAlpha(aim.pixel(15, 15 + d)));
        EXPECT_EQ(aim.pixel(15 - d, 15), aim.pixel(15, 15 - d));
    }
}

TEST(Pictures, TheIconsLoadByTheirIds)
{
    QImageReader program(QStringLiteral(":/ICON/1"));
    QList<int> sizes;
    for (int i = 0; i < program.imageCount(); ++i) {
        ASSERT_TRUE(program.jumpToImage(i));
        sizes << program.read().width();
    }
    EXPECT_EQ(sizes, (QList<int>{16, 32, 48, 256}));

    const QImage idle = LoadResPicture(101, vbResIcon);
    const QImage armed = LoadResPicture(102, vbResIcon);
    EXPECT_EQ(idle.size(), QSize(32, 32));
    EXPECT_EQ(armed.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(idle.pixel(0, 0)), 0);
    EXPECT_LT(std::abs(redness(idle)), 20); // grey
    EXPECT_GT(redness(armed), 80);           // red
}

} // namespace
