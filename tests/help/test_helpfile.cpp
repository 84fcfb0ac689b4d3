// The help file as the build makes it, and the pieces that read it:
// chmlib, the system record, the sitemaps, the pages' encodings.
#include "damaged_help.h"
#include "htmlhelp/chmfile.h"
#include "htmlhelp/chmpages.h"
#include "htmlhelp/helptext.h"
#include "htmlhelp/sitemap.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <chm_lib.h>

namespace {

QString helpFile()
{
    return testenv::buildDir() + QStringLiteral("/Hilfe.chm");
}

QStringList sourcePages()
{
    return QDir(QStringLiteral(HELP_SOURCE_DIR)).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

int collectPath(chmFile *, chmUnitInfo *ui, void *context)
{
    static_cast<QSet<QString> *>(context)->insert(QString::fromUtf8(ui->path));
    return CHM_ENUMERATOR_CONTINUE;
}

// Every target of a contents or index entry, or of a link in a page,
// must be a page of the file, and its anchor must be defined there.
void expectTargetExists(const ChmFile &chm, const QString &from, const QString &local)
{
    const QString page = ChmFile::normalise(local);
    const QByteArray html = chm.read(page);
    ASSERT_FALSE(html.isNull()) << qPrintable(from) << " points to the missing page " << qPrintable(local);
    const qsizetype hash = local.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        const QByteArray anchor = "name=\"" + local.mid(hash + 1).toUtf8() + "\"";
        EXPECT_TRUE(html.contains(anchor)) << qPrintable(from) << " points to the missing anchor " << qPrintable(local);
    }
}

} // namespace

TEST(HelpFile, IsARealHelpFileHoldingEveryPageAndPicture)
{
    chmFile *raw = chm_open(QFile::encodeName(helpFile()).constData());
    ASSERT_NE(raw, nullptr) << "chmlib cannot open " << qPrintable(helpFile());
    QSet<QString> paths;
    chm_enumerate(raw, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectPath, &paths);
    chm_close(raw);

    ASSERT_GE(sourcePages().size(), 10);
    for (const QString &page : sourcePages())
        EXPECT_TRUE(paths.contains(QLatin1Char('/') + page)) << qPrintable(page);
    EXPECT_TRUE(paths.contains(QStringLiteral("/bilder/regeln.png")));
    EXPECT_TRUE(paths.contains(QStringLiteral("/hilfe.css")));
}

TEST(HelpFile, SystemRecordNamesTitleStartPageAndSitemaps)
{
    const auto chm = ChmFile::open(helpFile());
    ASSERT_TRUE(chm);
    EXPECT_EQ(chm->title(), QStringLiteral("Hilfe zu Murvel"));
    EXPECT_EQ(chm->defaultPage(), QStringLiteral("/start.html"));
    EXPECT_EQ(chm->contentsFile(), QStringLiteral("/Inhalt.hhc"));
    EXPECT_EQ(chm->indexFile(), QStringLiteral("/Index.hhk"));

    const QImage picture = QImage::fromData(chm->read(QStringLiteral("/bilder/regeln.png")));
    EXPECT_EQ(picture.size(), QSize(251, 201));
}

TEST(HelpFile, ContentsListEveryPageAndEveryTargetExists)
{
    const auto chm = ChmFile::open(helpFile());
    ASSERT_TRUE(chm);
    const QList<SitemapEntry> toc = sitemap::parse(helptext::decode(chm->read(chm->contentsFile())));
    ASSERT_FALSE(toc.isEmpty());
    EXPECT_EQ(toc.first().name, QStringLiteral("Willkommen bei Murvel"));

    QSet<QString> listed;
    for (const SitemapEntry &e : sitemap::flatten(toc)) {
        if (e.local.isEmpty()) {
            EXPECT_FALSE(e.name.isEmpty());
            continue;
        }
        expectTargetExists(*chm, QStringLiteral("contents: ") + e.name, e.local);
        listed.insert(ChmFile::normalise(e.local));
    }
    for (const QString &page : sourcePages())
        EXPECT_TRUE(listed.contains(QLatin1Char('/') + page)) << qPrintable(page) << " is missing from the contents";
    // The umlauts survive the compiler: the sources are UTF-8.
    QStringList names;
    for (const SitemapEntry &book : toc)
        for (const SitemapEntry &e : book.children)
            names << e.name;
    EXPECT_TRUE(names.contains(QStringLiteral("Die drei Spielfeldgrößen"))) << qPrintable(names.join(u'|'));
}

