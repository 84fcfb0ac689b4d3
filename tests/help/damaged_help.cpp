#include "damaged_help.h"

#include <QFile>

#include <chm_lib.h>

namespace damagedhelp {

namespace {

// Places in the file's headers (ITSF at 0, the directory's ITSP header at
// its offset, the first listing chunk PMGL right after that header).
constexpr qsizetype DirectoryOffsetField = 0x48;
constexpr qsizetype DataOffsetField = 0x58;
constexpr qsizetype DirectoryHeaderLength = 0x54;
constexpr qsizetype ChunkLengthField = 0x10;
constexpr qsizetype FreeSpaceField = 0x04;
constexpr qsizetype NextChunkField = 0x10;
constexpr quint32 ChunkHeaderLength = 0x14;
// LZX control data: size, "LZXC", version, reset interval, window size,
// windows per reset, each 32 bits.
constexpr qsizetype ControlVersionField = 0x08;
constexpr qsizetype ResetIntervalField = 0x0C;
constexpr qsizetype WindowSizeField = 0x10;
constexpr qsizetype WindowsPerResetField = 0x14;
// Reset table: version, block count, entry size, table offset (32 bits
// each), then the lengths and the block length (64 bits), then the table.
constexpr qsizetype ResetBlockLengthField = 0x20;
constexpr qsizetype ResetTableField = 0x0C;

constexpr quint64 ThreeGigabytes = 3ull << 30;

// Little-endian fields, a byte at a time: a word-wide read through data()
// makes GCC's bounds check (-Warray-bounds, an error in the sanitizer
// build) see only the one byte of an empty array.
template <class T>
void put(QByteArray &b, qsizetype at, T v)
{
    for (qsizetype i = 0; i < qsizetype(sizeof(T)); ++i)
        b[at + i] = char(v >> (8 * i));
}
template <class T>
T get(const QByteArray &b, qsizetype at)
{
    T v = 0;
    for (qsizetype i = qsizetype(sizeof(T)) - 1; i >= 0; --i)
        v = T(v << 8) | T(quint8(b.at(at + i)));
    return v;
}
void put32(QByteArray &b, qsizetype at, quint32 v) { put(b, at, v); }
void put64(QByteArray &b, qsizetype at, quint64 v) { put(b, at, v); }
quint32 get32(const QByteArray &b, qsizetype at) { return get<quint32>(b, at); }
quint64 get64(const QByteArray &b, qsizetype at) { return get<quint64>(b, at); }

// Where an uncompressed object of the good file begins in it.
qsizetype offsetOf(const QString &goodFile, const QByteArray &bytes, const char *object)
{
    chmFile *h = chm_open(QFile::encodeName(goodFile).constData());
    if (!h)
        qFatal("chmlib cannot open the good help file");
    chmUnitInfo ui;
    const bool found = chm_resolve_object(h, object, &ui) == CHM_RESOLVE_SUCCESS && ui.space == CHM_UNCOMPRESSED;
    chm_close(h);
    if (!found)
        qFatal("the good help file lacks %s", object);
    return static_cast<qsizetype>(get64(bytes, DataOffsetField) + ui.start);
}

} // namespace

QList<Damage> all()
{
    return {Damage::WindowSizeZero,       Damage::WindowsPerResetZero,     Damage::UnknownControlVersion,
            Damage::ResetIntervalZero,    Damage::ResetBlockLengthZero,    Damage::ResetEntryBeyondContent,
            Damage::HugeResetBlocks,      Damage::HugeDirectoryChunks,     Damage::DirectoryChunkLoops,
            Damage::EmptyChunkLoops};
}

const char *nameOf(Damage damage)
{
    switch (damage) {
    case Damage::WindowSizeZero: return "WindowSizeZero";
    case Damage::WindowsPerResetZero: return "WindowsPerResetZero";
    case Damage::UnknownControlVersion: return "UnknownControlVersion";
    case Damage::ResetIntervalZero: return "ResetIntervalZero";
    case Damage::ResetBlockLengthZero: return "ResetBlockLengthZero";
    case Damage::ResetEntryBeyondContent: return "ResetEntryBeyondContent";
    case Damage::HugeResetBlocks: return "HugeResetBlocks";
    case Damage::HugeDirectoryChunks: return "HugeDirectoryChunks";
    case Damage::DirectoryChunkLoops: return "DirectoryChunkLoops";
    case Damage::EmptyChunkLoops: return "EmptyChunkLoops";
    }
    return "?";
}

QByteArray damaged(const QString &goodFile, Damage damage)
{
    QFile file(goodFile);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the good help file cannot be read");
    QByteArray b = file.readAll();
    const qsizetype directory = static_cast<qsizetype>(get64(b, DirectoryOffsetField));
    const qsizetype firstChunk = directory + DirectoryHeaderLength;
    auto control = [&] { return offsetOf(goodFile, b, "::DataSpace/Storage/MSCompressed/ControlData"); };
    auto resetTable = [&] {
        return offsetOf(goodFile, b,
                        "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
                        "InstanceData/ResetTable");
    };

    switch (damage) {
    case Damage::WindowSizeZero: put32(b, control() + WindowSizeField, 0); break;
    case Damage::WindowsPerResetZero: put32(b, control() + WindowsPerResetField, 0); break;
    case Damage::UnknownControlVersion: put32(b, control() + ControlVersionField, 1); break;
    case Damage::ResetIntervalZero: put32(b, control() + ResetIntervalField, 0); break;
    case Damage::ResetBlockLengthZero: put64(b, resetTable() + ResetBlockLengthField, 0); break;
    case Damage::ResetEntryBeyondContent: {
        // The last entry says its block ends 192 KB further on, and the
        // file goes on that far: chmlib reads it all into one block's buffer.
        const qsizetype rt = resetTable();
        const quint32 entries = get32(b, rt + 4);
        const qsizetype last = rt + static_cast<qsizetype>(get32(b, rt + ResetTableField)) + 8 * (entries - 1);
        put64(b, last, get64(b, last) + 0x30000);
        b.append(QByteArray(0x40000, '\x55'));
        break;
    }
    case Damage::HugeResetBlocks: put64(b, resetTable() + ResetBlockLengthField, ThreeGigabytes); break;
    case Damage::HugeDirectoryChunks: put32(b, directory + ChunkLengthField, quint32(ThreeGigabytes)); break;
    case Damage::DirectoryChunkLoops: {
        // Renamed in the listing, the index has to be searched for.
        const qsizetype index = b.indexOf("/Index.hhk", firstChunk);
        if (index < 0)
            qFatal("the good help file lists no /Index.hhk");
        b[index + 9] = 'x';
        put32(b, firstChunk + NextChunkField, 0);
        break;
    }
    case Damage::EmptyChunkLoops: {
        const quint32 chunkLength = get32(b, directory + ChunkLengthField);
        put32(b, firstChunk + FreeSpaceField, chunkLength - ChunkHeaderLength);
        put32(b, firstChunk + NextChunkField, 0);
        break;
    }
    }
    return b;
}

} // namespace damagedhelp
