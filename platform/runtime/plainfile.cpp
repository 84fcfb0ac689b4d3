#include "runtime/plainfile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace plainfile {

namespace {

QString errnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString failed(const QString &what, const QString &path, int error)
{
    return QStringLiteral("%1 %2: %3").arg(what, path, errnoText(error));
}

QByteArray nativePath(const QString &path) { return QFile::encodeName(path); }

// Opens for reading without waiting for a writer at a pipe's other end or
// for a device; -1 with errno set on failure, and also for anything that is
// not a plain file (errno then 0, *kind says what it is).
int openPlain(const QString &path, QString *kind)
{
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        *kind = S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder") : QStringLiteral("it is not a plain file");
        ::close(fd);
        errno = 0;
        return -1;
    }
    return fd;
}

bool writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Appends what the file at source holds from offset on.
bool copyTail(const QString &source, qint64 offset, int to, QString *why)
{
    QString kind;
    const int from = openPlain(source, &kind);
    if (from < 0) {
        *why = errno ? failed(QStringLiteral("cannot read"), source, errno)
                     : QStringLiteral("cannot read %1: %2").arg(source, kind);
        return false;
    }
    bool ok = ::lseek(from, offset, SEEK_SET) >= 0;
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *why = failed(QStringLiteral("cannot read"), source, errno);
            ok = false;
        } else if (!writeAll(to, buffer, n)) {
            *why = failed(QStringLiteral("cannot write"), source, errno);
            ok = false;
        }
    }
    ::close(from);
    return ok;
}

// The folder of a path, for flushing the rename to disk.
void syncFolder(const QString &path)
{
    const int dir = ::open(nativePath(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

ReadResult read(const QString &path, qint64 limit, BeyondLimit beyond)
{
    ReadResult result;
    QString kind;
    const int fd = openPlain(path, &kind);
    if (fd < 0) {
        if (errno == ENOENT)
            return result;
        result.status = ReadResult::Unreadable;
        result.why = errno ? errnoText(errno) : kind;
        return result;
    }
    struct stat st = {};
    if (::fstat(fd, &st) == 0 && st.st_size > limit && beyond == BeyondLimit::Refuse) {
        ::close(fd);
        result.status = ReadResult::TooLarge;
        result.why = QStringLiteral("it is larger than %1 bytes").arg(limit);
        return result;
    }
    // One byte past the limit tells a file that grew meanwhile.
    QByteArray data;
    data.resize(qMin<qint64>(st.st_size, limit) + 1);
    qint64 got = 0;
    for (;;) {
        if (got == data.size()) {
            if (got > limit)
                break;
            data.resize(qMin<qint64>(data.size() * 2, limit + 1));
        }
        const ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(data.size() - got));
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.status = ReadResult::Unreadable;
            result.why = errnoText(errno);
            ::close(fd);
            return result;
        }
        got += n;
    }
    ::close(fd);
    data.resize(got);
    if (got > limit) {
        if (beyond == BeyondLimit::Refuse) {
            result.status = ReadResult::TooLarge;
            result.why = QStringLiteral("it is larger than %1 bytes").arg(limit);
            return result;
        }
        data.resize(limit);
        result.cut = true;
    }
    result.status = ReadResult::Read;
    result.bytes = std::move(data);
    return result;
}

Replaced replace(const QString &path, const QByteArray &bytes, QString *why, qint64 keepTailFrom)
{
    // A link stays a link: its target is what gets replaced.
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        target = info.canonicalFilePath();

    struct stat old;
    const bool exists = ::stat(nativePath(target).constData(), &old) == 0;
    if (!exists && errno != ENOENT) {
        *why = failed(QStringLiteral("cannot write"), target, errno);
        return Replaced::NotAllowed;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        *why = QStringLiteral("cannot write %1: %2").arg(
            target, S_ISDIR(old.st_mode) ? QStringLiteral("it is a folder") : QStringLiteral("it is not a plain file"));
        return Replaced::NotAllowed;
    }
    // A file the player made read-only stays as it is.
    if (exists && ::access(nativePath(target).constData(), W_OK) != 0) {
        *why = failed(QStringLiteral("cannot write"), target, errno);
        return Replaced::NotAllowed;
    }

    const QFileInfo targetInfo(target);
    const QString temporary = targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName() + QStringLiteral(".new");
    const QByteArray nativeTemporary = nativePath(temporary);
    ::unlink(nativeTemporary.constData()); // left by a crash, or by nobody
    const int fd = ::open(nativeTemporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        *why = failed(QStringLiteral("cannot create"), temporary, errno);
        return Replaced::NotAllowed;
    }
    bool ok = true;
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0) {
        *why = failed(QStringLiteral("cannot set the permissions of"), temporary, errno);
        ok = false;
    }
    if (ok && !writeAll(fd, bytes.constData(), bytes.size())) {
        *why = failed(QStringLiteral("cannot write"), temporary, errno);
        ok = false;
    }
    if (ok && exists && keepTailFrom >= 0 && old.st_size > keepTailFrom)
        ok = copyTail(target, keepTailFrom, fd, why);
    if (ok && ::fsync(fd) != 0) {
        *why = failed(QStringLiteral("cannot write"), temporary, errno);
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        *why = failed(QStringLiteral("cannot write"), temporary, errno);
        ok = false;
    }
    if (ok && ::rename(nativeTemporary.constData(), nativePath(target).constData()) != 0) {
        *why = failed(QStringLiteral("cannot replace"), target, errno);
        ok = false;
    }
    if (!ok) {
        ::unlink(nativeTemporary.constData());
        return Replaced::WriteFailed;
    }
    syncFolder(target);
    return Replaced::Yes;
}

Lock::Lock(const QString &path)
    : m_path(path + QStringLiteral(".lock"))
{
}

Lock::~Lock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing releases the lock
}

bool Lock::acquire(int timeoutMs, QString *why)
{
    if (m_fd < 0) {
        m_fd = ::open(nativePath(m_path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            *why = failed(QStringLiteral("cannot create the lock file"), m_path, errno);
            return false;
        }
    }
    // Polled rather than waited for, so that the wait has an end.
    struct timespec start;
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            *why = failed(QStringLiteral("cannot lock"), m_path, errno);
            return false;
        }
        struct timespec now;
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const long long elapsedMs = (now.tv_sec - start.tv_sec) * 1000LL + (now.tv_nsec - start.tv_nsec) / 1000000;
        if (elapsedMs >= timeoutMs) {
            *why = QStringLiteral("%1 stays locked by another program").arg(m_path);
            return false;
        }
        const struct timespec pause = {0, 5 * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
    }
}

} // namespace plainfile
