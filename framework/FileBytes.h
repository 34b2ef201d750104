#pragma once
// The whole content of a file, however it comes: a regular file is read to
// its end (more than its size when it grows meanwhile, an error when it gives
// less), anything else (a FIFO, a file under /proc, a terminal, standard input
// through /dev/stdin) is read until it ends.

#include <QByteArray>
#include <QString>

// Where ReadFileInto puts what it reads, so that a reader can take a file
// piece by piece (or straight into its own memory) rather than whole.
class IFileReadTarget
{
public:
    virtual ~IFileReadTarget() = default;
    // Called once before the first read: the size a regular file says it has, or -1.
    virtual void Expect(qint64 size) = 0;
    // Where the next read may put its bytes; `room` receives how many (at least one).
    virtual char *Room(qsizetype &room) = 0;
    // The last read put `count` bytes where Room said.
    virtual void Filled(qsizetype count) = 0;
};

// Reads the file at `path` to its end into `target`. False with `cause` (a
// sentence for the user) when it cannot be opened or read, is a folder, gives
// less than its size, or holds more than `limit` bytes.
bool ReadFileInto(const QString &path, qint64 limit, IFileReadTarget &target, QString &cause);

// Reads the file at `path` into `bytes`. False with `cause` (a sentence for
// the user) when it cannot be opened or read, is a folder, or holds more than
// `limit` bytes.
bool ReadFileBytes(const QString &path, qint64 limit, QByteArray &bytes, QString &cause);

// The system's text for errno `error`.
QString SystemErrorText(int error);
