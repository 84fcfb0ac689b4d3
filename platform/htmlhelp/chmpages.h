#pragma once
// Every page of a compiled help file, read with chmlib in a process of its
// own (murvel-chmpages). chmlib trusts the file's own lengths, offsets and
// links: a damaged file can make it divide by zero, write past its buffers,
// walk a directory in a circle or ask for gigabytes. The reader takes all
// of that, under a time and a memory limit, and the caller gets the pages
// or the word "damaged".
#include <QByteArray>
#include <QList>
#include <QString>

namespace chmpages {

struct Page {
    QString path; // as the file's directory names it, beginning with "/"
    QByteArray data;
};

enum class Outcome { Read, Missing, Damaged };

struct Contents {
    Outcome outcome = Outcome::Damaged;
    // In the order of the file's directory; empty unless Read.
    QList<Page> pages;
};

// The limits the reader runs under; a good help file is far below each.
struct Limits {
    int milliseconds = 3000;
    qint64 pageBytes = 64ll * 1024 * 1024;
    qint64 totalBytes = 256ll * 1024 * 1024;
    int pages = 65536;
    // The reader's whole address space.
    qint64 memory = 1024ll * 1024 * 1024;
};

// Missing when the file does not exist or cannot be read (or the reader
// cannot be started); Damaged when it is not a help file, or any page of
// it cannot be read whole within the limits; otherwise Read, with its
// normal pages and its system record.
Contents read(const QString &file, const Limits &limits = Limits());

} // namespace chmpages
