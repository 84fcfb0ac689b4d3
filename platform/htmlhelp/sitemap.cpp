#include "htmlhelp/sitemap.h"

#include <QRegularExpression>

namespace sitemap {

namespace {

QString attribute(const QString &tag, const QString &name)
{
    const QRegularExpression re(QStringLiteral("\\b%1\\s*=\\s*(\"([^\"]*)\"|'([^']*)'|([^\\s>]+))").arg(name),
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(tag);
    if (!m.hasMatch())
        return QString();
    for (int i = 2; i <= 4; ++i)
        if (m.capturedStart(i) >= 0)
            return m.captured(i);
    return QString();
}

QString unescape(QString text)
{
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&#39;"), QLatin1String("'"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

void flattenInto(const QList<SitemapEntry> &entries, const QString &prefix, QList<SitemapEntry> &out)
{
    for (const SitemapEntry &e : entries) {
        SitemapEntry flat{prefix.isEmpty() ? e.name : prefix + QStringLiteral(", ") + e.name, e.local, {}};
        out.append(flat);
        flattenInto(e.children, flat.name, out);
    }
}

} // namespace

QList<SitemapEntry> parse(const QString &html)
{
    // One pass over the tags: <UL> opens a level below the last entry,
    // </UL> closes it, an OBJECT of type text/sitemap is an entry whose
    // Name and first Local come from its PARAM tags.
    static const QRegularExpression tagRe(QStringLiteral("<\\s*(/?)\\s*(ul|object|param)\\b([^>]*)>"),
                                          QRegularExpression::CaseInsensitiveOption);
    QList<SitemapEntry> root;
    // The path of child indexes from the root to the list being filled,
    // and for each open <UL> whether it added a step to that path.
    QList<qsizetype> path;
    QList<bool> lists;
    bool inEntry = false;
    SitemapEntry current;

    auto listAt = [&root](const QList<qsizetype> &p) -> QList<SitemapEntry> & {
        QList<SitemapEntry> *list = &root;
        for (qsizetype i : p)
            list = &(*list)[i].children;
        return *list;
    };

    for (auto it = tagRe.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool closing = !m.captured(1).isEmpty();
        const QString tag = m.captured(2).toLower();
        const QString attrs = m.captured(3);
        if (tag == QLatin1String("ul")) {
            if (!closing) {
                // The outermost list is the root; a nested one holds the
                // children of the entry just before it, or, with no entry
                // before it, adds its entries where it stands.
                const bool nests = !lists.isEmpty() && !listAt(path).isEmpty();
                if (nests)
                    path.append(listAt(path).size() - 1);
                lists.append(nests);
            } else if (!lists.isEmpty()) {
                if (lists.takeLast())
                    path.removeLast();
            }
        } else if (tag == QLatin1String("object")) {
            if (!closing) {
                inEntry = attribute(attrs, QStringLiteral("type")).compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0;
                current = SitemapEntry();
            } else if (inEntry) {
                inEntry = false;
                if (!current.name.isEmpty() || !current.local.isEmpty())
                    listAt(path).append(current);
            }
        } else if (tag == QLatin1String("param") && inEntry) {
            const QString name = attribute(attrs, QStringLiteral("name"));
            const QString value = unescape(attribute(attrs, QStringLiteral("value")));
            if (name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0 && current.name.isEmpty())
                current.name = value;
            else if (name.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0 && current.local.isEmpty())
                current.local = value;
        }
    }
    return root;
}

QList<SitemapEntry> flatten(const QList<SitemapEntry> &tree)
{
    QList<SitemapEntry> out;
    flattenInto(tree, QString(), out);
    return out;
}

} // namespace sitemap
