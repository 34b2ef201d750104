#pragma once
// File names as the system holds them: bytes, which need not be UTF-8. The
// program holds a name as text that keeps every byte (LosslessUtf8.h): a
// name given as bytes (an argument, a dropped file's address) becomes text
// and goes back to exactly those bytes for every open, stat and rename, so a
// name is never mapped to another. Messages show the bytes that are not
// UTF-8 escaped, as `r\xe9.mbs`.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

class QUrl;

QString FileNameFromBytes(const QByteArray &bytes);

// The bytes `name` stands for; nothing when no bytes give exactly this text
// (a lone surrogate that is no byte escape, or escapes of bytes that would
// read back as another character), so it cannot name a file.
std::optional<QByteArray> FileNameBytes(QStringView name);

// Why a name FileNameBytes gives nothing for names no file: a sentence.
QString UnusableNameText();

// `name` for a message or a title: each byte that is not UTF-8 as \xNN, any
// other lone surrogate as \uNNNN.
QString ShownFileName(QStringView name);

// A local file's address (a drop), as the bytes it carries percent-encoded.
QString FileNameFromUrl(const QUrl &url);

// A path the widget toolkit gives (a file dialog's choice). The toolkit shows
// each byte that is not UTF-8 as U+FFFD and so has lost it; each name of the
// path holding U+FFFD is taken to be the one entry of its folder that the
// toolkit shows so. Nothing, with `refusal` set to a message, when no entry
// or more than one does.
std::optional<QString> FileNameFromToolkit(const QString &path, QString &refusal);
