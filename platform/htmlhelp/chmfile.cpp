#include "htmlhelp/chmfile.h"

#include "htmlhelp/helptext.h"
#include "htmlhelp/sitemap.h"

#include <QFile>
#include <QFileInfo>

#include <chm_lib.h>

namespace {

// No object of a help file is anywhere near this; a larger length is damage.
constexpr quint64 MaxObjectSize = 64ull * 1024 * 1024;

// Codes of the entries in the file's "/#SYSTEM" record.
enum SystemCode : quint16 {
    ContentsFileCode = 0,
    IndexFileCode = 1,
    DefaultTopicCode = 2,
    TitleCode = 3,
};

quint16 le16(const QByteArray &b, qsizetype at)
{
    return static_cast<quint16>(static_cast<quint8>(b[at]) | (static_cast<quint8>(b[at + 1]) << 8));
}

QString textOf(QByteArray value)
{
    const qsizetype nul = value.indexOf('\0');
    if (nul >= 0)
        value.truncate(nul);
    return helptext::decode(value).trimmed();
}

} // namespace

std::unique_ptr<ChmFile> ChmFile::open(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable())
        return nullptr;
    chmFile *handle = chm_open(QFile::encodeName(info.absoluteFilePath()).constData());
    if (!handle)
        return nullptr;
    std::unique_ptr<ChmFile> file(new ChmFile(handle, info.absoluteFilePath()));
    file->readSystemRecord();

    if (file->m_contentsFile.isEmpty() || !file->contains(file->m_contentsFile))
        file->m_contentsFile = file->findByExtension(".hhc");
    if (file->m_indexFile.isEmpty() || !file->contains(file->m_indexFile))
        file->m_indexFile = file->findByExtension(".hhk");
    if (file->m_defaultPage.isEmpty() || !file->contains(file->m_defaultPage)) {
        // No usable default: the first page of the contents, or a customary name.
        file->m_defaultPage.clear();
        const QList<SitemapEntry> toc = sitemap::flatten(sitemap::parse(helptext::decode(file->read(file->m_contentsFile))));
        for (const SitemapEntry &e : toc) {
            if (!e.local.isEmpty() && file->contains(normalise(e.local))) {
                file->m_defaultPage = normalise(e.local);
                break;
            }
        }
        for (const char *name : {"/index.html", "/index.htm", "/default.html", "/default.htm"}) {
            if (file->m_defaultPage.isEmpty() && file->contains(QString::fromLatin1(name)))
                file->m_defaultPage = QString::fromLatin1(name);
        }
    }
    if (file->m_title.isEmpty())
        file->m_title = info.completeBaseName();

    // A file whose first page cannot be read is of no use to anybody.
    if (file->m_defaultPage.isEmpty() || file->read(file->m_defaultPage).isNull())
        return nullptr;
    return file;
}

ChmFile::ChmFile(chmFile *handle, const QString &path)
    : m_handle(handle), m_path(path)
{
}

ChmFile::~ChmFile()
{
    chm_close(m_handle);
}

QString ChmFile::normalise(const QString &local)
{
    QString p = local.trimmed();
    const qsizetype sep = p.indexOf(QLatin1String("::"));
    if (sep >= 0)
        p = p.mid(sep + 2);
    const qsizetype hash = p.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        p.truncate(hash);
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.isEmpty())
        return p;
    if (!p.startsWith(QLatin1Char('/')))
        p.prepend(QLatin1Char('/'));
    return p;
}

bool ChmFile::contains(const QString &path) const
{
    if (path.isEmpty())
        return false;
    chmUnitInfo ui;
    return chm_resolve_object(m_handle, path.toUtf8().constData(), &ui) == CHM_RESOLVE_SUCCESS;
}

QByteArray ChmFile::read(const QString &path) const
{
    if (path.isEmpty())
        return QByteArray();
    chmUnitInfo ui;
    if (chm_resolve_object(m_handle, path.toUtf8().constData(), &ui) != CHM_RESOLVE_SUCCESS)
        return QByteArray();
    if (ui.length > MaxObjectSize)
        return QByteArray();
    QByteArray data(static_cast<qsizetype>(ui.length), '\0');
    if (ui.length == 0)
        return QByteArray("");
    const LONGINT64 got = chm_retrieve_object(m_handle, &ui, reinterpret_cast<unsigned char *>(data.data()), 0,
                                              static_cast<LONGINT64>(ui.length));
    if (got != static_cast<LONGINT64>(ui.length))
        return QByteArray();
    return data;
}

void ChmFile::readSystemRecord()
{
    // A 4-byte version, then entries of a 16-bit code, a 16-bit length and
    // that many bytes of data, all little-endian.
    const QByteArray sys = read(QStringLiteral("/#SYSTEM"));
    for (qsizetype at = 4; at + 4 <= sys.size();) {
        const quint16 code = le16(sys, at);
        const quint16 length = le16(sys, at + 2);
        if (at + 4 + length > sys.size())
            break;
        const QByteArray value = sys.mid(at + 4, length);
        switch (code) {
        case ContentsFileCode: m_contentsFile = normalise(textOf(value)); break;
        case IndexFileCode: m_indexFile = normalise(textOf(value)); break;
        case DefaultTopicCode: m_defaultPage = normalise(textOf(value)); break;
        case TitleCode: m_title = textOf(value); break;
        default: break;
        }
        at += 4 + length;
    }
}

namespace {

struct ExtensionSearch {
    QByteArray extension;
    QString found;
};

int matchExtension(chmFile *, chmUnitInfo *ui, void *context)
{
    auto *search = static_cast<ExtensionSearch *>(context);
    const QByteArray p(ui->path);
    if (p.toLower().endsWith(search->extension)) {
        search->found = QString::fromUtf8(p);
        return CHM_ENUMERATOR_SUCCESS;
    }
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

QString ChmFile::findByExtension(const char *extension) const
{
    ExtensionSearch search{QByteArray(extension), QString()};
    chm_enumerate(m_handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, matchExtension, &search);
    return search.found;
}
