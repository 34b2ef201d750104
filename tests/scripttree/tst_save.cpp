// Saving under attack: short writes, refused files, odd targets, kills, and mbscript resave.
// Every failure must leave the old file byte for byte and say why.

#include "ProgramRun.h"
#include "TestFiles.h"
#include "bench/ScriptGenerator.h"
#include "framework/FileSaver.h"
#include "framework/SaveCopies.h"
#include "framework/ScriptedModalUi.h"
#include "scripttree/ScriptRewriter.h"
#include "scripttree/ScriptSaver.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <climits>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// Writes stop after `limit` bytes, as on a full disk; the file's mode at the first write is noted.
struct ShortFile : QFile
{
    explicit ShortFile(qint64 limit) : m_limit(limit) {}
    qint64 writeData(const char *data, qint64 length) override
    {
        struct stat status
        {
        };
        if (s_firstMode < 0 && ::fstat(handle(), &status) == 0)
            s_firstMode = int(status.st_mode & 07777);
        const qint64 part = qMin(length, m_limit);
        m_limit -= part;
        return part > 0 ? QFile::writeData(data, part) : 0;
    }
    qint64 m_limit;
    static inline int s_firstMode = -1;
};

using Role = CFileSaver::Role;

// The owner, group, mode and extended attributes (ACLs among them) of the file at `path`.
QByteArray Identity(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat status
    {
    };
    char names[4096] = {}, value[4096];
    QByteArray text = QByteArray::number(::stat(native.constData(), &status)) + ' ' + QByteArray::number(status.st_uid)
                      + ':' + QByteArray::number(status.st_gid) + ' ' + QByteArray::number(status.st_mode & 07777, 8);
    QList<QByteArray> list =
        QByteArray(names, qMax<ssize_t>(::listxattr(native.constData(), names, sizeof names), 0)).split('\0');
    std::sort(list.begin(), list.end());
    for (const QByteArray &name : list)
        text +=
            ' ' + name + '='
            + QByteArray(value, qMax<ssize_t>(::getxattr(native.constData(), name, value, sizeof value), 0)).toHex();
    return text;
}

// Whether a child running as `uid` in `groups` (the first its own) saved `bytes` to `path`.
bool SaveAs(uid_t uid, const QList<gid_t> &groups, const QString &path, const QByteArray &bytes, const QString &cache)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(qputenv("XDG_CACHE_HOME", QFile::encodeName(cache))
                        && ::setgroups(size_t(groups.size()), groups.data()) == 0
                        && ::setresgid(groups[0], groups[0], groups[0]) == 0 && ::setresuid(uid, uid, uid) == 0
                    ? !CFileSaver().Save(path, bytes)
                    : 2);
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

const QByteArray kOld = "[Action1]\r\nPath1=C:\\old\r\nPath2=D:\\kept\r\n";

const QString kMbscript = QStringLiteral(MBSCRIPT_PATH);

// A child's environment: no display platform (mbscript picks its own), XDG_CACHE_HOME at `cache`.
QStringList Headless(const QString &cache)
{
    return {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("DISPLAY"), QStringLiteral("XDG_CACHE_HOME=") + cache};
}

} // namespace

class TestSave : public QObject
{
    Q_OBJECT
    ScriptedModalUi m_ui;
    QTemporaryDir m_cache;

private slots:
    void initTestCase()
    {
        SetModalUi(&m_ui);
        qputenv("XDG_CACHE_HOME", m_cache.path().toLocal8Bit());
    }

    void init() { m_ui.messages.clear(); }

