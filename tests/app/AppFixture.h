#pragma once
// What the editor's end-to-end tests share: a scripted modal UI installed for
// each test, a folder for scripts, and the editor opened and shown.

#include "app/AppDlg.h"
#include "framework/ScriptedModalUi.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"
#include "treeoptions/TreeOptionsDump.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class AppFixture
{
public:
    AppFixture() : m_install(ui) {}

    ScriptedModalUi ui;

    // Writes `text` to a file of the folder, lines ended by CR LF.
    QString Write(const QString &name, const QByteArray &text)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        QByteArray bytes = text;
        bytes.replace("\r\n", "\n").replace("\n", "\r\n");
        file.write(bytes);
        return path;
    }
    QString Path(const QString &name) const { return m_dir.filePath(name); }
    static QByteArray Read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The editor with the script at `path` (a new script when empty), shown
    // and active.
    CAppDlg &Open(const QString &path = QString())
    {
        dialog = std::make_unique<CAppDlg>(path);
        dialog->show();
        if (!QTest::qWaitForWindowActive(dialog.get()))
            qWarning("the editor did not become active");
        return *dialog;
    }
    CTreeOptionsCtrl &Tree() const { return dialog->Tree(); }

    QPushButton *Button(const QString &text) const
    {
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    void Click(const QString &text) const
    {
        QPushButton *button = Button(text);
        QVERIFY2(button, qPrintable(text));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QStringList RootNames() const
    {
        QStringList names;
        for (int i = 0; i < Tree().topLevelItemCount(); ++i)
            names << Tree().topLevelItem(i)->text(0);
        return names;
    }
    QTreeWidgetItem *Root(const QString &name) const
    {
        for (int i = 0; i < Tree().topLevelItemCount(); ++i)
            if (Tree().topLevelItem(i)->text(0) == name)
                return Tree().topLevelItem(i);
        return nullptr;
    }
    // The first item under `parent` (at any depth) whose text begins with `label`.
    static QTreeWidgetItem *Find(QTreeWidgetItem *parent, const QString &label)
    {
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            QTreeWidgetItem *child = parent->child(i);
            if (child->text(0).startsWith(label))
                return child;
            if (QTreeWidgetItem *found = Find(child, label))
                return found;
        }
        return nullptr;
    }
    QString Dump(const QString &root) const { return TreeOptionsDump(Tree(), Root(root)); }

    // Opens the in-place editor of `item` by keyboard and types `value` over
    // the old one; the editor stays open.
    void TypeValue(QTreeWidgetItem *item, const QString &value) const
    {
        Tree().setFocus();
        Tree().scrollToItem(item);
        Tree().setCurrentItem(item);
        QTest::keyClick(&Tree(), Qt::Key_Right);
        QWidget *editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, value);
    }

    std::unique_ptr<CAppDlg> dialog;

private:
    ScopedModalUi m_install;
    QTemporaryDir m_dir;
};

// The 50 items Show All gives a bare action, with their images.
inline QString CompleteBranchDump()
{
    return QStringLiteral(
        "Source Path:  [11]\n"
        "Target Path:  [11]\n"
        "File Mask:  [11]\n"
        "Include Subdirectories [1]\n"
        "Operation: Produce Compare Report [11]\n"
        "Prompted Operation [0]\n"
        "Synchronization [13]\n"
        "  Compare Date/Time [3]\n"
        "  Binary Compare Files [2]\n"
        "  Ignore Whitespace when comparing files [0]\n"
        "  Ignore Case when comparing files [0]\n"
        "  Confirm Updates [1]\n"
        "  Group Related Files for display [0]\n"
        "  Case Sensitive check for file names [0]\n"
        "  Match Duplicates [0]\n"
        "  Overwrite Older Files [1]\n"
        "  Overwrite Newer Files [0]\n"
        "  Use Native File Operations [0]\n"
        "  Time Check Precision:  [11]\n"
        "Output [13]\n"
        "  Always Show Archives [0]\n"
        "  Show Identical Files [1]\n"
        "  Show Different Files [1]\n"
        "  Show Files in 1 Directory [1]\n"
        "  Sort By: Unsorted [12]\n"
        "  Sort Ascending [1]\n"
        "  Produce Output File:  [11]\n"
        "  Append to output file [1]\n"
        "  Output Columns:  [11]\n"
        "  Show Progress [1]\n"
        "  Display Error Messages [1]\n"
        "  Custom Message:  [11]\n"
        "  Allow Cancel [1]\n"
        "  Bitmap File:  [11]\n"
        "Filters [13]\n"
        "  Exclude Files Before Date:  [11]\n"
        "  Exclude Files After Date:  [11]\n"
        "  Exclude Files Smaller Than (bytes):  [11]\n"
        "  Exclude Files Larger Than (bytes):  [11]\n"
        "  Exclude Read-Only Files [0]\n"
        "  Exclude Hidden Files [0]\n"
        "  Exclude Directories [0]\n"
        "  Exclude Archive Files [0]\n"
        "  Exclude System Files [0]\n"
        "  Ignore Read-Only Files [1]\n"
        "  Ignore Hidden Files [1]\n"
        "  Ignore Directories [1]\n"
        "  Ignore Archive Files [1]\n"
        "  Ignore System Files [1]\n"
        "  Reverse Filters [0]\n");
}
