#include "framework/FileName.h"

#include "framework/LosslessUtf8.h"

#include <QFile>
#include <QStringList>
#include <QUrl>

#include <dirent.h>

QString FileNameFromBytes(const QByteArray &bytes)
{
    return DecodeUtf8Lossless(bytes);
}

std::optional<QByteArray> FileNameBytes(QStringView name)
{
    bool lossy = false;
    QByteArray bytes = EncodeUtf8Lossless(name, &lossy);
    if (lossy || DecodeUtf8Lossless(bytes) != name)
        return std::nullopt;
    return bytes;
}

QString UnusableNameText()
{
    return QStringLiteral("Its name holds a character that no file name can hold.");
}

QString ShownFileName(QStringView name)
{
    QString shown;
    shown.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && i + 1 < name.size() && name[i + 1].isLowSurrogate();
        if (pair) {
            shown += name.mid(i, 2);
            ++i;
        } else if (IsByteEscape(unit)) {
            shown += QStringLiteral("\\x%1").arg(unit & 0xFF, 2, 16, QLatin1Char('0'));
        } else if (QChar::isSurrogate(unit)) {
            shown += QStringLiteral("\\u%1").arg(unit, 4, 16, QLatin1Char('0'));
        } else {
            shown += name[i];
        }
    }
    return shown;
}

QString FileNameFromUrl(const QUrl &url)
{
    QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        path = "//" + url.host(QUrl::FullyEncoded).toLatin1() + path;
    return FileNameFromBytes(path);
}

namespace {

// The entries of the folder `folder` that the toolkit shows as `shown`.
QStringList EntriesShownAs(const QByteArray &folder, const QString &shown)
{
    QStringList found;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return found;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (QFile::decodeName(name) == shown)
            found << FileNameFromBytes(name);
    }
    ::closedir(dir);
    return found;
}

} // namespace

std::optional<QString> FileNameFromToolkit(const QString &path, QString &refusal)
{
    if (!path.contains(QChar::ReplacementCharacter))
        return path;
    const QStringList names = path.split(u'/');
    QString exact;
    for (qsizetype i = 0; i < names.size(); ++i) {
        QString name = names[i];
        if (name.contains(QChar::ReplacementCharacter)) {
            const QByteArray folder = i == 0            ? QByteArray(".")
                                      : exact.isEmpty() ? QByteArray("/")
                                                        : FileNameBytes(exact).value_or(QByteArray());
            QStringList found = EntriesShownAs(folder, name);
            found.sort();
            if (found.size() != 1) {
                QStringList shown;
                for (const QString &entry : found)
                    shown << QLatin1Char('"') + ShownFileName(entry) + QLatin1Char('"');
                refusal =
                    QStringLiteral("\"%1\" cannot be opened or saved: the name holds bytes that are not "
                                   "UTF-8, which the file dialog cannot pass on exactly, and %2.")
                        .arg(path, found.isEmpty() ? QStringLiteral("no file of its folder has it")
                                                   : QStringLiteral("it may stand for %1").arg(shown.join(u", ")));
                return std::nullopt;
            }
            name = found.first();
        }
        exact += (i > 0 ? QStringLiteral("/") : QString()) + name;
    }
    return exact;
}