TEST(HelpFile, IndexKeywordsLeadToExistingPagesAndAnchors)
{
    const auto chm = ChmFile::open(helpFile());
    ASSERT_TRUE(chm);
    const QList<SitemapEntry> index = sitemap::flatten(sitemap::parse(helptext::decode(chm->read(chm->indexFile()))));
    ASSERT_GE(index.size(), 30);
    QSet<QString> pagesReached;
    for (const SitemapEntry &e : index) {
        EXPECT_FALSE(e.local.isEmpty()) << qPrintable(e.name);
        expectTargetExists(*chm, QStringLiteral("index: ") + e.name, e.local);
        pagesReached.insert(ChmFile::normalise(e.local));
    }
    for (const QString &page : sourcePages()) {
        if (page != QLatin1String("start.html")) {
            EXPECT_TRUE(pagesReached.contains(QLatin1Char('/') + page)) << qPrintable(page) << " has no keyword";
        }
    }
}

TEST(HelpFile, LinksAndPicturesOfEveryPageResolveInsideTheFile)
{
    const auto chm = ChmFile::open(helpFile());
    ASSERT_TRUE(chm);
    static const QRegularExpression ref(QStringLiteral("(?:href|src)=\"([^\"]+)\""));
    int links = 0;
    for (const QString &page : sourcePages()) {
        const QString html = helptext::decode(chm->read(QLatin1Char('/') + page));
        ASSERT_FALSE(html.isEmpty()) << qPrintable(page);
        EXPECT_TRUE(html.contains(QStringLiteral("charset=utf-8"))) << qPrintable(page);
        for (auto it = ref.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            ++links;
            if (target.startsWith(QLatin1Char('#')))
                continue;
            const QByteArray bytes = chm->read(ChmFile::normalise(target));
            EXPECT_FALSE(bytes.isNull()) << qPrintable(page) << " links to the missing " << qPrintable(target);
        }
    }
    EXPECT_GT(links, 40);
}

TEST(HelpFile, MissingEmptyOrDamagedFilesDoNotOpen)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto problemOf = [](const QString &path) {
        ChmFile::Problem problem = ChmFile::Problem::None;
        EXPECT_FALSE(ChmFile::open(path, &problem)) << qPrintable(path);
        return problem;
    };
    EXPECT_EQ(problemOf(dir.filePath(QStringLiteral("fehlt.chm"))), ChmFile::Problem::Missing);
    EXPECT_EQ(problemOf(QString()), ChmFile::Problem::Missing);
    EXPECT_EQ(problemOf(dir.path()), ChmFile::Problem::Missing); // a folder

    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    QFile good(helpFile());
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray whole = good.readAll();

    const QString unreadable = write(QStringLiteral("gesperrt.chm"), whole);
    QFile::setPermissions(unreadable, QFileDevice::Permissions());
    if (!QFileInfo(unreadable).isReadable()) { // root reads everything
        EXPECT_EQ(problemOf(unreadable), ChmFile::Problem::Missing);
    }

    EXPECT_EQ(problemOf(write(QStringLiteral("leer.chm"), QByteArray())), ChmFile::Problem::Damaged);
    EXPECT_EQ(problemOf(write(QStringLiteral("text.chm"), QByteArray("Das ist keine Hilfedatei.\n").repeated(200))),
              ChmFile::Problem::Damaged);
    // Cut short at several points: either refused as damaged or readable.
    for (const qsizetype cut : {qsizetype(100), whole.size() / 4, whole.size() / 2, whole.size() - 100}) {
        ChmFile::Problem problem = ChmFile::Problem::None;
        const auto chm = ChmFile::open(write(QStringLiteral("kurz.chm"), whole.left(cut)), &problem);
        if (chm)
            EXPECT_FALSE(chm->read(chm->defaultPage()).isEmpty()) << cut;
        else
            EXPECT_EQ(problem, ChmFile::Problem::Damaged) << cut;
    }
    // Header intact, the rest overwritten.
    QByteArray scrambled = whole;
    for (qsizetype i = 0x100; i < scrambled.size(); i += 7)
        scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
    EXPECT_EQ(problemOf(write(QStringLiteral("kaputt.chm"), scrambled)), ChmFile::Problem::Damaged);
}

