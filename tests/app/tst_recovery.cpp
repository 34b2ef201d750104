// Unsaved edits kept for recovery: the file's format and place, its life beside the editor, and edits offered
// back after the editor was killed. Started with "--edit SCRIPT", this program is that editor: it edits, waits
// until its recovery file holds the edits, prints the script Save would write and "ready", and runs until killed.

#include "AppSession.h"
#include "app/RecoveryFile.h"
#include "app/RecoveryOffer.h"
#include "framework/Clock.h"
#include "script/SynchArray.h"
#include "scripttree/ScriptSaver.h"
#include "scripttree/ScriptWriter.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kScript = "[Default]\r\nMask=*.*\r\nSearch_subdir=0\r\n\r\n[Action1]\r\nPath1=C:\\Data\r\n"
                           "Path2=E:\\Backup\r\n\r\n[Action2]\r\nPath1=C:\\Photos\r\nSearch_subdir=1\r\n\r\n";

unsigned Mode(const QString &path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

QByteArray SaveBytes(const CAppDlg &dlg)
{
    CScriptWriter writer(dlg.Script().Baseline(), dlg.Tree());
    bool unicode = false;
    return CScriptSaver::EncodeScript(writer, dlg.Script().Baseline().m_ScriptFile.Encoding(), unicode);
}

bool RecoveryIsCurrent(const CAppDlg &dlg)
{
    const std::optional<RecoveryContents> contents = CRecoveryFile::Parse(ReadAll(dlg.Script().Recovery().FilePath()));
    return contents && contents->script == SaveBytes(dlg);
}

// The killed editor's run: a target path typed, Default's box toggled, an action added and moved up.
int EditAndWait(const char *path)
{
    ScriptedModalUi ui;
    ScopedModalUi install(ui);
    CAppDlg dlg(QFile::decodeName(path));
    dlg.show();
    if (!QTest::qWaitForWindowActive(&dlg))
        return 2;
    dlg.Tree().topLevelItem(1)->setExpanded(true);
    TypeValue(dlg.Tree(), Find(dlg.Tree().topLevelItem(1), QStringLiteral("Target Path: ")),
              QStringLiteral("E:\\Mirror"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ToggleDefaultSubfolders(dlg);
    QTest::keyClick(&dlg, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&dlg, Qt::Key_Up, Qt::ControlModifier);
    while (!RecoveryIsCurrent(dlg))
        QTest::qWait(20);
    std::fputs((SaveBytes(dlg) + "ready\n").constData(), stdout);
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT
private slots:
    void format_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("damage"); // bytes cut (-) or added (+)
        QTest::newRow("a script") << QByteArray("/home/u/backup.mbs") << 0;
        QTest::newRow("any bytes in its name") << QByteArray("/tmp/a\nb: %41\xe9.mbs") << 0;
        QTest::newRow("a new script") << QByteArray() << 0;
        QTest::newRow("cut short") << QByteArray("/s.mbs") << -1;
        QTest::newRow("grown") << QByteArray("/s.mbs") << 1;
    }

    void format()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, damage);
        const RecoveryContents contents{path, QDateTime(QDate(2024, 5, 1), QTime(12, 2, 3, 4), Qt::UTC),
                                        QByteArray("\xff\xfe[\0D\0\n\0", 8) + kScript};
        QByteArray bytes = CRecoveryFile::Format(contents);
        bytes.resize(bytes.size() + damage, '\n');
        const std::optional<RecoveryContents> read = CRecoveryFile::Parse(bytes);
        QCOMPARE(read.has_value(), damage == 0);
        QVERIFY(!read || *read == contents);
        QVERIFY(!CRecoveryFile::Parse(contents.script));
    }

    void place_data()
    {
        QTest::addColumn<QString>("stateHome"); // "/..." under the temporary folder; "" unset
        QTest::addColumn<QString>("folder");    // under the temporary folder
        QTest::addColumn<int>("madeBefore");    // the mode of a folder there before, or 0
        QTest::addColumn<bool>("someoneElses");
        QTest::newRow("the state folder") << "/state"
                                          << "state/marrowpad" << 0 << false;
        QTest::newRow("empty: under home") << ""
                                           << "home/.local/state/marrowpad" << 0 << false;
        QTest::newRow("relative: ignored") << "state"
                                           << "home/.local/state/marrowpad" << 0 << false;
        QTest::newRow("open folder closed") << "/state"
                                            << "state/marrowpad" << 0755 << false;
        QTest::newRow("another user's folder") << "/state"
                                               << "state/marrowpad" << 0700 << true;
    }

    void place()
    {
        QFETCH(QString, stateHome);
        QFETCH(QString, folder);
        QFETCH(int, madeBefore);
        QFETCH(bool, someoneElses);
        if (someoneElses && ::geteuid() != 0)
            QSKIP("giving the folder to another user needs root");
        QTemporaryDir dir;
        const QString expected = dir.filePath(folder);
        qputenv("HOME", QFile::encodeName(dir.filePath(QStringLiteral("home"))));
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.startsWith(u'/') ? dir.path() + stateHome : stateHome));
        const QByteArray native = QFile::encodeName(expected);
        if (madeBefore)
            QVERIFY(QDir().mkpath(expected) && ::chmod(native.constData(), madeBefore) == 0
                    && (!someoneElses || ::chown(native.constData(), 65534, 65534) == 0));
        const mode_t mask = ::umask(0);
        const CRecoveryFile::Claim claim = CRecoveryFile::ClaimSlots("/s.mbs", true);
        QString cause;
        const bool written = claim.own && claim.own->Write({"/s.mbs", QDateTime::currentDateTimeUtc(), kScript}, cause);
        ::umask(mask);
        QCOMPARE(written, !someoneElses);
        QCOMPARE(claim.cause.contains(QStringLiteral("belongs to another user")), someoneElses);
        if (written)
            QVERIFY(QFileInfo(claim.own->Path()).absolutePath() == expected && Mode(expected) == 0700
                    && Mode(claim.own->Path()) == 0600);
    }

    void keptUntilSavedOrDropped_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::newRow("saved") << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("undone to the saved script") << QKeySequence(Qt::CTRL | Qt::Key_Z);
        QTest::newRow("closed without saving") << QKeySequence(Qt::Key_Escape);
        QTest::newRow("another script loaded without saving") << QKeySequence(Qt::CTRL | Qt::Key_O);
    }

    void keptUntilSavedOrDropped()
    {
        QFETCH(QKeySequence, key);
        AppSession s;
        QByteArray script = kScript; // long enough to be written in several slices
        for (int i = 3; i < 250; ++i)
            script += "[Action" + QByteArray::number(i) + "]\r\nPath1=C:\\" + QByteArray::number(i) + "\r\n\r\n";
        CAppDlg &dlg = s.Open(s.Write(script));
        ToggleDefaultSubfolders(dlg);
        QTRY_VERIFY(RecoveryIsCurrent(dlg));
        const QString recovery = dlg.Script().Recovery().FilePath();
        QCOMPARE(Mode(recovery), 0600u);
        s.ui.saveAnswers.push_back(SaveAnswer::Discard); // not saved
        s.ui.fileChoices.push_back(s.Write(kScript, QStringLiteral("other.mbs")));
        QTest::keySequence(&dlg, key);
        QTRY_VERIFY(!QFile::exists(recovery));
        QVERIFY(QDir(QFileInfo(recovery).path()).entryList({QStringLiteral("*.recovery")}).isEmpty());
    }

    void offeredAfterAKill_data()
    {
        QTest::addColumn<RecoveryAnswer>("answer");
        QTest::addColumn<bool>("named");
        QTest::addColumn<QString>("meanwhile"); // before the kill
        QTest::addColumn<QString>("changes");
        const QString changes = QStringLiteral("Default changed, 2 actions changed, 1 action added.");
        QTest::newRow("recovered") << RecoveryAnswer::Recover << true << "" << changes;
        QTest::newRow("discarded") << RecoveryAnswer::Discard << true << "" << changes;
        QTest::newRow("left for later") << RecoveryAnswer::Later << true << "" << changes;
        QTest::newRow("a new script recovered") << RecoveryAnswer::Recover << false << ""
                                                << QStringLiteral("Default changed, 1 action changed, 1 action added.");
        QTest::newRow("the file saved since")
            << RecoveryAnswer::Recover << true << "save"
            << changes + QStringLiteral(" The file has been saved since they were made.");
        QTest::newRow("a second editor came and went") << RecoveryAnswer::Recover << true << "second editor" << changes;
    }

    void offeredAfterAKill()
    {
        QFETCH(RecoveryAnswer, answer);
        QFETCH(bool, named);
        QFETCH(QString, meanwhile);
        QFETCH(QString, changes);
        AppSession s;
        const QString path = named ? s.Write(kScript) : QString();
        const QByteArray opened = named ? kScript : SaveBytes(CAppDlg());
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--edit"), path});
        QByteArray edited;
        while (!edited.endsWith("ready\n") && child.waitForReadyRead(60000))
            edited += child.readAllStandardOutput();
        QVERIFY2(edited.endsWith("ready\n"), child.readAllStandardError().constData());
        edited.chop(6);
        if (meanwhile == QStringLiteral("save"))
            s.Write(kScript);
        if (meanwhile == QStringLiteral("second editor")) {
            // It is not offered the running editor's edits, and keeps and drops its own beside them.
            ToggleDefaultSubfolders(s.Open(path));
            QTRY_VERIFY(RecoveryIsCurrent(*s.dialog));
            s.ui.saveAnswers.push_back(SaveAnswer::Discard);
            QTest::keyClick(s.dialog.get(), Qt::Key_Escape);
            QTRY_VERIFY(!QFile::exists(s.dialog->Script().Recovery().FilePath()) && s.ui.questions.size() == 1);
            s.dialog.reset();
            s.ui.questions.clear();
        }
        child.kill(); // SIGKILL: nothing of the editor's own runs after it
        QVERIFY(child.waitForFinished() && child.exitStatus() == QProcess::CrashExit);

        s.ui.choices = {int(answer), int(RecoveryAnswer::Discard)};
        CAppDlg &dlg = s.Open(path);
        QVERIFY2(s.ui.questions.value(0).contains(QRegularExpression(QStringLiteral("unsaved edits of \\d\\d:\\d\\d: ")
                                                                     + QRegularExpression::escape(changes))),
                 qPrintable(s.ui.questions.value(0)));
        const bool recovered = answer == RecoveryAnswer::Recover;
        QCOMPARE(SaveBytes(dlg), recovered ? edited : opened);
        QCOMPARE(dlg.isWindowModified(), recovered);
        if (recovered) {
            // One step: Undo returns to the script as saved, and its file goes.
            QTest::keyClick(&dlg, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY(SaveBytes(dlg) == opened && !dlg.isWindowModified());
        }
        // Only edits left for later are offered again (and discarded).
        s.dialog.reset();
        s.Open(path);
        QCOMPARE(s.ui.questions.size(), answer == RecoveryAnswer::Later ? 2 : 1);
        QVERIFY(
            QDir(s.StateFolder() + QStringLiteral("/marrowpad")).entryList({QStringLiteral("*.recovery")}).isEmpty());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--edit") == 0)
        return EditAndWait(argv[2]);
    TestRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
