#pragma once
// Date values of a script: a date in the user's short date format, or the
// token "%%today" with an optional offset in days, turned into a FILETIME
// (100-ns ticks since 1601-01-01 UTC; 0 means no date).

#include <QString>
#include <QtGlobal>

struct DateFields
{
    int day = -1;
    int month = -1;
    int year = -1;  // after validation the full year; straight after parsing it may hold two digits
};

// The user's short date picture (QLocale's short format of the default locale).
QString GetShortDateFormat();

// Parses `text` against `picture` (empty: GetShortDateFormat()). True when
// exactly three fields were read.
bool ParseDateText(DateFields &fields, const QString &text, const QString &picture = QString());

// ParseDateText with the user's picture, then the range checks. On failure it
// shows one message through the modal UI ("Invalid month", "Invalid day",
// "Invalid year" or "Invalid date"); a non-empty `context` (the file, section,
// key and text) follows the message on its own line.
bool ValidateDate(DateFields &fields, const QString &text, const QString &context = QString());

// The FILETIME of the date at 00:00:00; `fromLocal` takes the date as local time.
quint64 DateToFileTime(const DateFields &fields, bool fromLocal);
