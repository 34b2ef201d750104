#include "app/HelpOpener.h"

#include "app/HelpWindow.h"
#include "framework/ModalUi.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

CHelpOpener::CHelpOpener(const QString &programFolder, QWidget *owner)
    : m_strHelpFilePath(QDir(programFolder).filePath(HelpFileName()))
    , m_strGuidePath(GuideFilePath(programFolder))
    , m_owner(owner)
    , m_opener([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
}

QString CHelpOpener::GuideFilePath(const QString &programFolder)
{
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral("../share/marrowpad/guide/index.html")));
}

bool CHelpOpener::Open(const QString &anchor)
{
    const QString shown = QDir::toNativeSeparators(m_strHelpFilePath);
    if (QFileInfo(m_strHelpFilePath).isFile()) {
        if (m_opener(QUrl::fromLocalFile(m_strHelpFilePath)))
            return true;
        ModalUi().ShowMessage(
            QStringLiteral("The help file \"%1\" could not be opened: the desktop has no program for it.").arg(shown));
        return false;
    }
    if (!QFileInfo(m_strGuidePath).isFile()) {
        ModalUi().ShowMessage(QStringLiteral("Help was not found: neither the user guide \"%1\" nor the help file "
                                             "\"%2\" is there.\nHelp is looked for beside the program, in \"%3\".")
                                  .arg(QDir::toNativeSeparators(m_strGuidePath), shown,
                                       QDir::toNativeSeparators(QFileInfo(m_strHelpFilePath).path())));
        return false;
    }
    if (!m_window) {
        m_window = new CHelpWindow(m_owner);
        if (!m_owner)
            m_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_window->ShowGuide(m_strGuidePath, anchor.isEmpty() ? QStringLiteral("overview") : anchor);
    return true;
}
