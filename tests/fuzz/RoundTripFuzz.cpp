// The loader into an offscreen options tree and back through the writer:
// whatever the bytes, an unedited script is written as it was read, the
// written script loads to the same records, and
// writing that again gives the same bytes (a fixed point after one pass).
// Going through the script a section at a time (mbscript resave) writes the
// same bytes as the whole tree does, with Show All on every root or without.

#include "FuzzSupport.h"
#include "TestFiles.h"

#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptRewriter.h"
#include "scripttree/ScriptTree.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

QTemporaryDir *g_folder = nullptr;

QString PathOf(const char *name)
{
    return g_folder->filePath(QLatin1String(name));
}

bool SameRecords(const CSynchArray &a, const CSynchArray &b)
{
    if (!a.m_Default.IsEqual(b.m_Default) || a.GetSize() != b.GetSize() || a.m_arrActionNames != b.m_arrActionNames)
        return false;
    for (qsizetype i = 0; i < a.GetSize(); ++i)
        if (!a.GetAt(i)->IsEqual(*b.GetAt(i)))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    static QTemporaryDir folder;
    g_folder = &folder;
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString in = PathOf("in.mbs"), first = PathOf("first.mbs"), second = PathOf("second.mbs");
    FuzzCheck(WriteAll(in, FuzzBytes(data, size)), "the input file is made");
    WriteOptions quiet;
    quiet.reportErrors = true; // a failed save reaches the quiet UI, and the check below
    quiet.announceEncodingChange = false;

    CSynchArray loaded;
    CTreeOptionsCtrl tree;
    LoadScriptWithTree(loaded, in, tree);
    FuzzCheck(WriteScript(loaded, first, tree, quiet), "the loaded tree is written");
    // Unedited, it is written as it was read (a UTF-16LE file's odd last byte is never read).
    const bool wide = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
    const QByteArray read(reinterpret_cast<const char *>(data), qsizetype(wide ? size & ~size_t(1) : size));
    FuzzCheck(loaded.m_ScriptFile.LastReadStatus() != ScriptReadStatus::Read || ReadAll(first) == read,
              "an unedited script is written as it was read");

    CSynchArray again;
    CTreeOptionsCtrl againTree;
    LoadScriptWithTree(again, first, againTree);
    FuzzCheck(SameRecords(loaded, again), "the written script loads to the same records");
    FuzzCheck(WriteScript(again, second, againTree, quiet), "the reloaded tree is written");
    FuzzCheck(ReadAll(first) == ReadAll(second), "writing is a fixed point after one pass");

    for (const bool complete : {false, true}) {
        if (complete) {
            for (int i = 0; i < tree.topLevelItemCount(); ++i)
                CompleteAction(tree, tree.topLevelItem(i));
            FuzzCheck(WriteScript(loaded, first, tree, quiet), "the completed tree is written");
        }
        CTreeOptionsCtrl sectionTree;
        CScriptRewriter rewriter(sectionTree, complete, quiet);
        FuzzCheck(rewriter.Rewrite(in, second) == CScriptRewriter::Result::Written, "the script is rewritten");
        FuzzCheck(ReadAll(first) == ReadAll(second), "a section at a time writes what the whole tree does");
    }
    return 0;
}
