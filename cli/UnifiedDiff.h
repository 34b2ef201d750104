#pragma once
// The unified diff of two texts of one file, three lines of context, each
// line with its own end (so a changed line end shows as a changed line).

#include <QString>
#include <QStringView>

// Empty when the texts are equal; `name` heads both sides.
QString UnifiedDiff(QStringView before, QStringView after, const QString &name);
