// The editor end to end, every dialog answered by the scripted modal UI, and the naming of new actions.

#include "AppSession.h"
#include "TestLocale.h"
#include "app/ActionNamer.h"
#include "app/ScriptInsight.h"
#include "app/ValuesPane.h"
#include "framework/FileName.h"
#include "framework/FileSaver.h"
#include "framework/SaveCopies.h"
#include "script/SettingCatalogue.h"
#include "script/SynchArray.h"
#include "treeoptions/TreeOptionsDump.h"
#include "treeoptions/TreeOptionsEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QWindow>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kScript = "[Default]\nMask=*.*\nSearch_subdir=1\n\n"
                           "[Action1]\nPath1=C:\\Data\nPath2=E:\\Backup\nOperation=3\n\n"
                           "[Action2]\nPath1=C:\\Photos\nPath2=F:\\Photos\nMask=*.jpg\n";
const QStringList kRoots{"Default", "Action1", "Action2"};

QByteArray CrLf(QByteArray text)
{
    return text.replace("\r\n", "\n").replace("\n", "\r\n");
}

// A file whose process dies once it has written half of what it was given.
struct DyingFile : QFile
{
    qint64 writeData(const char *data, qint64 length) override { ::_exit(QFile::writeData(data, length / 2) < 0); }
};

