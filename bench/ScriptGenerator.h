#pragma once
// Realistic scripts for benchmarks and round-trip tests: a "Default" section
// and actions of 15 to 40 keys (Windows paths with accented letters, masks,
// flags, codes, sizes, dates, escaped header texts, now and then an "@="
// line or a comment), CR LF line ends. The same seed gives the same script.

#include "script/ScriptFile.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

class CScriptGenerator
{
public:
    explicit CScriptGenerator(quint32 seed);

    // The picture date values are written in (the loader reads them with the
    // user's short date format, so a test sets the locale to match).
    QString m_strDatePicture = QStringLiteral("dd/MM/yyyy");

    // A script of `actions` actions numbered from 1.
    QString Generate(int actions);
    // A script of as many actions as it takes to reach about `characters` characters.
    QString GenerateAbout(qint64 characters);

    // A script whose "Default" and `actions` actions each set every key,
    // with values varied by the action's number (no randomness).
    static QString GenerateEveryKey(int actions);

    // The bytes of `text` as a file in `encoding` (UTF-16LE and UTF-8 with their mark).
    static QByteArray Encode(const QString &text, ScriptEncoding encoding);

private:
    void AppendSection(QString &out, const QString &name, int minKeys, int maxKeys);
    QString Value(int fieldIndex);
    QString Path();
    QString Word();
    int Between(int low, int high) { return int(m_random.bounded(low, high + 1)); }

    QRandomGenerator m_random;
};
