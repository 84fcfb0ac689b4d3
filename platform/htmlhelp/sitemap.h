#pragma once
// The sitemap files of a help file: the table of contents (.hhc) and the
// index (.hhk), HTML lists of <OBJECT type="text/sitemap"> entries.
#include <QList>
#include <QString>

struct SitemapEntry {
    QString name;  // the text shown
    QString local; // the page inside the help file, as written ("" for a book without page)
    QList<SitemapEntry> children;
};

namespace sitemap {

// The entries of a sitemap as a tree (nested lists become children).
// Tolerant of the loose HTML these files are written in.
QList<SitemapEntry> parse(const QString &html);

// An index as one flat list: a sub-keyword reads "keyword, sub-keyword".
QList<SitemapEntry> flatten(const QList<SitemapEntry> &tree);

} // namespace sitemap
