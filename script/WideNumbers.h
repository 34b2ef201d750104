#pragma once
// Number texts of a script, read the way the engine's runtime reads them:
// leading white space, an optional sign, then decimal digits up to the first
// other character; no digits give 0. A number beyond the type's range
// saturates at its smallest or largest value, so the same text always gives
// the same number.

#include <QStringView>
#include <QtGlobal>

qint32 WideToInt32(QStringView text);
qint64 WideToInt64(QStringView text);
