#include "runtime/files.h"
#include "base/ansi.h"
#include "runtime/error.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>

namespace {

constexpr std::int16_t firstFileNumber = 1;
constexpr std::int16_t lastFreeFileNumber = 255;
constexpr std::int16_t lastFileNumber = 511;
constexpr int lengthFieldSize = 2;

struct OpenFile {
    QFile file;
    OpenMode mode;
    int recordLength;
};

// One table for the whole program, as the runtime has; only the user
// interface thread uses it.
std::map<std::int16_t, std::unique_ptr<OpenFile>> &openFiles()
{
    static std::map<std::int16_t, std::unique_ptr<OpenFile>> files;
    return files;
}

[[noreturn]] void fail(int number, const QString &description)
{
    throw RuntimeError(number, description);
}

OpenFile &openFile(std::int16_t fileNumber)
{
    const auto found = openFiles().find(fileNumber);
    if (found == openFiles().end())
        fail(errBadFileNameOrNumber, QStringLiteral("Bad file name or number"));
    return *found->second;
}

bool isRandom(OpenMode mode)
{
    return mode == OpenMode::Random || mode == OpenMode::RandomRead;
}

OpenFile &openFile(std::int16_t fileNumber, bool random)
{
    OpenFile &open = openFile(fileNumber);
    if (isRandom(open.mode) != random)
        fail(errBadFileMode, QStringLiteral("Bad file mode"));
    return open;
}

qint64 recordOffset(const OpenFile &open, std::int32_t record)
{
    if (record < 1)
        fail(errBadRecordNumber, QStringLiteral("Bad record number"));
    return static_cast<qint64>(record - 1) * open.recordLength;
}

} // namespace

std::int16_t FreeFile()
{
    for (std::int16_t number = firstFileNumber; number <= lastFreeFileNumber; ++number)
        if (!openFiles().count(number))
            return number;
    fail(errTooManyFiles, QStringLiteral("Too many files"));
}

void Open(const QString &path, OpenMode mode, std::int16_t fileNumber, int recordLength)
{
    if (fileNumber < firstFileNumber || fileNumber > lastFileNumber || path.isEmpty())
        fail(errBadFileNameOrNumber, QStringLiteral("Bad file name or number"));
    if (openFiles().count(fileNumber))
        fail(errFileAlreadyOpen, QStringLiteral("File already open"));
    if (isRandom(mode) && (recordLength < lengthFieldSize || recordLength > 32767))
        fail(errBadRecordLength, QStringLiteral("Bad record length"));

    auto open = std::make_unique<OpenFile>();
    open->file.setFileName(path);
    open->mode = mode;
    open->recordLength = recordLength;
    // Records go straight to the file, so what was written stays written
    // even when the program ends at once.
    QIODevice::OpenMode how = QIODevice::Unbuffered;
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    switch (mode) {
    case OpenMode::Input: how = QIODevice::ReadOnly; flags |= O_RDONLY; break;
    case OpenMode::Output: how = QIODevice::WriteOnly | QIODevice::Truncate; flags |= O_WRONLY | O_CREAT; break;
    case OpenMode::Append: how = QIODevice::WriteOnly | QIODevice::Append; flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    case OpenMode::Random: how |= QIODevice::ReadWrite; flags |= O_RDWR | O_CREAT; break;
    case OpenMode::RandomRead: how |= QIODevice::ReadOnly; flags |= O_RDONLY; break;
    }
    const QFileInfo info(path);
    if ((mode == OpenMode::Input || mode == OpenMode::RandomRead) && !info.exists())
        fail(errFileNotFound, QStringLiteral("File not found"));
    if (!info.absoluteDir().exists())
        fail(errPathNotFound, QStringLiteral("Path not found"));
    // Opened without blocking, and only a plain file: a named pipe or a
    // device where the file should be would otherwise hang the program.
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0)
        fail(errPathFileAccess, QStringLiteral("Path/File access error: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fail(errPathFileAccess, QStringLiteral("Path/File access error: not a plain file"));
    }
    if (mode == OpenMode::Output && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        fail(errPathFileAccess, QStringLiteral("Path/File access error: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    }
    if (!open->file.open(fd, how, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        fail(errPathFileAccess, QStringLiteral("Path/File access error"));
    }
    openFiles()[fileNumber] = std::move(open);
}

void Close(std::int16_t fileNumber)
{
    openFiles().erase(fileNumber);
}

void Close()
{
    openFiles().clear();
}

QByteArray RecordBytes(const QString &text, int recordLength)
{
    const QByteArray bytes = ansi::fromUnicode(text);
    if (bytes.size() > recordLength - lengthFieldSize)
        fail(errBadRecordLength, QStringLiteral("Bad record length"));
    QByteArray buffer(recordLength, '\0');
    buffer[0] = static_cast<char>(bytes.size() & 0xFF);
    buffer[1] = static_cast<char>((bytes.size() >> 8) & 0xFF);
    buffer.replace(lengthFieldSize, bytes.size(), bytes);
    return buffer;
}

void Put(std::int16_t fileNumber, std::int32_t record, const QString &text)
{
    OpenFile &open = openFile(fileNumber, true);
    if (open.mode == OpenMode::RandomRead)
        fail(errPathFileAccess, QStringLiteral("Path/File access error"));
    const qint64 offset = recordOffset(open, record);
    const QByteArray buffer = RecordBytes(text, open.recordLength);
    if (!open.file.seek(offset) || open.file.write(buffer) != buffer.size())
        fail(errDeviceIO, QStringLiteral("Device I/O error"));
}

void Get(std::int16_t fileNumber, std::int32_t record, QString &text)
{
    OpenFile &open = openFile(fileNumber, true);
    const qint64 offset = recordOffset(open, record);
    text.clear();
    if (offset + lengthFieldSize > open.file.size())
        return;
    if (!open.file.seek(offset))
        fail(errDeviceIO, QStringLiteral("Device I/O error"));
    const QByteArray buffer = open.file.read(open.recordLength);
    const auto *bytes = reinterpret_cast<const unsigned char *>(buffer.constData());
    const int length = bytes[0] | bytes[1] << 8;
    if (lengthFieldSize + length > buffer.size())
        fail(errBadRecordLength, QStringLiteral("Bad record length"));
    text = ansi::toUnicode(buffer.mid(lengthFieldSize, length));
}

void LineInput(std::int16_t fileNumber, QString &line)
{
    OpenFile &open = openFile(fileNumber, false);
    if (open.mode != OpenMode::Input)
        fail(errBadFileMode, QStringLiteral("Bad file mode"));
    if (open.file.atEnd())
        fail(errInputPastEndOfFile, QStringLiteral("Input past end of file"));
    QByteArray bytes;
    char c = 0;
    while (open.file.getChar(&c)) {
        if (c == '\n')
            break;
        if (c == '\r') {
            char next = 0;
            if (open.file.getChar(&next) && next != '\n')
                open.file.ungetChar(next);
            break;
        }
        bytes.append(c);
    }
    line = ansi::toUnicode(bytes);
}

void Print(std::int16_t fileNumber, const QString &text)
{
    OpenFile &open = openFile(fileNumber, false);
    if (open.mode == OpenMode::Input)
        fail(errBadFileMode, QStringLiteral("Bad file mode"));
    const QByteArray bytes = ansi::fromUnicode(text) + "\r\n";
    if (open.file.write(bytes) != bytes.size())
        fail(errDeviceIO, QStringLiteral("Device I/O error"));
}

bool Eof(std::int16_t fileNumber)
{
    return openFile(fileNumber).file.atEnd();
}