// Saves `fresh` to the file at `path` in place (no new file may be made), in a child killed halfway.
void SaveCutShort(const QString &path, const QByteArray &fresh)
{
    if (::fork() == 0)
        ::_exit(CFileSaver([](CFileSaver::Role role) -> std::unique_ptr<QFile> {
                    if (role == CFileSaver::Role::Temporary)
                        return nullptr;
                    return role == CFileSaver::Role::Target ? std::make_unique<DyingFile>() : std::make_unique<QFile>();
                }).Save(path, fresh));
    ::wait(nullptr);
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        UseBritishDates("UTC");
        m_startDir = QDir::currentPath();
    }

    void init()
    {
        m_s = std::make_unique<AppSession>();
        QVERIFY(QDir::setCurrent(m_s->dir.path())); // for scripts named without a folder
        m_script = Write(QStringLiteral("script.mbs"), kScript);
        m_other = Write(QStringLiteral("other.mbs"), "[Action1]\nPath1=C:\\Other\n");
    }

    void cleanup()
    {
        QDir::setCurrent(m_startDir);
        const QStringList unexpected = m_s->ui.unexpected;
        m_s.reset();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u", ")));
    }

    void nextActionName_data()
    {
        QTest::addColumn<QStringList>("roots");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("hasDefault");
        QTest::newRow("empty tree") << QStringList() << "Action1" << false;
        QTest::newRow("highest, not last") << QStringList{"Default", "Action5", "Action2"} << "Action6" << true;
        QTest::newRow("last root without a number") << QStringList{"Default", "Action1", "Backup"} << "Action2" << true;
        QTest::newRow("case of names") << QStringList{"DEFAULT", "action7"} << "Action8" << true;
        QTest::newRow("not of the form") << QStringList{"Action 9", "Action-4", "Action03", "Action1x"} << "Action1"
                                         << false;
        QTest::newRow("largest number") << QStringList{"Action2147483647", "Action1", "Action3"} << "Action2" << false;
        QTest::newRow("beyond 32 bits is no number") << QStringList{"Action2147483648"} << "Action1" << false;
    }

    void nextActionName()
    {
        QFETCH(QStringList, roots);
        QFETCH(QString, name);
        QFETCH(bool, hasDefault);
        QTreeWidget tree;
        for (const QString &root : roots)
            tree.addTopLevelItem(new QTreeWidgetItem(QStringList{root}));
        QCOMPARE(CActionNamer::NextActionName(tree), name);
        QCOMPARE(CActionNamer::HasDefaultRoot(tree), hasDefault);
    }

    void newScriptStart()
    {
        CAppDlg &dlg = Open();
        QVERIFY(Title() == u"New script \u2014 Script Editor" && !dlg.windowIcon().isNull());
        QCOMPARE(RootNames(), QStringList({"Default", "Action1"}));
        // Both completed by Show All (the branch item by item is the tree's tests' business).
        const QString complete = Dump(QStringLiteral("Default"));
        QCOMPARE(complete.count(u'\n'), kCatalogueSize + 1); // and "Prompted Operation"
        QCOMPARE(Dump(QStringLiteral("Action1")), complete);
        QTreeWidgetItem *action = Root(QStringLiteral("Action1"));
        QVERIFY(Tree().currentItem() == action && action->isExpanded()
                && Root(QStringLiteral("Default"))->isExpanded());
        QCOMPARE(MoveButtons(), QString()); // "Default" above it is never swapped
        QVERIFY(dlg.Script().Path().isEmpty() && !dlg.Script().IsModified() && Ui().messages.isEmpty());
    }

    void commandLineStartLayoutAndKeys()
    {
        CAppDlg &dlg = Open(m_script);
        QVERIFY(RootNames() == kRoots && dlg.Script().Path() == m_script && !dlg.Script().IsModified());
        // The tree, first in the tab order, has the focus and its first item current and selected; the move buttons
        // follow.
        QVERIFY(Tree().hasFocus() && Tree().currentItem() == Tree().topLevelItem(0)
                && Tree().currentItem()->isSelected());
        QCOMPARE(MoveButtons(), QString());

        // Tab walks from the top left: the tree, the values, the enabled buttons row by row; Save is the default.
        QVERIFY(qobject_cast<QPushButton *>(Button(QStringLiteral("Save")))->isDefault());
        Tree().setFocus();
        QTRY_VERIFY(dlg.Insight().Values().isVisible());
        const QStringList tabs{"values",    "&Repeat Action",    "&New Action", "&Delete",      "Show &All",
                               "&Problems", "Values in &Effect", "&Overview",   "&Load Script", "Save",
                               "Close"}; // "Default" is not moved
        for (const QString &text : tabs) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *expected =
                text == u"values" ? static_cast<QWidget *>(&dlg.Insight().Values().List()) : Button(text);
            QVERIFY2(QApplication::focusWidget() == expected, qPrintable(text));
        }
        // Alt+S, the label's mnemonic, focuses the tree; no two buttons share a mnemonic.
        QTest::keyClick(&dlg, Qt::Key_S, Qt::AltModifier);
        QVERIFY(Tree().hasFocus());
        QSet<QChar> keys;
        for (QAbstractButton *button : dlg.findChildren<QAbstractButton *>()) {
            if (const qsizetype amp = button->text().indexOf(u'&'); amp >= 0) {
                QVERIFY2(!keys.contains(button->text()[amp + 1].toLower()), qPrintable(button->text()));
                keys.insert(button->text()[amp + 1].toLower());
            }
        }
    }

    void addAction_data()
    {
        // The new root's place; after a save the actions read back in the tree's order (the engine's run order).
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("selected"); // root/setting; empty: nothing, "-Default": nothing, Default deleted
        QTest::addColumn<QStringList>("roots");
        QTest::addColumn<int>("added");
        const QString repeat = QStringLiteral("&Repeat Action"), add = QStringLiteral("&New Action");
        const QStringList atEnd = kRoots + QStringList{"Action3"};
        QTest::newRow("repeat from a setting") << kScript << repeat << "Action1/Target Path" << atEnd << 3;
        QTest::newRow("repeat Default") << kScript << repeat << "Default" << atEnd << 3;
        QTest::newRow("new, nothing selected, a Default there") << kScript << add << "" << atEnd << 3;
        QTest::newRow("new, nothing selected, no Default")
            << kScript << add << "-Default" << QStringList{"Action1", "Action2", "Default"} << 2;
        QTest::newRow("new between actions") << kScript << add << "Action1" << atEnd << 2;
        QTest::newRow("new below Default") << kScript << add << "Default" << atEnd << 1;
        QTest::newRow("new below the last") << kScript << add << "Action2/File Mask" << atEnd << 3;
        QTest::newRow("new into a gap, nothing renamed")
            << QByteArray("[Action1]\nPath1=C:\\1\n[Action5]\nPath1=C:\\5\n[Action9]\nPath1=C:\\9\n") << add
            << "Action1" << QStringList{"Default", "Action1", "Action2", "Action5", "Action9"} << 2;
        QTest::newRow("new, Default only")
            << QByteArray("[Default]\nMask=*.d\n") << add << "Default" << QStringList{"Default", "Action1"} << 1;
    }

    void addAction()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, button);
        QFETCH(QString, selected);
        QFETCH(QStringList, roots);
        QFETCH(int, added);
        Write(QStringLiteral("script.mbs"), script);
        CSynchArray before;
        before.LoadScript(m_script);
        Open(m_script);
        const QString source = selected.section(u'/', 0, 0);
        const QString branch = Dump(source);
        if (selected == u"-Default") {
            Select(QStringLiteral("Default"));
            Click(QStringLiteral("&Delete"));
        }
        if (Root(source)) {
            Select(source, selected.section(u'/', 1));
        } else { // nothing to move or delete
            Tree().setCurrentItem(nullptr);
            QCOMPARE(MoveButtons(), QString());
            Click(QStringLiteral("&Delete"));
        }
        Click(button);
        QCOMPARE(RootNames(), roots);
        QTreeWidgetItem *root = Tree().topLevelItem(added);
        QCOMPARE(Tree().currentItem(), root);
        if (button == u"&New Action") { // expanded, completed by Show All
            QVERIFY(root->isExpanded() && root->childCount() == 9);
        } else { // the whole action copied, the source untouched
            QCOMPARE(TreeOptionsDump(Tree(), root), branch);
            QCOMPARE(Dump(source), branch);
        }
        Click(QStringLiteral("Save"));
        CSynchArray after;
        after.LoadScript(m_script);
        QCOMPARE(after.m_arrActionNames, roots.filter(QStringLiteral("Action")));
        QCOMPARE(after.GetSize(), before.GetSize() + (root->text(0) != u"Default"));
        for (qsizetype i = 0, j = 0; i < after.GetSize(); ++i)
            if (after.m_arrActionNames[i] != root->text(0))
                QVERIFY2(after.GetAt(i)->IsEqual(*before.GetAt(j++)), qPrintable(after.m_arrActionNames[i]));
    }

    void moves_data()
    {
        QTest::addColumn<QString>("moved");   // a root, or root/setting
        QTest::addColumn<QString>("enabled"); // the move buttons for that selection
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("arrivesAs"); // empty: the button is disabled, nothing moves
        QTest::newRow("up") << "Action2"
                            << "Up"
                            << "Move &Up"
                            << "Action1";
        QTest::newRow("down") << "Action1"
                              << "Down"
                              << "Move Do&wn"
                              << "Action2";
        QTest::newRow("up below Default") << "Action1"
                                          << "Down"
                                          << "Move &Up" << QString();
        QTest::newRow("Default down") << "Default"
                                      << ""
                                      << "Move Do&wn" << QString();
        QTest::newRow("last down") << "Action2"
                                   << "Up"
                                   << "Move Do&wn" << QString();
        QTest::newRow("a setting") << "Action1/Source Path"
                                   << ""
                                   << "Move Do&wn" << QString();
    }

    void moves()
    {
        QFETCH(QString, moved);
        QFETCH(QString, enabled);
        QFETCH(QString, button);
        QFETCH(QString, arrivesAs);
        Open(m_script);
        QStringList dumps;
        for (const QString &name : kRoots)
            dumps << Dump(name);
        QTreeWidgetItem *selected = Select(moved.section(u'/', 0, 0), moved.section(u'/', 1));
        Tree().CommitAndEndEdit(); // a value item selected may open its editor
        QCOMPARE(MoveButtons(), enabled);
        Click(button);             // a disabled button ignores the click
        if (arrivesAs.isEmpty()) { // and so do the key and the command called directly
            Tree().setFocus();
            Key(Qt::CTRL | (button == u"Move &Up" ? Qt::Key_Up : Qt::Key_Down));
            Dlg().RunCommand(button == u"Move &Up" ? CAppDlg::Command::MoveUp : CAppDlg::Command::MoveDown);
        } else {
            dumps.swapItemsAt(int(kRoots.indexOf(moved)), int(kRoots.indexOf(arrivesAs)));
        }
        // The names stay in place; the settings travel, stay selected and expanded.
        QCOMPARE(RootNames(), kRoots);
        for (int i = 0; i < kRoots.size(); ++i)
            QCOMPARE(Dump(kRoots[i]), dumps[i]);
        QTreeWidgetItem *current = arrivesAs.isEmpty() ? selected : Root(arrivesAs);
        QCOMPARE(Tree().currentItem(), current);
        QVERIFY(current->isExpanded() || !current->childCount());
        QCOMPARE(Dlg().Script().IsModified(), !arrivesAs.isEmpty());
    }

    void saveQuestion_data()
    {
        QTest::addColumn<bool>("named");     // opened by its bare file name, as from the command line
        QTest::addColumn<bool>("load");      // Load Script, or Close
        QTest::addColumn<QString>("edit");   // "box": in Default alone; "show all": marked unsaved, same settings
        QTest::addColumn<QString>("answer"); // empty: no question expected
        QTest::addColumn<QString>("saveAs"); // the save dialog's choice for a new script; empty: cancelled
        QTest::addColumn<bool>("goesOn");    // closed, or the other script loaded
        for (bool load : {false, true}) {
            const char *command = load ? "Load" : "Close";
            for (bool named : {false, true}) {
                const char *kind = named ? "named" : "new";
                QTest::addRow("%s %s clean", command, kind) << named << load << ""
                                                            << ""
                                                            << "" << true;
                QTest::addRow("%s %s modified, Discard", command, kind) << named << load << "box"
                                                                        << "discard"
                                                                        << "" << true;
                QTest::addRow("%s %s modified, Save", command, kind) << named << load << "box"
                                                                     << "save"
                                                                     << "chosen.mbs" << true;
                QTest::addRow("%s %s modified, Cancel", command, kind) << named << load << "box"
                                                                       << "cancel"
                                                                       << "" << false;
            }
            QTest::addRow("%s new modified, Save, save dialog cancelled", command) << false << load << "box"
                                                                                   << "save"
                                                                                   << "" << false;
            QTest::addRow("%s new modified, Save, the write fails", command) << false << load << "box"
                                                                             << "save"
                                                                             << "no such folder/new.mbs" << false;
            QTest::addRow("%s named, Show All", command) << true << load << "show all"
                                                         << "discard"
                                                         << "" << true;
        }
    }

    void saveQuestion()
    {
        QFETCH(bool, named);
        QFETCH(bool, load);
        QFETCH(QString, edit);
        QFETCH(QString, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, goesOn);
        CAppDlg &dlg = Open(named ? QStringLiteral("script.mbs") : QString());
        if (edit == u"box")
            ToggleDefault();
        if (edit == u"show all") {
            Select(QStringLiteral("Action2"));
            Key(Qt::CTRL | Qt::SHIFT | Qt::Key_A);
        }
        const QString dump = TreeOptionsDump(Tree());
        const QString savePath = saveAs.isEmpty() ? QString() : Path(saveAs);
        const bool saveDialog = answer == u"save" && !named;
        if (!answer.isEmpty())
            Ui().saveAnswers.push_back(answer == u"save"      ? SaveAnswer::Save
                                       : answer == u"discard" ? SaveAnswer::Discard
                                                              : SaveAnswer::Cancel);
        if (saveDialog)
            Ui().fileChoices.push_back(savePath.isEmpty() ? std::nullopt : std::optional<QString>(savePath));
        if (load && goesOn)
            Ui().fileChoices.push_back(m_other);

        Click(load ? QStringLiteral("&Load Script") : QStringLiteral("Close"));

        const QString prompt = QStringLiteral("Save changes to %1?").arg(named ? "script.mbs" : "the new script");
        QCOMPARE(Ui().questions, answer.isEmpty() ? QStringList() : QStringList{prompt});
        QCOMPARE(ReadAll(named ? m_script : savePath).contains("Search_subdir=0\r\n"), answer == u"save" && goesOn);
        QCOMPARE(Ui().messages.size(), saveAs.contains(u'/') ? 1 : 0); // the failed write is told
        // The open dialog starts in the script's folder.
        QCOMPARE(Ui().fileRequests.size(), qsizetype(saveDialog) + qsizetype(load && goesOn));
        for (const FileDialogRequest &request : Ui().fileRequests)
            QCOMPARE(request.initialDir, request.mode == FileDialogRequest::Mode::Open && named ? m_s->dir.path() : "");

        QCOMPARE(dlg.isVisible(), load || !goesOn);
        if (load || !goesOn) { // the other script loaded, or the edits all still there
            QCOMPARE(dlg.Script().Path(), goesOn ? m_other : named ? QStringLiteral("script.mbs") : QString());
            QCOMPARE(dlg.isWindowModified(), !goesOn);
            QCOMPARE(TreeOptionsDump(Tree()) == dump, !goesOn);
        }
    }

    void valueBeingEditedIsKept_data()
    {
        // Every command commits the value typed in place, the saving ones save it; Enter keeps it, Esc drops it.
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("saves");
        QTest::newRow("Enter") << "Enter" << false;
        QTest::newRow("Esc") << "Esc" << false;
        QTest::newRow("window closed") << "close" << true;
        QTest::newRow("Load Script") << "&Load Script" << true;
        QTest::newRow("Repeat Action") << "&Repeat Action" << false;
        QTest::newRow("F1") << "F1" << false;
    }

    void valueBeingEditedIsKept()
    {
        QFETCH(QString, command);
        QFETCH(bool, saves);
        CAppDlg &dlg = Open(m_script);
        QTreeWidgetItem *mask =
            TypeValue(QStringLiteral("Action2"), QStringLiteral("File Mask: "), QStringLiteral("*.doc"));
        QVERIFY(Tree().EditSession().Edit()->hasFocus());
        QCOMPARE(mask->text(0), QStringLiteral("File Mask")); // the label alone while editing
        if (saves)
            Ui().saveAnswers.push_back(SaveAnswer::Save);
        if (command == u"&Load Script")
            Ui().fileChoices.push_back(std::nullopt);
        dlg.Help() = CHelpOpener(QStringLiteral("/nonexistent-folder"));
        const QMap<QString, Qt::Key> keys{{"Enter", Qt::Key_Return}, {"Esc", Qt::Key_Escape}, {"F1", Qt::Key_F1}};
        QWidget *editor = QApplication::focusWidget();
        if (keys.contains(command))
            QTest::keyClick(editor, keys[command]);
        else if (command == u"close")
            dlg.close();
        else if (command == u"&Load Script")
            QTest::keyClick(editor, Qt::Key_L, Qt::AltModifier); // the button clicks a moment later
        else
            Click(command);
        QTRY_COMPARE(Ui().questions.size(), saves ? 1 : 0);
        QVERIFY(!Tree().EditSession().Item());
        const bool dropped = command == u"Esc";
        QCOMPARE(mask->text(0), dropped ? QStringLiteral("File Mask: *.jpg") : QStringLiteral("File Mask: *.doc"));
        QCOMPARE(Ui().messages.size(), command == u"F1" ? 1 : 0); // help is not there
        QCOMPARE(ReadAll(m_script).contains("[Action2]\r\nPath1=C:\\Photos\r\nPath2=F:\\Photos\r\nMask=*.doc\r\n"),
                 saves);
        QCOMPARE(dlg.isVisible(), !saves || command == u"&Load Script");
        QCOMPARE(dlg.Script().IsModified(), !saves && !dropped);
        QVERIFY(Tree().hasFocus() || command != u"Enter");
    }

    void openingWhatIsAtAPath_data()
    {
        QTest::addColumn<QString>("name");    // made in the test folder, or an absolute path
        QTest::addColumn<QString>("kind");    // "missing", "folder", "fifo", or the file's text
        QTest::addColumn<QString>("how");     // named at "start"-up, by "load" (Ctrl+O) or "drop"
        QTest::addColumn<QString>("message"); // what the user is told; empty: nothing
        QTest::addColumn<bool>("opens");      // the path becomes the script's
        for (const char *how : {"start", "load", "drop"}) {
            if (qstrcmp(how, "start") == 0)
                QTest::addRow("%s: not there yet", how) << "new.mbs"
                                                        << "missing" << how << "" << true;
            QTest::addRow("%s: a folder", how) << "folder.mbs"
                                               << "folder" << how << "is a folder, not a script." << false;
            QTest::addRow("%s: a pipe", how) << "pipe.mbs"
                                             << "fifo" << how << "is not a script file" << false;
            QTest::addRow("%s: a kernel file", how) << "/proc/self/status"
                                                    << "" << how << "is not a script file" << false;
            QTest::addRow("%s: no section header", how)
                << "binary.mbs"
                << "\x7f"
                   "ELF\x02\x01\nGarbage=1"
                << how << "holds no script sections: it may not be a script. A save keeps what it holds" << true;
            QTest::addRow("%s: empty", how) << "empty.mbs"
                                            << "" << how << "" << true;
            QTest::addRow("%s: an invalid date", how) << "dates.mbs"
                                                      << "[Action1]\nPath1=C:\\A\nMin Date Filter=31/02/2021\n"
                                                      << how << "31/02/2021" << true;
            QTest::addRow("%s: a name that is not UTF-8", how)
                << FileNameFromBytes("caf\xe9.mbs") << "[Action1]\nPath1=C:\\A\nMin Date Filter=32/01/2021\n"
                << how << "caf\\xe9.mbs\"" << true;
        }
    }

    void openingWhatIsAtAPath()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, how);
        QFETCH(QString, message);
        QFETCH(bool, opens);
        const bool load = how != u"start";
        const QString path = QDir::isAbsolutePath(name) ? name : Path(name);
        if (kind == u"folder")
            QVERIFY(QDir().mkdir(path));
        else if (kind == u"fifo") // a pipe nobody writes to: reading it would block the window
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind != u"missing" && !QDir::isAbsolutePath(name))
            Write(name, kind.toLatin1());
        QString edited; // a changed script, kept when the load fails
        if (load) {
            Open(m_script);
            ToggleDefault();
            edited = TreeOptionsDump(Tree());
            Ui().saveAnswers.push_back(SaveAnswer::Discard);
        }
        if (how == u"start") {
            Open(path);
        } else if (how == u"load") {
            Ui().fileChoices.push_back(path);
            Key(Qt::CTRL | Qt::Key_O);
        } else {
            QMimeData data;
            data.setUrls({QUrl::fromEncoded("file://" + FileNameBytes(path).value().toPercentEncoding("/"))});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&Dlg(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&Dlg(), &drop);
            QTRY_COMPARE(Ui().questions.size(), 1); // the question and the load come a moment later
        }
        QCOMPARE(Ui().messages.size(), qsizetype(message.isEmpty() ? 0 : 1));
        if (!message.isEmpty())
            QVERIFY2(Ui().messages[0].contains(message) && Ui().messages[0].contains(ShownFileName(path)),
                     qPrintable(Ui().messages[0]));
        QCOMPARE(Dlg().Script().Path(), opens ? path : load ? m_script : QString());
        if (!opens) // the script being edited stays, or a new one opens
            QCOMPARE(load ? TreeOptionsDump(Tree()) : RootNames().join(u' '),
                     load ? edited : QStringLiteral("Default Action1"));
        QCOMPARE(Dlg().Script().IsModified(), load && !opens);
        if (kind == u"missing") // a new script, as without a path
            QCOMPARE(RootNames(), QStringList({"Default", "Action1"}));
        if (opens) {
            // Nothing to undo; Save writes (or creates) it, Close asks nothing, nothing more is told.
            QCOMPARE(Title(), ShownFileName(QFileInfo(path).fileName()) + QStringLiteral(" \u2014 Script Editor"));
            const QString loaded = State();
            Key(Qt::CTRL | Qt::Key_Z);
            QCOMPARE(State(), loaded);
            Click(QStringLiteral("Save"));
            QVERIFY(kind != u"missing" || ReadAll(path).contains("[Action1]\r\n"));
            Click(QStringLiteral("Close"));
            QVERIFY(!Dlg().isVisible() && Ui().questions.size() == qsizetype(load));
            QCOMPARE(Ui().messages.size(), qsizetype(message.isEmpty() ? 0 : 1));
        }
    }

    void openingOffersBackALeftCopy_data()
    {
        QTest::addColumn<QString>("now"); // the file after the save was cut short: "torn", or whole: "old", "new"
        QTest::addColumn<QList<int>>("choices"); // the answers: Restore, Keep the file, Show both sizes and times
        QTest::newRow("restore") << "torn" << QList<int>{0};
        QTest::newRow("keep the file") << "torn" << QList<int>{1};
        QTest::newRow("sizes and times, then restore") << "torn" << QList<int>{2, 0};
        QTest::newRow("not answered, then saved") << "torn" << QList<int>{-1};
        QTest::newRow("whole: the old text") << "old" << QList<int>{};
        QTest::newRow("whole: the new text") << "new" << QList<int>{};
    }

    void openingOffersBackALeftCopy()
    {
        QFETCH(QString, now);
        QFETCH(QList<int>, choices);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(Path(QStringLiteral("cache"))));
        const QByteArray old = ReadAll(m_script),
                         fresh(old.size() * 2 - 20, ';'); // half of it: all but the last line gone
        SaveCutShort(m_script, fresh);
        const QByteArray torn = ReadAll(m_script);
        const QList<CSaveCopies::Copy> copies = CSaveCopies::LeftFor(m_script);
        QVERIFY(copies.size() == 1 && (now == u"torn" || m_s->Write(now == u"old" ? old : fresh) == m_script));
        Ui().choices.assign(choices.begin(), choices.end());
        Open(m_script);
        QCOMPARE(Ui().questions.size(), choices.size());
        QVERIFY(choices.isEmpty()
                || (Ui().questions[0].contains(copies[0].path) && Ui().questions[0].contains(m_script)));
        const QString sizes = Ui().messages.join(QString());
        QVERIFY(!choices.contains(2)
                || (sizes.contains(QStringLiteral(": %1 bytes").arg(torn.size()))
                    && sizes.contains(QStringLiteral(": %1 bytes").arg(old.size()))));
        const bool restored = choices.contains(0), kept = choices.contains(-1);
        QCOMPARE(RootNames() == kRoots, restored || now == u"old");
        QCOMPARE(QFile::exists(copies[0].path), kept); // unanswered, it is offered again, and named by each save
        if (now == u"torn")
            QCOMPARE(ReadAll(m_script), restored ? old : torn);
        Click(QStringLiteral("Save"));
        QCOMPARE(Ui().messages.filter(copies[0].path).size(), qsizetype(kept));
    }

    void selectionIsWhatCommandsActOn_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("current"); // the item selected afterwards; empty: none shows selected
        QTest::addColumn<QString>("moves");   // the move buttons that follow it
        QTest::newRow("a branch collapsed above the current item") << "collapse"
                                                                   << "Action1"
                                                                   << "Down";
        QTest::newRow("Ctrl+click on the current item") << "ctrl+click"
                                                        << "Action1"
                                                        << "Down";
        QTest::newRow("the last action deleted") << "delete"
                                                 << "Action1"
                                                 << "";
        QTest::newRow("a click below the rows") << "blank"
                                                << ""
                                                << "";
    }

    void selectionIsWhatCommandsActOn()
    {
        QFETCH(QString, how);
        QFETCH(QString, current);
        QFETCH(QString, moves);
        Open(m_script);
        Tree().setFocus();
        QTreeWidgetItem *root = Root(QStringLiteral("Action1"));
        if (how == u"collapse") {
            Select(QStringLiteral("Action1"), QStringLiteral("Source Path"));
            QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, Tree().ExpandButtonRect(root).center());
            QVERIFY(!root->isExpanded());
        } else if (how == u"delete") {
            root->setExpanded(false);
            Select(QStringLiteral("Action2"));
            Click(QStringLiteral("&Delete"));
        } else if (how == u"ctrl+click") {
            Select(QStringLiteral("Action1"));
            QTest::mouseClick(Tree().viewport(), Qt::LeftButton, Qt::ControlModifier, Tree().LabelRect(root).center());
        } else { // the highlight goes, a faint outline stays
            QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, Tree().LabelRect(root).center());
            QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, QPoint(5, Tree().viewport()->height() - 5));
        }
        QCOMPARE(MoveButtons(), moves);
        if (current.isEmpty()) { // nothing shows selected: no command acts
            QVERIFY(!Button(QStringLiteral("&Delete"))->isEnabled()
                    && !Button(QStringLiteral("Show &All"))->isEnabled());
            Key(Qt::Key_Delete);
            QCOMPARE(RootNames(), kRoots);
            return;
        }
        QCOMPARE(Tree().currentItem(), Root(current));
        QVERIFY(Tree().currentItem()->isSelected());
        // So Delete removes what shows selected.
        Click(QStringLiteral("&Delete"));
        QVERIFY(!Root(current));
    }

    void dropDownListShowsWholeEntries()
    {
        Open(m_script);
        Tree().setFocus();
        Select(QStringLiteral("Action1"), QStringLiteral("Operation"));
        QTest::keyClick(&Tree(), Qt::Key_Right);
        auto *combo = qobject_cast<QComboBox *>(QApplication::focusWidget());
        QVERIFY(combo);
        // A narrow window, in a style whose lists are as wide as their control.
        QStyle *style = QStyleFactory::create(QStringLiteral("Windows"));
        style->setParent(combo);
        combo->setStyle(style);
        combo->view()->setStyle(style);
        combo->resize(80, combo->height());
        combo->showPopup();
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i)
            widest = qMax(widest, combo->view()->fontMetrics().horizontalAdvance(combo->itemText(i)));
        QTRY_VERIFY(combo->view()->isVisible());
        QVERIFY2(combo->view()->viewport()->width() >= widest,
                 qPrintable(QStringLiteral("%1 < %2").arg(combo->view()->viewport()->width()).arg(widest)));
        combo->hidePopup();
    }

    void undoAndRedo_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("selected"); // root/setting made current first
        QTest::addColumn<bool>("newScript");   // on the new script (every setting shown), else the loaded one
        QTest::newRow("a value typed") << "type"
                                       << "Action1/Target Path" << false;
        QTest::newRow("a list choice") << "list"
                                       << "Action1/Operation" << false;
        QTest::newRow("a box by the space bar") << "space"
                                                << "Default/Include Subdirectories" << false;
        QTest::newRow("a box, clicked") << "click"
                                        << "Action1/Ignore Hidden Files" << true;
        QTest::newRow("a radio button, clicked") << "click"
                                                 << "Action1/Binary Compare Files" << true;
        QTest::newRow("Repeat Action") << "Ctrl+R"
                                       << "Action1" << false;
        QTest::newRow("New Action, the actions below renamed") << "&New Action"
                                                               << "Default" << false;
        QTest::newRow("New Action in the middle") << "Ctrl+N"
                                                  << "Action1/Source Path" << false;
        QTest::newRow("Delete an action") << "Delete"
                                          << "Action1" << false;
        QTest::newRow("Delete a setting") << "Delete"
                                          << "Action2/File Mask" << false;
        QTest::newRow("Delete Default") << "&Delete"
                                        << "Default" << false;
        QTest::newRow("Show All") << "Show &All"
                                  << "Action2/File Mask" << false;
        QTest::newRow("Move Up") << "Ctrl+Up"
                                 << "Action2" << false;
        QTest::newRow("Move Down") << "Move Do&wn"
                                   << "Action1" << false;
    }

    void undoAndRedo()
    {
        QFETCH(QString, edit);
        QFETCH(QString, selected);
        QFETCH(bool, newScript);
        Open(newScript ? QString() : m_script);
        Tree().setFocus();
        QTreeWidgetItem *item = Select(selected.section(u'/', 0, 0), selected.section(u'/', 1));
        const QString before = State();
        Tree().setCurrentItem(nullptr); // the editor opens again, as the user finds it
        Tree().setCurrentItem(item);
        if (edit == u"type") {
            TypeValue(selected.section(u'/', 0, 0), selected.section(u'/', 1), QStringLiteral("E:\\New"));
            Key(Qt::Key_Tab);
        } else if (edit == u"list") {
            Key(Qt::Key_Right);
            Key(Qt::Key_Down);
            Key(Qt::Key_Tab);
        } else if (edit == u"space") {
            Key(Qt::Key_Space);
        } else if (edit == u"click") {
            QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, Tree().LabelRect(item).center());
        } else if (edit.startsWith(u"Ctrl+") || edit == u"Delete") {
            Key(QKeySequence::fromString(edit)[0]);
        } else {
            Click(edit);
        }
        const QString after = State();
        QVERIFY(after != before);
        QVERIFY(Tree().currentItem()->isSelected());
        QVERIFY(Dlg().isWindowModified());
        Tree().setFocus();
        for (const QKeyCombination &redo :
             {QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeyCombination(Qt::CTRL | Qt::Key_Y)}) {
            Key(Qt::CTRL | Qt::Key_Z);
            QCOMPARE(State(), before);
            QVERIFY(Tree().currentItem()->isSelected());
            QVERIFY(!Dlg().isWindowModified());
            Key(redo);
            QCOMPARE(State(), after);
            QVERIFY(Dlg().isWindowModified());
        }
        // The records follow the tree: undone, the script is as loaded.
        Key(Qt::CTRL | Qt::Key_Z);
        QVERIFY(!Dlg().Script().IsModified());
    }

    void saveAsCleanPointAndEditorKeys()
    {
        CAppDlg &dlg = Open();
        // Ctrl+S asks for a name for a new script.
        const QString saved = Path(QStringLiteral("saved.mbs"));
        Ui().fileChoices.push_back(saved);
        Tree().setFocus();
        Key(Qt::CTRL | Qt::Key_S);
        QVERIFY(dlg.Script().Path() == saved && ReadAll(saved).contains("[Action1]"));
        QCOMPARE(Title(), QStringLiteral("saved.mbs \u2014 Script Editor"));
        // Save As: cancelled changes nothing; a name chosen becomes the script's.
        ToggleDefault();
        Ui().fileChoices.push_back(std::nullopt);
        Key(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QVERIFY(dlg.Script().Path() == saved);
        QCOMPARE(Title(), QStringLiteral("saved.mbs* \u2014 Script Editor"));
        const QString copy = Path(QStringLiteral("copy.mbs"));
        Ui().fileChoices.push_back(copy);
        Key(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QVERIFY(dlg.Script().Path() == copy && !dlg.isWindowModified());
        QVERIFY(ReadAll(copy).contains("Search_subdir=0") && !ReadAll(saved).contains("Search_subdir=0"));
        // It proposes the script's own name and folder.
        QCOMPARE(Ui().fileRequests.last().initialDir + u'/' + Ui().fileRequests.last().initialFile, saved);
        // Saved: the clean point moves there, and undo and redo step across it.
        Key(Qt::CTRL | Qt::Key_Z);
        QVERIFY(dlg.isWindowModified() && dlg.Script().IsModified());
        Key(Qt::CTRL | Qt::Key_Y);
        QVERIFY(!dlg.isWindowModified() && !dlg.Script().IsModified());
        // Undone, then a new edit: the saved state is out of reach.
        Key(Qt::CTRL | Qt::Key_Z);
        Select(QStringLiteral("Default"));
        Key(Qt::Key_Delete);
        QVERIFY(dlg.isWindowModified() && dlg.Script().IsModified());
        // F2 opens the value's editor, its caret at the end; Delete there belongs to the text.
        QTreeWidgetItem *mask =
            TypeValue(QStringLiteral("Action1"), QStringLiteral("File Mask"), QStringLiteral("*.txt"));
        Key(Qt::Key_Tab);
        Tree().CommitAndEndEdit();
        Key(Qt::Key_F2);
        auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(edit && edit->cursorPosition() == edit->text().size() && edit->text() == u"*.txt");
        Key(Qt::Key_Home);
        Key(Qt::Key_Delete);
        Key(Qt::Key_Tab);
        QCOMPARE(mask->text(0), QStringLiteral("File Mask: .txt"));
    }

    void contextMenu()
    {
        Open(m_script);
        QTreeWidgetItem *item = Select(QStringLiteral("Action1"));
        QStringList entries;
        QTimer::singleShot(0, &Dlg(), [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction *action : menu->actions())
                if (!action->isSeparator())
                    entries << action->text() + u'\t' + action->shortcut().toString()
                                   + (action->isEnabled() ? "" : " off");
            QTest::keyClick(menu, Qt::Key_D); // its mnemonic: Delete
        });
        const QPoint pos = Tree().visualItemRect(item).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, Tree().viewport()->mapToGlobal(pos));
        QApplication::sendEvent(Tree().viewport(), &event);
        // Nothing to undo yet; "Default" above is never swapped.
        QCOMPARE(entries, QStringList({"&Undo\tCtrl+Z off", "&Redo\tCtrl+Y off", "R&epeat Action\tCtrl+R",
                                       "&New Action\tCtrl+N", "&Delete\tDel", "Show &All\tCtrl+Shift+A",
                                       "Move U&p\tCtrl+Up off", "Move Do&wn\tCtrl+Down"}));
        QTRY_COMPARE(RootNames(), QStringList({"Default", "Action2"}));
    }

    void nextStartLooksAsLeft()
    {
        // The first start shows the names and origins of the values uncut.
        CAppDlg &dlg = Open(m_script);
        QTreeView &values = dlg.Insight().Values().List();
        QTRY_VERIFY(values.isVisible());
        for (int column : {0, 2})
            QVERIFY(values.header()->sectionSize(column)
                    >= static_cast<QAbstractItemView &>(values).sizeHintForColumn(column));
        QVERIFY(!values.horizontalScrollBar()->isVisible());
        // Resized, another script loaded: the next start looks the same, and Load Script's menu offers both, newest
        // first.
        Ui().fileChoices.push_back(m_other);
        Key(Qt::CTRL | Qt::Key_O);
        dlg.resize(dlg.size() + QSize(40, 30));
        values.header()->resizeSection(0, 77);
        const QSize size = dlg.size();
        Click(QStringLiteral("Close"));
        CAppDlg &again = Open();
        QVERIFY(again.size() == size && again.Insight().Values().List().header()->sectionSize(0) == 77);
        QStringList entries;
        QTimer::singleShot(0, &again, [&] {
            for (QAction *action : QApplication::activePopupWidget()->actions())
                entries << action->text();
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_2);
        });
        Button(QStringLiteral("&Load Script"))->setFocus();
        Key(Qt::Key_Down);
        QCOMPARE(entries, QStringList({"&1 " + m_other, "&2 " + m_script}));
        QTRY_COMPARE(again.Script().Path(), m_script);
        // An entry that no longer opens is told and leaves the menu; the script stays.
        QVERIFY(QFile::remove(m_other) && QDir().mkdir(m_other));
        QMenu *recent = again.findChild<QMenu *>(QString(), Qt::FindDirectChildrenOnly);
        emit recent->aboutToShow();
        recent->actions().value(1)->trigger();
        QVERIFY(Ui().messages.size() == 1 && again.Script().Path() == m_script);
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 1);
    }

    void wholeEditingRun()
    {
        // Default's box toggled; a new action below Action2 cut down to its first settings (what it inherits,
        // the unsaved edit of Default included), a source path typed, then moved up above Action2.
        CAppDlg &dlg = Open(m_script);
        CTreeOptionsCtrl &tree = Tree();
        ToggleDefault();
        Select(QStringLiteral("Action2"));
        QTest::keyClick(&dlg, Qt::Key_N, Qt::AltModifier); // the button clicks a moment later
        QTRY_VERIFY(Root(QStringLiteral("Action3")));
        QTreeWidgetItem *added = Root(QStringLiteral("Action3"));
        for (const char *group : {"Synchronization", "Output", "Filters"}) {
            Select(QStringLiteral("Action3"), group);
            Click(QStringLiteral("&Delete"));
        }
        TypeValue(QStringLiteral("Action3"), QStringLiteral("Source Path: "), QStringLiteral("C:\\New"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(tree.hasFocus()); // Tab takes the keyboard back to the tree
        tree.setCurrentItem(added);
        QTest::keyClick(&dlg, Qt::Key_U, Qt::AltModifier);
        QTRY_COMPARE(added->text(0), QStringLiteral("Action2"));
        QCOMPARE(tree.currentItem(), added);
        tree.setFocus(); // Enter saves and the editor stays
        QTest::keyClick(&tree, Qt::Key_Return);
        QCOMPARE(ReadAll(m_script), CrLf("[Default]\nMask=*.*\nSearch_subdir=0\n\n"
                                         "[Action1]\nPath1=C:\\Data\nPath2=E:\\Backup\nOperation=3\n\n"
                                         "[Action2]\nPath1=C:\\New\nMask=*.*\nSearch_subdir=0\nOperation=-1\n\n"
                                         "[Action3]\nPath1=C:\\Photos\nPath2=F:\\Photos\nMask=*.jpg\n"));
        QVERIFY(dlg.isVisible() && !dlg.Script().IsModified());
    }

private:
    ScriptedModalUi &Ui() const { return m_s->ui; }
    CAppDlg &Dlg() const { return *m_s->dialog; }
    CTreeOptionsCtrl &Tree() const { return m_s->dialog->Tree(); }
    QString Path(const QString &name) const { return m_s->dir.filePath(name); }
    QString Write(const QString &name, const QByteArray &text) const { return m_s->Write(CrLf(text), name); }
    CAppDlg &Open(const QString &path = QString()) const { return m_s->Open(path); }
    QAbstractButton *Button(const QString &text) const
    {
        for (QAbstractButton *button : Dlg().findChildren<QAbstractButton *>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    void Click(const QString &text) const { QTest::mouseClick(Button(text), Qt::LeftButton); }
    // The enabled move buttons: "Up Down", "Up", "Down" or "".
    QString MoveButtons() const
    {
        const QString up = Button(QStringLiteral("Move &Up"))->isEnabled() ? QStringLiteral("Up") : QString();
        const QString down = Button(QStringLiteral("Move Do&wn"))->isEnabled() ? QStringLiteral("Down") : QString();
        return (up + u' ' + down).trimmed();
    }
    QStringList RootNames() const
    {
        QStringList names;
        for (int i = 0; i < Tree().topLevelItemCount(); ++i)
            names << Tree().topLevelItem(i)->text(0);
        return names;
    }
    QTreeWidgetItem *Root(const QString &name) const { return Tree().findItems(name, Qt::MatchExactly).value(0); }
    QString Dump(const QString &root) const { return TreeOptionsDump(Tree(), Root(root)); }
    // Makes the root (expanded), or its first item starting with `label`, current.
    QTreeWidgetItem *Select(const QString &rootName, const QString &label = QString()) const
    {
        QTreeWidgetItem *root = Root(rootName), *item = label.isEmpty() ? root : Find(root, label);
        root->setExpanded(true);
        Tree().scrollToItem(item);
        Tree().setCurrentItem(item);
        return item;
    }
    QTreeWidgetItem *TypeValue(const QString &root, const QString &label, const QString &value) const
    {
        return ::TypeValue(Tree(), Select(root, label), value);
    }
    void ToggleDefault() const { ToggleDefaultSubfolders(Dlg()); }

    // The whole tree, the current item's path and the expanded items: what undo and redo must bring back.
    QString State() const
    {
        Tree().CommitAndEndEdit();
        QString state = TreeOptionsDump(Tree()) + QStringLiteral("current:");
        for (QTreeWidgetItem *item = Tree().currentItem(); item; item = item->parent())
            state += QStringLiteral(" / ") + item->text(0);
        state += QStringLiteral("\nexpanded:");
        for (QTreeWidgetItemIterator it(&Tree()); *it; ++it)
            if ((*it)->isExpanded())
                state += u' ' + (*it)->text(0);
        return state;
    }
    QString Title() const { return Dlg().windowHandle()->title(); }
    void Key(QKeyCombination key) const
    {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }

    std::unique_ptr<AppSession> m_s;
    QString m_startDir;
    QString m_script;
    QString m_other;
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
