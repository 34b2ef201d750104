#pragma once
// The unified diff of two texts of one file, three lines of context, each
// line with its own end (so a changed line end shows as a changed line).

#include <QString>
#include <QStringView>

// Empty when the texts are equal; `name` heads both sides, as DiffFileName gives it.
QString UnifiedDiff(QStringView before, QStringView after, const QString &name);

// A file name as a diff's header shows it: as it is, or, when its bytes hold a
// control character, a quote, a backslash or anything beyond ASCII, in double
// quotes with C escapes and other bytes in octal, so that no name can end a
// header line or pass for another.
QString DiffFileName(const QString &name);