namespace {

// The program's largest address space so far, in bytes.
qint64 peakAddressSpace()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmPeak:"))
            return line.mid(7).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

} // namespace

// A single damaged value in the compression data or the directory made
// chmlib divide by zero, write past a buffer, walk its directory for ever
// or take gigabytes, all inside the game. Each is now a file that does
// not open, for being damaged, within the reader's time limit.
TEST(DamagedHelpFile, EveryDamageIsReportedWithoutHarmToTheProgram)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const qint64 peakBefore = peakAddressSpace();
    for (const damagedhelp::Damage damage : damagedhelp::all()) {
        const QString path = dir.filePath(QString::fromLatin1(damagedhelp::nameOf(damage)) + QStringLiteral(".chm"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damagedhelp::damaged(helpFile(), damage));
        file.close();

        QElapsedTimer clock;
        clock.start();
        ChmFile::Problem problem = ChmFile::Problem::None;
        EXPECT_FALSE(ChmFile::open(path, &problem)) << damagedhelp::nameOf(damage);
        EXPECT_EQ(problem, ChmFile::Problem::Damaged) << damagedhelp::nameOf(damage);
        EXPECT_LT(clock.elapsed(), chmpages::Limits().milliseconds + 2000) << damagedhelp::nameOf(damage);
    }
    // The 3 GB that two of them ask for never came to this program.
    EXPECT_LT(peakAddressSpace() - peakBefore, 1ll << 30);
    EXPECT_TRUE(ChmFile::open(helpFile()));
}

TEST(DamagedHelpFile, ReaderLimitsHoldForAGoodFileToo)
{
    // Limits below what the good file needs: refused, not half read.
    chmpages::Limits small;
    small.pageBytes = 1000;
    EXPECT_EQ(chmpages::read(helpFile(), small).outcome, chmpages::Outcome::Damaged);
    chmpages::Limits few;
    few.pages = 5;
    EXPECT_EQ(chmpages::read(helpFile(), few).outcome, chmpages::Outcome::Damaged);
    chmpages::Limits total;
    total.totalBytes = 10000;
    EXPECT_EQ(chmpages::read(helpFile(), total).outcome, chmpages::Outcome::Damaged);

    // Within the limits: the system record first, then the directory's order.
    const chmpages::Contents all = chmpages::read(helpFile());
    ASSERT_EQ(all.outcome, chmpages::Outcome::Read);
    ASSERT_GE(all.pages.size(), 15);
    EXPECT_EQ(all.pages.first().path, QStringLiteral("/#SYSTEM"));
    QStringList paths;
    for (const chmpages::Page &page : all.pages)
        paths << page.path;
    EXPECT_TRUE(paths.contains(QStringLiteral("/bilder/regeln.png")));
    EXPECT_FALSE(paths.contains(QStringLiteral("/bilder/"))) << "folders are not pages";
    const auto chm = ChmFile::open(helpFile());
    ASSERT_TRUE(chm);
    EXPECT_EQ(chm->read(QStringLiteral("/START.HTML")), chm->read(QStringLiteral("/start.html")));
    EXPECT_TRUE(chm->contains(QStringLiteral("/Inhalt.HHC")));
    EXPECT_TRUE(chm->read(QStringLiteral("/fehlt.html")).isNull());
}

