#pragma once
// Opens the program's help file, "marrowpad.chm" in the program's own folder,
// with the desktop's handler for it; says where it looked when it is missing.

#include <QString>
#include <QUrl>

#include <functional>

class CHelpOpener
{
public:
    // Hands a file URL to the desktop; false when nothing could open it.
    using UrlOpener = std::function<bool(const QUrl &)>;

    // Help for a program whose file lives in `programFolder`.
    explicit CHelpOpener(const QString &programFolder);

    static QString HelpFileName() { return QStringLiteral("marrowpad.chm"); }
    QString HelpFilePath() const { return m_strHelpFilePath; }

    // Replaces the desktop (QDesktopServices) by `opener`.
    void SetUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }

    // Opens the help file; when it is missing or nothing opens it, a message
    // names the file and where it was looked for. True when it was handed on.
    bool Open() const;

private:
    QString m_strHelpFilePath;
    UrlOpener m_opener;
};
