#pragma once
// Copies of the built help file, each damaged in one of the ways that
// chmlib trusts a file never to be.
#include <QByteArray>
#include <QList>
#include <QString>

namespace damagedhelp {

enum class Damage {
    WindowSizeZero,          // LZX control data: a window of 0 bytes
    WindowsPerResetZero,     // LZX control data: 0 windows between resets
    UnknownControlVersion,   // LZX control data of version 1: its sizes unscaled
    ResetIntervalZero,       // LZX control data: no block ever resets
    ResetBlockLengthZero,    // reset table: blocks of 0 bytes
    ResetEntryBeyondContent, // reset table: a block ends far past the compressed data
    HugeResetBlocks,         // reset table: blocks of 3 GB
    HugeDirectoryChunks,     // directory header: chunks of 3 GB
    DirectoryChunkLoops,     // the directory chunk's "next chunk" is itself, and
                             // the index is not where the system record says
    EmptyChunkLoops,         // the same with a chunk that lists nothing
};

QList<Damage> all();
const char *nameOf(Damage damage);

// The bytes of `goodFile` with the damage done.
QByteArray damaged(const QString &goodFile, Damage damage);

} // namespace damagedhelp
