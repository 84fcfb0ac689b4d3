#pragma once
// The runtime library's files, reached by file number: random-access files
// of fixed-length records that hold one text each, and line-oriented text
// files. Texts are stored in the ANSI code page. A failure raises
// RuntimeError with the runtime's error number:
//   52 bad file number, 53 file not found, 54 bad file mode, 55 file
//   already open, 57 device I/O error, 59 bad record length, 62 input past
//   end of file, 63 bad record number, 67 too many files, 75 path/file
//   access error, 76 path not found. Only plain files open, without waiting
//   (a named pipe, a device or a folder raises 75).
#include <QString>

#include <cstdint>

enum class OpenMode {
    Input,  // a text file to read line by line; it must exist
    Output, // a text file written anew
    Append, // a text file written on at its end
    Random, // fixed-length records, read and written; a missing file is created empty
    RandomRead, // fixed-length records, only read (Access Read); the file must exist
};

// The lowest file number (1 to 255) not in use.
std::int16_t FreeFile();

// Open path For mode As #fileNumber [Len = recordLength].
void Open(const QString &path, OpenMode mode, std::int16_t fileNumber, int recordLength = 128);

// Close #fileNumber; a number that is not open is ignored.
void Close(std::int16_t fileNumber);
// Closes every open file.
void Close();

// Put #fileNumber, record, text: the record (counted from 1) receives the
// text's length as 2 bytes, little-endian, then its bytes; the rest of the
// record is zero. Writing beyond the end makes the file longer; the file
// never gets shorter. A text that does not fit the record raises 59, a file
// opened only to read raises 75.
void Put(std::int16_t fileNumber, std::int32_t record, const QString &text);

// The record Put writes for text: for a file that is written whole rather
// than record by record. Raises 59 when the text does not fit.
QByteArray RecordBytes(const QString &text, int recordLength);

// Get #fileNumber, record, text: a record beyond the end of the file reads
// as the empty text; a record whose length does not fit it raises 59.
void Get(std::int16_t fileNumber, std::int32_t record, QString &text);

// Line Input #fileNumber, line: the next line without its end (CR LF, CR
// or LF). Raises 62 at the end of the file.
void LineInput(std::int16_t fileNumber, QString &line);

// Print #fileNumber, text: the text and CR LF.
void Print(std::int16_t fileNumber, const QString &text);

// EOF(fileNumber): True when a text file opened for input has no more
// lines, or a random file's position is at its end. (The runtime's name
// EOF is taken by the C library.)
bool Eof(std::int16_t fileNumber);
