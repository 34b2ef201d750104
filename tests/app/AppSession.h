// One editor under test: the scripted modal UI installed, a folder for its files, the editor once opened;
// searching and typing into its tree, reading what it wrote.

#pragma once

#include "TestFiles.h"
#include "TreeSearch.h"
#include "app/AppDlg.h"
#include "framework/ScriptedModalUi.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <QTreeWidgetItem>

#include <memory>

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
    // `bytes` as the file `name` in the folder; its path, or empty on failure.
    QString Write(const QByteArray &bytes, const QString &name = QStringLiteral("script.mbs"))
    {
        return dir.Write(bytes, name);
    }
};
