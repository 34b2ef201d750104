#pragma once
// The in-place text editor of the options tree, with the file and folder
// pickers its browse button opens.

#include <QLineEdit>

class CTreeOptionsEditSession;
class CTreeOptionsBrowseButton;
class CTreeOptionsSpinCtrl;

class CTreeOptionsEdit : public QLineEdit
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit CTreeOptionsEdit(QWidget *parent = nullptr);

    // The edit is never lower than 20 pixels, whatever the row height.
    virtual int GetMinHeight(int textHeight) const { return qMax(textHeight, 20); }
    // The pickers: on a choice the edit's text becomes the chosen path.
    virtual void BrowseFolder(const QString &current);
    virtual void BrowseFile(const QString &current);
    virtual QString GetFolderPrompt() const { return QStringLiteral("Please specify a folder"); }
    virtual QString GetFilePrompt() const { return QStringLiteral("Please specify a file"); }
    virtual QString GetFileFilter() const { return QStringLiteral("All Files (*.*)|*.*||"); }

    CTreeOptionsEditSession *m_pSession = nullptr;
    CTreeOptionsBrowseButton *m_pBrowseButton = nullptr;
    CTreeOptionsSpinCtrl *m_pSpin = nullptr; // the spin buddy stepping this edit, if any
    bool m_bBrowsing = false;                // a picker of the browse button is open

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void KeepSingleLine(const QString &text);
};
