// The help file as the build makes it, and the pieces that read it:
// chmlib, the system record, the sitemaps, the pages' encodings.
#include "htmlhelp/chmfile.h"
#include "htmlhelp/helptext.h"
#include "htmlhelp/sitemap.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <QDir>
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
    EXPECT_FALSE(ChmFile::open(dir.filePath(QStringLiteral("fehlt.chm"))));
    EXPECT_FALSE(ChmFile::open(QString()));
    EXPECT_FALSE(ChmFile::open(dir.path())); // a folder

    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    QFile good(helpFile());
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray whole = good.readAll();

    EXPECT_FALSE(ChmFile::open(write(QStringLiteral("leer.chm"), QByteArray())));
    EXPECT_FALSE(ChmFile::open(write(QStringLiteral("text.chm"), QByteArray("Das ist keine Hilfedatei.\n").repeated(200))));
    // Cut short at several points: either refused or readable, never a crash.
    for (const qsizetype cut : {qsizetype(100), whole.size() / 4, whole.size() / 2, whole.size() - 100}) {
        const auto chm = ChmFile::open(write(QStringLiteral("kurz.chm"), whole.left(cut)));
        if (chm) {
            EXPECT_FALSE(chm->read(chm->defaultPage()).isEmpty()) << cut;
        }
    }
    // Header intact, the rest overwritten.
    QByteArray scrambled = whole;
    for (qsizetype i = 0x100; i < scrambled.size(); i += 7)
        scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
    const auto chm = ChmFile::open(write(QStringLiteral("kaputt.chm"), scrambled));
    if (chm)
        (void)chm->read(chm->contentsFile());
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
