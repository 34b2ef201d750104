#pragma once
// Helpers of the tree-side script tests: scripts on disk, loaded into an
// options tree, written back.

#include "framework/CodePage.h"
#include "script/SynchArray.h"
#include "script/tree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QFile>
#include <QTemporaryDir>

class ScriptTreeFixture
{
public:
    QString Path(const QString &name) const { return m_dir.filePath(name); }

    QString WriteFile(const QByteArray &bytes, const QString &name = QStringLiteral("in.mbs"))
    {
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
        return file.fileName();
    }

    static QByteArray ReadFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    static QByteArray Ansi(const QString &text)
    {
        QByteArray bytes;
        StringToMultiByte(text.constData(), int(text.size()), bytes, kAnsiCodePage);
        return bytes;
    }

    // Loads `bytes` (as in.mbs) into the document and the tree.
    int Load(const QByteArray &bytes)
    {
        m_tree.clear();
        return LoadScriptWithTree(m_document, WriteFile(bytes), m_tree);
    }

    // Writes the tree as out.mbs and returns the bytes written.
    QByteArray Save(const QString &name = QStringLiteral("out.mbs"))
    {
        return WriteScript(m_document, Path(name), m_tree) ? ReadFile(Path(name)) : QByteArray("<failed>");
    }

    QTreeWidgetItem *Root(const QString &name) const
    {
        for (int i = 0; i < m_tree.topLevelItemCount(); ++i)
            if (m_tree.topLevelItem(i)->text(0) == name)
                return m_tree.topLevelItem(i);
        return nullptr;
    }

    static QTreeWidgetItem *Find(QTreeWidgetItem *parent, const QString &prefix)
    {
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            if (parent->child(i)->text(0).startsWith(prefix))
                return parent->child(i);
            if (QTreeWidgetItem *found = Find(parent->child(i), prefix))
                return found;
        }
        return nullptr;
    }

    CSynchArray m_document;
    CTreeOptionsCtrl m_tree;

private:
    QTemporaryDir m_dir;
};
