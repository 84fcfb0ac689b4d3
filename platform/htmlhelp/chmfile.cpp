#include "htmlhelp/chmfile.h"

#include "htmlhelp/helptext.h"
#include "htmlhelp/sitemap.h"

#include <QFileInfo>

namespace {

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

std::unique_ptr<ChmFile> ChmFile::open(const QString &path, Problem *problem)
{
    auto fail = [problem](Problem why) {
        if (problem)
            *problem = why;
        return nullptr;
    };
    chmpages::Contents contents = chmpages::read(path);
    if (contents.outcome == chmpages::Outcome::Missing)
        return fail(Problem::Missing);
    if (contents.outcome != chmpages::Outcome::Read)
        return fail(Problem::Damaged);
    const QFileInfo info(path);
    std::unique_ptr<ChmFile> file(new ChmFile(std::move(contents.pages), info.absoluteFilePath()));
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

    // A file without a first page is of no use to anybody.
    if (file->m_defaultPage.isEmpty())
        return fail(Problem::Damaged);
    if (problem)
        *problem = Problem::None;
    return file;
}

ChmFile::ChmFile(QList<chmpages::Page> pages, const QString &path)
    : m_pages(std::move(pages)), m_path(path)
{
    // The first of two entries of the same name wins, as a directory
    // search would find it.
    for (qsizetype i = 0; i < m_pages.size(); ++i) {
        const QString key = m_pages[i].path.toLower();
        if (!m_byPath.contains(key))
            m_byPath.insert(key, i);
    }
}

ChmFile::~ChmFile() = default;

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
    return !path.isEmpty() && m_byPath.contains(path.toLower());
}

QByteArray ChmFile::read(const QString &path) const
{
    const auto it = m_byPath.constFind(path.toLower());
    if (path.isEmpty() || it == m_byPath.constEnd())
        return QByteArray();
    const QByteArray &data = m_pages[*it].data;
    // An empty page is there all the same: empty, not null.
    return data.isNull() ? QByteArray("") : data;
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

QString ChmFile::findByExtension(const char *extension) const
{
    const QByteArray wanted(extension);
    for (const chmpages::Page &page : m_pages) {
        if (page.path.toLower().endsWith(QLatin1String(wanted)))
            return page.path;
    }
    return QString();
}