    void shortWritesKeepTheOldFile_data()
    {
        QTest::addColumn<int>("how"); // 0 atomic, 1 atomic with a named new file, 2 in place (no new file may be made)
        QTest::addColumn<bool>("noCopy"); // nor may a copy of the old file be kept
        QTest::addColumn<int>("newSize");
        QTest::addColumn<int>("limit"); // where the writes stop; at newSize, the save succeeds
        for (int how : {0, 1, 2})
            for (int newSize : {int(kOld.size()) / 2, int(kOld.size()) * 3, 100000})
                for (int limit : {0, 1, newSize / 2, newSize - 1, newSize})
                    QTest::addRow("%s, %d of %d bytes",
                                  how == 2 ? "in place"
                                  : how    ? "named"
                                           : "atomic",
                                  limit, newSize)
                        << how << false << newSize << limit;
        // Without a copy no save in place is tried: the old file is all there is.
        QTest::newRow("in place without a copy") << 2 << true << 3 << 3;
    }

    void shortWritesKeepTheOldFile()
    {
        QFETCH(int, how);
        QFETCH(bool, noCopy);
        QFETCH(int, newSize);
        QFETCH(int, limit);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("target.mbs"));
        QVERIFY(WriteAll(path, kOld) && ::chmod(QFile::encodeName(path).constData(), 0640) == 0);
        CFileSaver saver([&](Role role) -> std::unique_ptr<QFile> {
            if (how == 2 && (role == Role::Temporary || (noCopy && role == Role::Copy)))
                return nullptr;
            return role == (how == 2 ? Role::Target : Role::Temporary) ? std::make_unique<ShortFile>(limit)
                                                                       : std::make_unique<QFile>();
        });
        if (how == 1)
            saver.UseNamedFiles();
        const bool whole = limit == newSize && !noCopy;
        ShortFile::s_firstMode = -1;
        QVERIFY2(saver.Save(path, QByteArray(newSize, 'n')) == whole, qPrintable(saver.Cause()));
        QCOMPARE(ShortFile::s_firstMode, noCopy ? -1 : 0640); // the new file is no one else's from its first byte
        QCOMPARE(ReadAll(path), whole ? QByteArray(newSize, 'n') : kOld);
        const QString cause = saver.Cause(); // the short write counted, or the folders that refused a file named
        QVERIFY2(whole
                     || (cause.contains(QLatin1String("old file is unchanged."))
                         && (noCopy ? cause.contains(dir.path()) && cause.contains(CSaveCopies::Folder())
                                    : cause.contains(QStringLiteral("Only %1 of %2 bytes").arg(limit).arg(newSize)))),
                 qPrintable(cause));
        QCOMPARE(Entries(dir.path()), QStringList{QStringLiteral("target.mbs")}); // no temporary left
        QCOMPARE(Entries(CSaveCopies::Folder()).size(), 0);                       // the copy is gone
    }

    void targetsThatAreNoPlainFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cause"); // in the message; empty: the save succeeds
        QTest::newRow("folder") << "folder"
                                << "folder";
        QTest::newRow("missing parent folder") << "missing"
                                               << "does not exist";
        QTest::newRow("FIFO") << "fifo"
                              << "";
        QTest::newRow("device node") << "device"
                                     << "";
        QTest::newRow("symbolic link") << "link"
                                       << "";
    }

    void targetsThatAreNoPlainFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("target.mbs"));
        const QByteArray path8 = QFile::encodeName(path);
        int reader = -1;
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        else if (kind == QLatin1String("missing"))
            path = dir.filePath(QStringLiteral("gone/target.mbs"));
        else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(path8.constData(), 0600), 0);
            reader = ::open(path8.constData(), O_RDONLY | O_NONBLOCK);
        } else if (kind == QLatin1String("device")) {
            if (::mknod(path8.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) // the null device
                QSKIP("This machine does not let the test make a device node (mknod needs CAP_MKNOD).");
        } else {
            QVERIFY(WriteAll(dir.filePath(QStringLiteral("real.mbs")), kOld));
            QVERIFY(QFile::link(QStringLiteral("real.mbs"), path));
        }
        const QStringList before = Entries(dir.path());
        struct stat was
        {
        }, now{};
        ::lstat(path8.constData(), &was);
        const QByteArray fresh = "[Action1]\r\nPath1=new\r\n";
        const bool saved = CScriptSaver().Save(fresh, false, path);
        QCOMPARE(saved, cause.isEmpty());
        QCOMPARE(m_ui.messages.size(), saved ? 0 : 1);
        if (!saved)
            QVERIFY2(m_ui.messages[0].contains(path) && m_ui.messages[0].contains(cause), qPrintable(m_ui.messages[0]));
        QCOMPARE(Entries(dir.path()), before); // nothing replaced, nothing left
        ::lstat(path8.constData(), &now);
        QVERIFY(now.st_mode == was.st_mode && now.st_ino == was.st_ino); // still a folder, FIFO, device or link
        char got[64] = {};
        QVERIFY(reader < 0 || (QByteArray(got, ::read(reader, got, sizeof got)) == fresh && ::close(reader) == 0));
        if (kind == QLatin1String("link"))
            QCOMPARE(ReadAll(dir.filePath(QStringLiteral("real.mbs"))), fresh);
    }

    void filesKeepWhatTheyAreAndWhoseTheyAre_data()
    {
        // Saved by `saver` (0: this process) in a folder 0775 root:2000.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<uint>("saver");
        QTest::addColumn<bool>("saved");
        QTest::newRow("set-group-ID file of a group, saved by its owner") << "setgid" << 1001u << true;
        QTest::newRow("another's file, saved by a member of its group") << "group" << 1002u << true;
        QTest::newRow("ACL and extended attribute") << "acl" << 0u << true;
        QTest::newRow("two names") << "hard link" << 0u << true;
        QTest::newRow("another user's link in a sticky folder") << "link" << 0u << false;
    }

    void filesKeepWhatTheyAreAndWhoseTheyAre()
    {
        QFETCH(QString, kind);
        QFETCH(uint, saver);
        QFETCH(bool, saved);
        if (::geteuid() != 0 && kind != u"hard link")
            QSKIP("Only root can give files to other users and groups.");
        if (kind == u"link" && ReadAll(QStringLiteral("/proc/sys/fs/protected_symlinks")) != "1\n")
            QSKIP("The kernel does not protect links in shared folders here (fs.protected_symlinks is not 1).");
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("shared")), path = folder + QStringLiteral("/notes.mbs");
        const QString cache = dir.filePath(QStringLiteral("cache")),
                      victim = dir.filePath(QStringLiteral("precious.conf"));
        QVERIFY(QDir().mkdir(folder) && QDir().mkdir(cache) && WriteAll(kind == u"link" ? victim : path, kOld));
        const QByteArray p = QFile::encodeName(path), f = QFile::encodeName(folder);
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0
                && ::chmod(QFile::encodeName(cache).constData(), 0777) == 0
                && (::chown(f.constData(), 0, 2000) == 0 || ::geteuid() != 0)
                && ::chmod(f.constData(), kind == u"link" ? 01777 : 0775) == 0);
        if (kind == u"setgid" || kind == u"group")
            QVERIFY(::chown(p.constData(), 1001, 2000) == 0
                    && ::chmod(p.constData(), kind == u"group" ? 0660 : 02770) == 0);
        else if (kind == u"acl")
            QVERIFY(
                QProcess::execute(QStringLiteral("setfacl"), {QStringLiteral("-m"), QStringLiteral("u:1005:rw"), path})
                    == 0
                && ::setxattr(p.constData(), "user.origin", "backup host", 11, 0) == 0);
        else if (kind == u"hard link")
            QCOMPARE(::link(p.constData(), QFile::encodeName(folder + QStringLiteral("/other.mbs")).constData()), 0);
        else
            QVERIFY(::symlink(QFile::encodeName(victim).constData(), p.constData()) == 0
                    && ::lchown(p.constData(), 1005, 1005) == 0);
        const QString file = kind == u"link" ? victim : path;
        const QByteArray before = Identity(file), fresh = "[Action1]\r\nPath1=new\r\n";
        CFileSaver own;
        QCOMPARE(saver == 0 ? own.Save(path, fresh) : SaveAs(saver, {saver, 2000}, path, fresh, cache), saved);
        QCOMPARE(ReadAll(file), saved ? fresh : kOld);
        QCOMPARE(Identity(file), before);
        QVERIFY2(saved || own.Cause() == QStringLiteral("Permission denied. The old file is unchanged."),
                 qPrintable(own.Cause()));
        if (kind == u"hard link")
            QCOMPARE(ReadAll(folder + QStringLiteral("/other.mbs")), fresh);
        QCOMPARE(Entries(folder).size(), kind == u"hard link" ? 2 : 1); // nothing left beside it
    }

    void foldersWithoutCreatePermission_data()
    {
        // mbscript run as another user in a folder it may not add files to.
        QTest::addColumn<bool>("scriptWritable");
        QTest::addColumn<qint64>("fileLimit"); // bytes the disk takes in all
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("messageParts");
        QTest::newRow("saved in place") << true << (qint64(1) << 30) << 0 << QStringList{};
        QTest::newRow("disk full in place")
            << true << qint64(512) << 3 << QStringList{"out.mbs", "no room", "unchanged"};
        QTest::newRow("read-only script")
            << false << (qint64(1) << 30) << 3 << QStringList{"out.mbs", "Permission denied", "unchanged"};
    }

    void foldersWithoutCreatePermission()
    {
        QFETCH(bool, scriptWritable);
        QFETCH(qint64, fileLimit);
        QFETCH(int, exitCode);
        QFETCH(QStringList, messageParts);
        if (::geteuid() != 0)
            QSKIP("Only root can make a folder another user may not create files in.");
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.mbs")), out = dir.filePath(QStringLiteral("out.mbs")),
                      cache = dir.filePath(QStringLiteral("cache"));
        // A script much longer than the old one, so that it needs more room; no new files for others.
        QVERIFY(WriteAll(in, CScriptGenerator::Encode(CScriptGenerator(7).Generate(40), ScriptEncoding::Ansi))
                && WriteAll(out, kOld) && QDir().mkdir(cache));
        QVERIFY(::chown(QFile::encodeName(cache).constData(), 65534, 65534) == 0
                && ::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0
                && ::chmod(QFile::encodeName(out).constData(), scriptWritable ? 0666 : 0444) == 0
                && ::chmod(QFile::encodeName(in).constData(), 0644) == 0);
        // As the user "nobody", writes beyond `fileLimit` bytes fail as on a full disk (SIGXFSZ ignored: EFBIG).
        const ProgramRun run = RunProgram(QStringLiteral("/bin/sh"),
                                          {"-c",
                                           QStringLiteral("trap '' XFSZ; ulimit -f %1; exec setpriv "
                                                          "--reuid=65534 --regid=65534 --clear-groups \"$0\" \"$@\"")
                                               .arg(fileLimit / 512),
                                           kMbscript, "resave", in, out},
                                          Headless(cache));
        if (run.err.contains("setpriv"))
            QSKIP(qPrintable(QStringLiteral("Cannot run as another user here: ") + QString::fromLocal8Bit(run.err)));
        QVERIFY2(run.exitCode == exitCode, run.err.constData());
        for (const QString &part : messageParts)
            QVERIFY2(QString::fromLocal8Bit(run.err).contains(part, Qt::CaseInsensitive), run.err.constData());
        QVERIFY(exitCode != 0 ? ReadAll(out) == kOld : ReadAll(out).startsWith("[Default]"));
        QCOMPARE(Entries(dir.path()).size(), 3); // in, out, cache: nothing left
        QCOMPARE(Entries(cache + QStringLiteral("/marrowpad")).size(), 0);
    }

    void mbscriptResave()
    {
        // "-" reads standard input and writes standard output. As read, nothing changes; with
        // --normalize, an empty line closes each section; with --complete, every root is completed first.
        QTemporaryDir dir;
        const auto resave = [&](const QStringList &arguments, const QByteArray &input = {}) {
            return RunProgram(kMbscript, QStringList{"resave"} + arguments, Headless(dir.path()), input);
        };
        const QByteArray script =
            "; top\r\n[Action1]\r\nSearch_subdir=5\r\nOperation=-8\r\nFoo=bar\r\n[Options]\r\nx=1\r\n";
        const ProgramRun piped = resave({"-", "-"}, script);
        QVERIFY2(piped.exitCode == 0 && piped.err.isEmpty(), piped.err.constData());
        QCOMPARE(piped.out, script);
        QCOMPARE(resave({"--normalize", "-", "-"}, script).out,
                 QByteArray(script).replace("Foo=bar\r\n", "Foo=bar\r\n\r\n") + "\r\n");
        QCOMPARE(Entries(dir.path()).size(), 0);
        const QString in = dir.filePath(QStringLiteral("in.mbs")), out = dir.filePath(QStringLiteral("out.mbs"));
        QVERIFY(WriteAll(in, script));
        CTreeOptionsCtrl tree;
        QCOMPARE(CScriptRewriter(tree, true).Rewrite(in, out), CScriptRewriter::Result::Written);
        QCOMPARE(resave({"--complete", in, "-"}).out, ReadAll(out));
        // /proc files say they are empty; this one holds lines, no section.
        const ProgramRun fromProc = resave({"/proc/self/status", "-"});
        QVERIFY2(fromProc.exitCode == 0 && fromProc.out.contains("Name:"), fromProc.out.constData());
        // A code page that cannot hold what it read: the whole script again as UTF-16LE, its invalid date told once.
        QVERIFY(WriteAll(in, "[Action1]\r\nPath1=a\x80\r\nMin Date Filter=x\r\n[Action2]\r\nPath1=c\r\n"));
        qputenv("MARROWPAD_CODEPAGE", "932");
        const ProgramRun undecodable = resave({in, out});
        qunsetenv("MARROWPAD_CODEPAGE");
        QCOMPARE(undecodable.exitCode, 0);
        QCOMPARE(ReadAll(out),
                 CScriptGenerator::Encode(QStringLiteral("[Action1]\r\nPath1=a\uFFFD\r\nMin Date Filter=x\r\n"
                                                         "[Action2]\r\nPath1=c\r\n"),
                                          ScriptEncoding::Utf16Le));
        QVERIFY(undecodable.err.count("Invalid date") == 1 && undecodable.err.contains("Unicode"));
        // Statuses: 1 an unreadable script, named; 2 a missing argument (3, an unwritable output, above).
        const ProgramRun missing = resave({dir.filePath(QStringLiteral("missing.mbs")), out});
        QVERIFY(missing.exitCode == 1 && missing.err.contains("missing.mbs"));
        QCOMPARE(resave({in}).exitCode, 2);
    }

    void descriptorPathsAreWrittenWhereTheyStand_data()
    {
        // A shell line run where in.mbs is, and what `log` then holds; S stands for the script.
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("log");
        for (const char *out : {"/dev/fd/1", "/proc/self/fd/1", "/proc/$$/fd/1", "/dev/stdout", "//dev/./fd/1"})
            QTest::addRow("%s >> log", out)
                << QStringLiteral("printf 'l1\\nl2\\n' > log; exec \"$0\" resave in.mbs %1 >> log")
                       .arg(QLatin1String(out))
                << QByteArray("l1\nl2\nS");
        QTest::newRow("/dev/stderr 2>> log")
            << "echo l1 > log; \"$0\" resave in.mbs /dev/stderr 2>> log" << QByteArray("l1\nS");
        QTest::newRow("between two lines")
            << "{ echo a; \"$0\" resave in.mbs /dev/fd/1; echo b; } > log" << QByteArray("a\nSb\n");
    }

    void descriptorPathsAreWrittenWhereTheyStand()
    {
        QFETCH(QString, line);
        QFETCH(QByteArray, log);
        QTemporaryDir dir;
        QVERIFY(WriteAll(dir.filePath(QStringLiteral("in.mbs")), kOld));
        QProcess shell;
        shell.setProcessEnvironment(ChildEnvironment(Headless(m_cache.path())));
        shell.setWorkingDirectory(dir.path());
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), line, kMbscript});
        QVERIFY(shell.waitForFinished() && shell.exitCode() == 0);
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("log"))), log.replace("S", kOld));
    }

    void killedSaveLeavesOldOrNewScript()
    {
        // A child saving a large script over an old one, killed at random moments,
        // leaves the file the whole old or the whole new script.
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.mbs")), out = dir.filePath(QStringLiteral("out.mbs")),
                      reference = dir.filePath(QStringLiteral("reference.mbs"));
        const QByteArray old = CScriptGenerator::Encode(CScriptGenerator(1).Generate(1000), ScriptEncoding::Utf16Le);
        QVERIFY(WriteAll(in, CScriptGenerator::Encode(CScriptGenerator(2).Generate(2000), ScriptEncoding::Utf16Le)));
        QCOMPARE(RunProgram(kMbscript, {QStringLiteral("resave"), in, reference}, Headless(m_cache.path())).exitCode,
                 0);
        const QByteArray saved = ReadAll(reference);
        QVERIFY(saved.size() > 1000000 && saved != old);
        const QStringList files{"in.mbs", "out.mbs", "reference.mbs"};
        for (int run = 0; run < 20; ++run) {
            QVERIFY(WriteAll(out, old));
            QProcess child;
            child.setProcessEnvironment(ChildEnvironment(Headless(m_cache.path())));
            child.start(kMbscript, {QStringLiteral("resave"), in, out});
            QVERIFY(child.waitForStarted());
            // Killed a random moment after it starts writing: mid-write, at the rename, or after it.
            const QString fds = QStringLiteral("/proc/%1/fd").arg(child.processId());
            auto writing = [&] {
                for (const QFileInfo &fd : QDir(fds).entryInfoList(QDir::Files | QDir::System))
                    if (fd.symLinkTarget().startsWith(dir.path())
                        && !fd.symLinkTarget().endsWith(QLatin1String("in.mbs")))
                        return true;
                return false;
            };
            while (!child.waitForFinished(0) && !writing())
                QThread::usleep(200);
            QThread::usleep(ulong(QRandomGenerator::global()->bounded(30000)));
            // An ended child has no id, and killing 0 would end this test's process group.
            if (child.state() != QProcess::NotRunning)
                child.kill();
            child.waitForFinished();
            const QByteArray now = ReadAll(out);
            QVERIFY2(now == old || now == saved,
                     qPrintable(QStringLiteral("run %1: %2 bytes").arg(run).arg(now.size())));
            // Only a kill between naming the new file and the rename leaves it behind, whole.
            const QStringList left = QStringList(Entries(dir.path())).filter(QStringLiteral(".saving"));
            QVERIFY(left.size() <= 1);
            if (!left.isEmpty())
                QCOMPARE(ReadAll(dir.filePath(left.first())), saved);
            QCOMPARE(Entries(dir.path()).size(), files.size() + left.size());
        }
        // The next save removes that name, and no file of the user's named alike.
        for (const char *name : {".out.mbs.backup.saving", ".out.mbs.v2.saving"})
            QVERIFY(WriteAll(dir.filePath(QLatin1String(name)), kOld));
        QCOMPARE(RunProgram(kMbscript, {QStringLiteral("resave"), in, out}, Headless(m_cache.path())).exitCode, 0);
        QCOMPARE(Entries(dir.path()), QStringList({".out.mbs.backup.saving", ".out.mbs.v2.saving"}) + files);
    }
};

QTEST_MAIN(TestSave)
#include "tst_save.moc"
