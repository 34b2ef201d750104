#include "app/HelpOpener.h"

#include "framework/ModalUi.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

CHelpOpener::CHelpOpener(const QString &programFolder)
    : m_strHelpFilePath(QDir(programFolder).filePath(HelpFileName()))
    , m_opener([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
}

bool CHelpOpener::Open() const
{
    const QString shown = QDir::toNativeSeparators(m_strHelpFilePath);
    if (!QFileInfo(m_strHelpFilePath).isFile()) {
        ModalUi().ShowMessage(QStringLiteral("The help file \"%1\" was not found.\nHelp is looked for in the "
                                             "program's own folder, \"%2\".")
                                  .arg(shown, QDir::toNativeSeparators(QFileInfo(m_strHelpFilePath).path())));
        return false;
    }
    if (!m_opener(QUrl::fromLocalFile(m_strHelpFilePath))) {
        ModalUi().ShowMessage(
            QStringLiteral("The help file \"%1\" could not be opened: the desktop has no program for it.").arg(shown));
        return false;
    }
    return true;
}
