#pragma once
// The player's files as the program reads and writes them. A reader takes
// plain files only, opened without blocking and read within a size limit,
// so that a named pipe, a device or a huge file can neither hang nor swamp
// the program. A writer replaces a file whole: the complete new file is
// written beside it, flushed to disk and renamed over the old one, so that
// a crash leaves either the old file or the new one. Where two copies of
// the program may write one file, they take its lock first.
#include <QByteArray>
#include <QString>

namespace plainfile {

struct ReadResult {
    enum Status {
        Read,       // bytes holds the file (its first limit bytes when cut)
        Missing,    // there is no file
        Unreadable, // something is there that cannot be read: why says what
        TooLarge,   // larger than the limit, and the caller wants all or nothing
    };
    Status status = Missing;
    QByteArray bytes;
    QString why;
    bool cut = false; // the file held more than the limit
};

enum class BeyondLimit {
    Cut,    // the first limit bytes are read, and cut is set
    Refuse, // nothing is read: TooLarge
};

ReadResult read(const QString &path, qint64 limit, BeyondLimit beyond);

// Replaces the file at path (a link's target, where it is a link) with
// bytes, followed by what the old file held from keepTailFrom on (nothing
// when keepTailFrom is negative or the old file is shorter). The new file
// has the old one's permissions. Only a plain file the caller may write is
// replaced; on failure the old file stays as it was and why says what
// failed. The temporary file beside it has a fixed name, so a copy that was
// left by a crash is removed by the next write; two processes that write
// one file must therefore hold its Lock.
enum class Replaced {
    Yes,
    NotAllowed,  // nothing was written: the file or its folder may not be written, or is no plain file
    WriteFailed, // writing failed (a full disk, a size limit)
};
Replaced replace(const QString &path, const QByteArray &bytes, QString *why, qint64 keepTailFrom = -1);

// A lock between processes on one file, held through "<path>.lock" (which
// stays). It ends with the process that holds it, so a crash leaves no
// stale lock; it is released when the Lock object goes.
class Lock {
public:
    explicit Lock(const QString &path);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

    // Waits up to timeoutMs for the lock; on failure why says what failed.
    bool acquire(int timeoutMs, QString *why);

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace plainfile
