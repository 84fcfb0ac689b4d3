// A help file from outside: it opens or is refused; one that opens has a
// title and a first page that can be read, and what its sitemaps name
// reads as a page or as nothing.
#include "fuzz_check.h"

#include "htmlhelp/chmfile.h"
#include "htmlhelp/helptext.h"
#include "htmlhelp/sitemap.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Hilfe.chm"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) == static_cast<qint64>(size));
    }
    const std::unique_ptr<ChmFile> chm = ChmFile::open(path);
    if (!chm)
        return 0;
    FUZZ_CHECK(!chm->title().isEmpty());
    FUZZ_CHECK(chm->defaultPage().startsWith(u'/'));
    FUZZ_CHECK(chm->contains(chm->defaultPage()));
    FUZZ_CHECK(!chm->read(chm->defaultPage()).isNull());
    int pages = 0;
    for (const QString &map : {chm->contentsFile(), chm->indexFile()}) {
        const QByteArray bytes = chm->read(map);
        if (bytes.isNull())
            continue;
        for (const SitemapEntry &entry : sitemap::flatten(sitemap::parse(helptext::decode(bytes)))) {
            if (++pages > 50)
                break;
            const QString page = ChmFile::normalise(entry.local);
            FUZZ_CHECK(page.isEmpty() || page.startsWith(u'/'));
            if (!chm->read(page).isNull())
                FUZZ_CHECK(chm->contains(page));
        }
    }
    return 0;
}