TEST(HelpText, PagesAreDecodedByTheirMetaTag)
{
    const QByteArray utf8 = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
                            "</head><body>Gr\xC3\xB6\xC3\x9F" "e</body></html>";
    EXPECT_EQ(helptext::declaredCharset(utf8), QByteArray("utf-8"));
    EXPECT_TRUE(helptext::decode(utf8).contains(QStringLiteral("Größe")));

    const QByteArray ansi = "<html><head><meta charset='windows-1252'></head><body>Gr\xF6\xDF" "e \x80</body></html>";
    EXPECT_EQ(helptext::declaredCharset(ansi), QByteArray("windows-1252"));
    EXPECT_TRUE(helptext::decode(ansi).contains(QStringLiteral("Größe €")));

    // Without a tag: valid UTF-8 is UTF-8, anything else the ANSI code page.
    EXPECT_EQ(helptext::decode("M\xC3\xBCll"), QStringLiteral("Müll"));
    EXPECT_EQ(helptext::decode("M\xFCll"), QStringLiteral("Müll"));
    EXPECT_TRUE(helptext::declaredCharset("<p>charset=utf-8 is only text here</p>").isEmpty());
}

TEST(Sitemap, ReadsNestedListsAndLooseHtml)
{
    const QString html = QStringLiteral(
        "<html><body><object type=\"text/site properties\"><param name=\"X\" value=\"y\"></object>"
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Start\">"
        "<param name=\"Local\" value=\"start.html\"></OBJECT>"
        "<LI><object TYPE='text/sitemap'><PARAM NAME=name VALUE='Buch &amp; mehr'></object>"
        "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Eins\">"
        "<param name=\"Local\" value=\"a/eins.html#x\"><param name=\"Local\" value=\"zwei.html\"></object>"
        "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Tief\"><param name=\"Local\" value=\"t.html\"></object></ul>"
        "</ul>"
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Ende\"><param name=\"Local\" value=\"ende.html\"></OBJECT>"
        "</UL></body></html>");
    const QList<SitemapEntry> tree = sitemap::parse(html);
    ASSERT_EQ(tree.size(), 3);
    EXPECT_EQ(tree[0].name, QStringLiteral("Start"));
    EXPECT_EQ(tree[0].local, QStringLiteral("start.html"));
    EXPECT_EQ(tree[1].name, QStringLiteral("Buch & mehr"));
    EXPECT_TRUE(tree[1].local.isEmpty());
    ASSERT_EQ(tree[1].children.size(), 1);
    EXPECT_EQ(tree[1].children[0].local, QStringLiteral("a/eins.html#x")); // the first Local counts
    ASSERT_EQ(tree[1].children[0].children.size(), 1);
    EXPECT_EQ(tree[2].name, QStringLiteral("Ende"));

    QStringList flat;
    for (const SitemapEntry &e : sitemap::flatten(tree))
        flat << e.name;
    EXPECT_EQ(flat, (QStringList{QStringLiteral("Start"), QStringLiteral("Buch & mehr"), QStringLiteral("Buch & mehr, Eins"),
                                 QStringLiteral("Buch & mehr, Eins, Tief"), QStringLiteral("Ende")}));

    EXPECT_TRUE(sitemap::parse(QStringLiteral("<ul></ul></ul><li><object>")).isEmpty());
    EXPECT_EQ(ChmFile::normalise(QStringLiteral("ms-its:Hilfe.chm::/a\\b.html#c")), QStringLiteral("/a/b.html"));
    EXPECT_EQ(ChmFile::normalise(QStringLiteral("#nur")), QString());
}
