#pragma once
#include <QString>

// A value of the options tree is one line of a script: every line break in
// `text` (CR LF, CR, LF, and the Unicode line and paragraph separators) becomes
// one space.
QString SingleLine(const QString &text);
