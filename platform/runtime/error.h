#pragma once
// A run-time error of the runtime library, carrying the error number a
// program would read from Err.Number (53 file not found, 75 path/file access
// error, ...). Code that handles errors catches it; code that doesn't lets
// it travel to its caller, as the runtime library does.
#include <QString>

#include <stdexcept>

// The numbers of the run-time errors that the runtime raises and the
// program handles.
constexpr int errInvalidCall = 5;
constexpr int errSubscriptOutOfRange = 9;
constexpr int errBadFileNameOrNumber = 52;
constexpr int errFileNotFound = 53;
constexpr int errBadFileMode = 54;
constexpr int errFileAlreadyOpen = 55;
constexpr int errDeviceIO = 57;
constexpr int errBadRecordLength = 59;
constexpr int errInputPastEndOfFile = 62;
constexpr int errBadRecordNumber = 63;
constexpr int errTooManyFiles = 67;
constexpr int errPathFileAccess = 75;
constexpr int errPathNotFound = 76;
constexpr int errObjectNotSet = 91;
constexpr int errResourceNotFound = 326;

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}
    int Number() const { return m_number; }
    QString Description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};
