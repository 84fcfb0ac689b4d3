// A sitemap (contents or index) from outside: every entry has a name or a
// page, and the flat index holds each entry of the tree once, in order,
// its name ending in the entry's own.
#include "fuzz_check.h"

#include "htmlhelp/helptext.h"
#include "htmlhelp/sitemap.h"

namespace {

void preorder(const QList<SitemapEntry> &tree, QList<const SitemapEntry *> &out)
{
    for (const SitemapEntry &e : tree) {
        FUZZ_CHECK(!e.name.isEmpty() || !e.local.isEmpty());
        out.append(&e);
        preorder(e.children, out);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QByteArray charset = helptext::declaredCharset(bytes);
    FUZZ_CHECK(charset == charset.toLower());
    const QList<SitemapEntry> tree = sitemap::parse(helptext::decode(bytes));
    QList<const SitemapEntry *> entries;
    preorder(tree, entries);
    const QList<SitemapEntry> flat = sitemap::flatten(tree);
    FUZZ_CHECK(flat.size() == entries.size());
    for (qsizetype i = 0; i < flat.size(); ++i) {
        FUZZ_CHECK(flat[i].local == entries[i]->local);
        FUZZ_CHECK(flat[i].name.endsWith(entries[i]->name));
        FUZZ_CHECK(flat[i].children.isEmpty());
    }
    return 0;
}
