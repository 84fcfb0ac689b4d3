#pragma once
// A run-time error of the runtime library, carrying the error number a
// program would read from Err.Number (53 file not found, 75 path/file access
// error, ...). Code that handles errors catches it; code that doesn't lets
// it travel to its caller, as the runtime library does.
#include <QString>

#include <stdexcept>

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
