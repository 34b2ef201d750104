#pragma once
// The whole content of a file, however it comes: a regular file is read to
// its end (more than its size when it grows meanwhile, an error when it gives
// less), anything else (a FIFO, a file under /proc, a terminal, standard input
// through /dev/stdin) is read until it ends.

#include <QByteArray>
#include <QString>

// Reads the file at `path` into `bytes`. False with `cause` (a sentence for
// the user) when it cannot be opened or read, is a folder, or holds more than
// `limit` bytes.
bool ReadFileBytes(const QString &path, qint64 limit, QByteArray &bytes, QString &cause);

// The system's text for errno `error`.
QString SystemErrorText(int error);
