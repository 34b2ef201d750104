#pragma once
#include <QStringList>

// mbscript get [--raw] [--locale NAME] FILE SECTION [KEY]: the value of KEY in
// effect in SECTION after inheritance (--raw: the text as written, status 1
// when the section does not hold the key); without KEY, every setting in
// effect (--raw: every line as written) as KEY=VALUE lines.
int RunGet(const QStringList &arguments);
