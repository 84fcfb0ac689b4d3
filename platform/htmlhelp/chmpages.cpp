#include "htmlhelp/chmpages.h"

#include "htmlhelp/chmpages_stream.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace chmpages {

namespace {

using chmstream::EndOfPages;
using chmstream::MaxPathLength;

// The reader program lies beside this library (or beside the program
// that has it built in).
QString readerProgram()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<const void *>(&readerProgram), &info) == 0 || !info.dli_fname)
        return QString();
    return QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath() + QLatin1Char('/')
        + QLatin1String(chmstream::ReaderName);
}

template <typename T>
bool take(const QByteArray &stream, qsizetype &at, T &value)
{
    if (stream.size() - at < qsizetype(sizeof value))
        return false;
    std::memcpy(&value, stream.constData() + at, sizeof value);
    at += sizeof value;
    return true;
}

enum class Progress { More, Done, Bad };

// Takes the pages that have arrived whole, from `at` on.
Progress takePages(const QByteArray &stream, qsizetype &at, const Limits &limits, QList<Page> &pages)
{
    for (;;) {
        qsizetype next = at;
        quint32 pathLength = 0;
        quint64 length = 0;
        if (!take(stream, next, pathLength))
            return Progress::More;
        if (pathLength == EndOfPages)
            return next == stream.size() ? Progress::Done : Progress::Bad;
        if (pathLength > MaxPathLength)
            return Progress::Bad;
        const qsizetype pathAt = next;
        next += pathLength;
        if (!take(stream, next, length))
            return Progress::More;
        if (length > quint64(limits.pageBytes))
            return Progress::Bad;
        if (quint64(stream.size() - next) < length)
            return Progress::More;
        pages.append(Page{QString::fromUtf8(stream.constData() + pathAt, pathLength),
                          stream.mid(next, qsizetype(length))});
        at = next + qsizetype(length);
    }
}

// The pages the reader sends, as soon as it says they are all; false when
// it ends without saying so, takes longer than the limit, or sends what
// no stream within the limits holds.
bool receive(int fd, const Limits &limits, QList<Page> &pages)
{
    const qint64 most = limits.totalBytes + qint64(limits.pages) * (MaxPathLength + 12) + 4;
    QDeadlineTimer deadline(limits.milliseconds);
    QByteArray stream;
    qsizetype taken = 0;
    qint64 received = 0;
    char buffer[64 * 1024];
    for (;;) {
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0 || received + n > most)
            return false;
        received += n;
        stream.append(buffer, n);
        switch (takePages(stream, taken, limits, pages)) {
        case Progress::More: break;
        case Progress::Done: return true;
        case Progress::Bad: return false;
        }
        // The pages hold their bytes now; the stream keeps only the rest,
        // so a reader that sends up to the limit costs that once, not twice.
        stream.remove(0, taken);
        taken = 0;
    }
}

} // namespace

Contents read(const QString &file, const Limits &limits)
{
    const QFileInfo info(file);
    const QString reader = readerProgram();
    if (file.isEmpty() || !info.isFile() || !info.isReadable() || !QFileInfo(reader).isExecutable())
        return {Outcome::Missing, {}};

    QList<QByteArray> arguments{QFile::encodeName(reader), QFile::encodeName(info.absoluteFilePath()),
                                QByteArray::number(limits.milliseconds), QByteArray::number(limits.pageBytes),
                                QByteArray::number(limits.totalBytes), QByteArray::number(limits.pages),
                                QByteArray::number(limits.memory)};
    QList<char *> argv;
    for (QByteArray &a : arguments)
        argv << a.data();
    argv << nullptr;

    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return {Outcome::Missing, {}};
    // The reader gets the pipe as its output and no other descriptor of
    // ours; what the C library says as a damaged file ends it is not news.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    pid_t child = -1;
    const int spawned = ::posix_spawn(&child, argv.first(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        return {Outcome::Missing, {}};
    }

    Contents contents;
    if (receive(pipeEnds[0], limits, contents.pages))
        contents.outcome = Outcome::Read;
    else
        contents.pages.clear();
    ::close(pipeEnds[0]);
    // Whether done, stuck or still sending: the reader's work is over.
    ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return contents;
}

} // namespace chmpages
