#pragma once

// The outcome of an operation that can fail: success, or a failure with the text to show the
// user (for file errors the system's description). Logic returns it and leaves the telling to
// its caller, which owns the prompt.

#include <QString>

#include <utility>

struct Result {
    bool ok = true;
    QString error; // empty on success
    explicit operator bool() const { return ok; }

    static Result failure(QString error) { return Result{false, std::move(error)}; }
};
