#pragma once
// File dialog filters. The program keeps its filters in the Windows form:
// pairs of description and patterns separated by '|', patterns separated by
// ';', the list ended by "||" ("Scripts (*.mbs)|*.mbs|All Files|*.*||").

#include <QString>
#include <QStringList>

// The name filters of a file dialog: "Description (pattern pattern)" per pair.
// The pattern "*.*" means every file and becomes "*" (a dotless file name
// would not match it here). A parenthesised pattern list already ending the
// description is replaced by the converted one, so "All Files (*.*)|*.*||"
// gives "All Files (*)". Pairs without a pattern are left out.
QStringList FileFilterToNameFilters(const QString &filter);

// `path` itself when it is an existing folder, otherwise its nearest existing
// parent; empty when none exists (or `path` is empty).
QString NearestExistingFolder(const QString &path);
