#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file from memory while keeping what others rely on: the
// file's mode, owner and group, and its other names (hard links). A symbolic
// link is followed, also one whose file does not exist yet: the file it points
// to is written, the link stays.
//
// Where the folder allows it the new contents go to a temporary file beside
// the old one, which then replaces it in one step, so a failure leaves the old
// file as it was. The file is rewritten in place instead when replacing it
// would lose something: it has more than one name, it belongs to another user
// or to a group this user is not in (a new file could not be given them, and
// in a shared folder with the sticky bit only the owner may replace a file), or
// the folder cannot be written or refuses the replacement. Before the first
// byte of the old file changes, the size limit of the process is checked, the
// room for the whole new contents is reserved on the disk and the old contents
// are kept in memory; a failure after that puts them back before it is
// reported. Only when even that fails is the file left half-written, and the
// result says so.
//
// On Windows (safefilewriterwindows.cpp) the temporary file is flushed with
// FlushFileBuffers and put in the old one's place with ReplaceFileW, which
// keeps the file's identity, access rights, attributes and streams; a new file
// is moved into place with MoveFileExW, written through. A file with other
// names, or in a folder the user cannot write, is rewritten in place as above.
// A file that another program holds open is reported as EBUSY, and Windows'
// errors are given as the errno values of the same meaning.
class SafeFileWriter
{
public:
    // The most old contents kept in memory for a rewrite in place. Every
    // crossword fits; a larger file (a long PDF) is not rewritten in place.
    static constexpr qint64 MaxKeptBytes = 1024 * 1024;

    // Failures of the writer's own, beside errno values.
    static constexpr int CannotReserve = -1;  // the file system cannot set room aside beforehand
    static constexpr int TooLargeToKeep = -2; // in place, the old file is over MaxKeptBytes

    enum class Outcome {
        Written,
        NothingChanged, // the file at the path is as it was, or still absent
        PartlyWritten,  // rewriting in place failed and so did putting the old contents back
    };

    struct Result
    {
        Outcome outcome = Outcome::Written;
        int error = 0;        // errno of the failing step (see windowserror.h), or one of the above
        bool existed = false; // a file stood at the path before

        // Why, as a short Russian phrase for a message.
        QString reason() const;
    };

    static Result write(const QString &path, const QByteArray &bytes);
};
