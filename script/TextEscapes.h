#pragma once
// Text helpers shared by the reader and the loader.

#include <QString>

// Replaces every occurrence of `find` (not empty) in `text` with `replace`,
// scanning left to right; text put in as a replacement is never searched
// again. Without `caseSensitive`, occurrences are found by comparing upper-case
// forms, and the untouched parts of `text` keep their own case. Returns the
// number of replacements.
int ReplaceAll(QString &text, QStringView find, QStringView replace, bool caseSensitive);

// Turns the two-character sequences \t, \n and \r (either case) into TAB, LF
// and CR, in that order. Returns the number of \r replacements.
int UnescapeControls(QString &text);
