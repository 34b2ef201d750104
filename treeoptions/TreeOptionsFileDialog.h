#pragma once
// The file picker of a file path item: an open dialog whose OK button reads
// "OK", shown through the program's modal UI.

#include <QString>

class CTreeOptionsFileDialog
{
public:
    enum Flags : unsigned {
        kHideReadOnly = 0x4,
        kOverwritePrompt = 0x2,
        kFileMustExist = 0x1000,
    };

    CTreeOptionsFileDialog(bool openFileDialog, const QString &defaultExt, const QString &fileName, unsigned flags,
                           const QString &filter);

    void SetTitle(const QString &title) { m_strTitle = title; }
    // The caption of the OK button; "OK" unless changed.
    static QString OkButtonText() { return QStringLiteral("OK"); }

    // Shows the picker; true when the user chose a file.
    bool DoModal();
    QString GetPathName() const { return m_strPathName; }

private:
    bool m_bOpen;
    QString m_strDefaultExt;
    QString m_strFileName;
    unsigned m_nFlags;
    QString m_strFilter;
    QString m_strTitle;
    QString m_strPathName;
};
