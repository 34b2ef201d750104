#pragma once
// What the editor's end-to-end tests share: a scripted modal UI installed for
// each test, a folder for scripts, the editor opened and shown, and the ways
// a user reaches its tree and buttons.

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
    std::unique_ptr<CAppDlg> dialog;

    // Writes `text` to a file of the folder, lines ended by CR LF.
    QString Write(const QString &name, QByteArray text)
    {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        file.write(text.replace("\r\n", "\n").replace("\n", "\r\n"));
        return file.fileName();
    }
    QString Path(const QString &name) const { return m_dir.filePath(name); }
    static QByteArray Read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The editor with the script at `path` (a new script when empty), shown and active.
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
        const QStringList names = RootNames();
        return names.contains(name) ? Tree().topLevelItem(int(names.indexOf(name))) : nullptr;
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

    // Makes the root `root` (expanded), or its item starting with `label`,
    // the tree's current item.
    QTreeWidgetItem *Select(const QString &root, const QString &label = QString()) const
    {
        QTreeWidgetItem *item = Root(root);
        item->setExpanded(true);
        if (!label.isEmpty())
            item = Find(item, label);
        Tree().scrollToItem(item);
        Tree().setCurrentItem(item);
        return item;
    }
    // Opens the in-place editor of the item by keyboard and types `value`
    // over the old one; the editor stays open.
    QTreeWidgetItem *TypeValue(const QString &root, const QString &label, const QString &value) const
    {
        Tree().setFocus();
        QTreeWidgetItem *item = Select(root, label);
        QTest::keyClick(&Tree(), Qt::Key_Right);
        QWidget *editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, value);
        return item;
    }
    // Toggles a check box by the space bar.
    void Toggle(const QString &root, const QString &label) const
    {
        Tree().setFocus();
        Select(root, label);
        QTest::keyClick(&Tree(), Qt::Key_Space);
    }

private:
    ScopedModalUi m_install;
    QTemporaryDir m_dir;
};
