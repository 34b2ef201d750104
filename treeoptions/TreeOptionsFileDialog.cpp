#include "treeoptions/TreeOptionsFileDialog.h"

#include "framework/ModalUi.h"

CTreeOptionsFileDialog::CTreeOptionsFileDialog(bool openFileDialog, const QString &defaultExt, const QString &fileName,
                                               unsigned flags, const QString &filter)
    : m_bOpen(openFileDialog)
    , m_strDefaultExt(defaultExt)
    , m_strFileName(fileName)
    , m_nFlags(flags)
    , m_strFilter(filter)
{
}

bool CTreeOptionsFileDialog::DoModal()
{
    FileDialogRequest request;
    request.mode = m_bOpen ? FileDialogRequest::Mode::Open : FileDialogRequest::Mode::Save;
    request.title = m_strTitle;
    request.filter = m_strFilter;
    request.initialFile = m_strFileName;
    request.okButtonText = OkButtonText();
    request.fileMustExist = (m_nFlags & kFileMustExist) != 0;
    request.overwritePrompt = (m_nFlags & kOverwritePrompt) != 0;
    const std::optional<QString> path = ModalUi().ChooseFile(request);
    if (!path)
        return false;
    m_strPathName = *path;
    if (!m_strDefaultExt.isEmpty() && !m_strPathName.section(u'/', -1).contains(u'.'))
        m_strPathName += u'.' + m_strDefaultExt;
    return true;
}
