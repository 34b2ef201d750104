// One editor under test: the scripted modal UI installed for its lifetime, a
// folder for its files, and the editor itself once opened; and a search of its tree.

#pragma once

#include "app/AppDlg.h"
#include "framework/ScriptedModalUi.h"

#include <QFile>
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

struct AppSession
{
    ScriptedModalUi ui;
    ScopedModalUi install{ui};
    QTemporaryDir dir;
    std::unique_ptr<CAppDlg> dialog;

    // The editor with the script at `path` (a new script when empty), shown and active.
    CAppDlg &Open(const QString &path = QString())
    {
        dialog = std::make_unique<CAppDlg>(path);
        dialog->show();
        if (!QTest::qWaitForWindowActive(dialog.get()))
            qWarning("the editor did not become active");
        return *dialog;
    }
    // `bytes` as the file `name` in the folder; its path, or empty if it could not be written.
    QString Write(const QByteArray &bytes, const QString &name = QStringLiteral("script.mbs")) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
    }
};
