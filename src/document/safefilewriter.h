#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file from memory while keeping what others rely on: the
// file's mode, its group where the user may set it, and its other names (hard
// links).
//
// Where the folder allows it the new contents go to a temporary file beside
// the old one, which then replaces it in one step, so a failure leaves the old
// file as it was. A file with more than one name, or in a folder the user
// cannot write, is rewritten in place instead: its new size is reserved on the
// disk first, so a full disk is found before the old contents are touched.
// Only a fault of the disk itself can then stop the write half-way, and the
// result says so.
class SafeFileWriter
{
public:
    enum class Outcome {
        Written,
        NothingChanged, // the file at the path is as it was, or still absent
        PartlyWritten,  // rewriting in place failed: the file holds neither version
    };

    struct Result
    {
        Outcome outcome = Outcome::Written;
        int error = 0;        // errno of the failing step
        bool existed = false; // a file stood at the path before
    };

    static Result write(const QString &path, const QByteArray &bytes);
};
