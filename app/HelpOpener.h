#pragma once
// Opens help on F1: "marrowpad.chm" in the program's own folder, with the
// desktop's handler for it, when it is there; else the user guide in the
// editor's help window, at the entry asked for. Says where it looked when
// neither is there.

#include "app/HelpWindow.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

class CHelpOpener
{
public:
    // Hands a file URL to the desktop; false when nothing could open it.
    using UrlOpener = std::function<bool(const QUrl &)>;

    // Help for a program whose file lives in `programFolder`; the help window
    // belongs to `owner` (a window of its own when there is none).
    explicit CHelpOpener(const QString &programFolder, QWidget *owner = nullptr);

    static QString HelpFileName() { return QStringLiteral("marrowpad.chm"); }
    QString HelpFilePath() const { return m_strHelpFilePath; }
    // The guide: installed in share/marrowpad/guide beside the program's bin
    // folder, and built into the same place in the build folder.
    static QString GuideFilePath(const QString &programFolder);
    QString GuideFilePath() const { return m_strGuidePath; }

    // Replaces the desktop (QDesktopServices) by `opener`.
    void SetUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }

    // Opens the help file, or else the guide at `anchor` (its overview when
    // empty). When neither is there, or nothing opens the help file, a message
    // names the files and where they were looked for. True when help is shown.
    bool Open(const QString &anchor = QString());

    // The help window, once help has been shown in it.
    CHelpWindow *Window() const { return m_window; }

private:
    QString m_strHelpFilePath;
    QString m_strGuidePath;
    QWidget *m_owner = nullptr;
    UrlOpener m_opener;
    QPointer<CHelpWindow> m_window;
};
