// One editor under test: the scripted modal UI installed, a folder for its files, the editor once opened;
// searching and typing into its tree, reading what it wrote.

#pragma once

#include "../script/ScriptFixture.h"
#include "app/AppDlg.h"
#include "framework/FileBytes.h"
#include "framework/FileName.h"
#include "framework/ScriptedModalUi.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItem>

#include <memory>

// The first item below `parent`, depth first, whose text starts with `label`.
inline QTreeWidgetItem *Find(QTreeWidgetItem *parent, const QString &label)
{
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        QTreeWidgetItem *child = parent->child(i);
        if (QTreeWidgetItem *found = child->text(0).startsWith(label) ? child : Find(child, label))
            return found;
    }
    return nullptr;
}

// The file's bytes, or empty if it cannot be read.
inline QByteArray Read(const QString &path)
{
    QByteArray bytes;
    QString cause;
    return ReadFileBytes(path, 1 << 20, bytes, cause) ? bytes : QByteArray();
}

// Types `value` over the item's old one in its in-place editor, left open.
inline QTreeWidgetItem *TypeValue(CTreeOptionsCtrl &tree, QTreeWidgetItem *item, const QString &value)
{
    tree.setFocus();
    tree.scrollToItem(item);
    tree.setCurrentItem(item->parent()); // an editor open on the item opens anew
    tree.setCurrentItem(item);
    QTest::keyClick(&tree, Qt::Key_Right);
    QWidget *editor = QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, value);
    return item;
}

// Toggles "Include Subdirectories" of Default by the space bar.
inline void ToggleDefaultSubfolders(CAppDlg &dlg)
{
    CTreeOptionsCtrl &tree = dlg.Tree();
    tree.setFocus();
    tree.topLevelItem(0)->setExpanded(true);
    tree.setCurrentItem(Find(tree.topLevelItem(0), QStringLiteral("Include Subdirectories")));
    QTest::keyClick(&tree, Qt::Key_Space);
}

struct AppSession
{
    ScriptedModalUi ui;
    ScopedModalUi install{ui};
    TemporaryFolder dir;
    std::unique_ptr<CAppDlg> dialog;
    // The editor's settings (recent scripts, layout) and recovery files start empty, in the folder.
    AppSession()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        qputenv("XDG_STATE_HOME", QFile::encodeName(StateFolder()));
    }
    QString StateFolder() const { return dir.filePath(QStringLiteral("state")); }

    // The editor with the script at `path` (a new script when empty), shown and active.
    CAppDlg &Open(const QString &path = QString())
    {
        dialog = std::make_unique<CAppDlg>(path);
        dialog->show();
        if (!QTest::qWaitForWindowActive(dialog.get()))
            qWarning("the editor did not become active");
        return *dialog;
    }
    // `bytes` as the file `name` (maybe not UTF-8, FileName.h) in the folder; its path, or empty on failure.
    QString Write(const QByteArray &bytes, const QString &name = QStringLiteral("script.mbs")) const
    {
        const QString path = dir.filePath(name);
        QFile file;
        const int fd = ::open(FileNameBytes(path).value_or(QByteArray()).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        return fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)
                       && file.write(bytes) == bytes.size() ? path : QString();
    }
};
