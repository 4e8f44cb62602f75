#pragma once

#include <QString>

#include <stdexcept>

// The one error type that the project's classes raise to their callers, carrying the
// automation runtime's error number so hosts can tell the cases apart.
class ProjectError : public std::runtime_error {
public:
    enum Number : int {
        InvalidCall = 5,    // invalid procedure call or argument
        Overflow = 6,       // a number outside the target type
        OutOfRange = 9,     // subscript out of range
        TypeMismatch = 13,  // a value of the wrong kind
        DuplicateKey = 457, // a key already in a collection
    };

    ProjectError(Number number, const QString& description);

    Number number() const { return m_number; }
    QString description() const { return m_description; }

private:
    Number m_number;
    QString m_description;
};
