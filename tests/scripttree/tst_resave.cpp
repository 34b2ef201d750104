// mbscript resave end to end: a script through the options tree and back,
// headless, with its exit statuses.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestResave : public QObject
{
    Q_OBJECT
private slots:
    void resave();
    void complete();
    void failures();

private:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
            ? file.fileName() : QString();
    }
    QByteArray Read(const QString &name)
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    // Runs "mbscript resave `arguments`" without a display; the exit code, the errors in `errors`.
    int Resave(const QStringList &arguments, QByteArray *errors = nullptr)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));  // mbscript picks its platform itself
        environment.remove(QStringLiteral("DISPLAY"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(MBSCRIPT_PATH), QStringList{QStringLiteral("resave")} + arguments);
        process.waitForFinished(60000);
        if (errors)
            *errors = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QTemporaryDir m_dir;
};

void TestResave::resave()
{
    // As read: nothing changes but the empty line closing each section.
    const QByteArray in = "; top\r\n[Action1]\r\nSearch_subdir=5\r\nOperation=-8\r\nFoo=bar\r\n[Options]\r\nx=1\r\n";
    QByteArray errors;
    QCOMPARE(Resave({Write("in.mbs", in), m_dir.filePath("out.mbs")}, &errors), 0);
    QCOMPARE(errors, QByteArray());
    QCOMPARE(Read("out.mbs"), QByteArray(in).replace("Foo=bar\r\n", "Foo=bar\r\n\r\n") + "\r\n");
}

void TestResave::complete()
{
    // Every root is completed; the action keeps its own setting and pins what it shows.
    QCOMPARE(Resave({"--complete", Write("in.mbs", "[Action1]\r\nReverse Filters=1\r\n"), m_dir.filePath("out.mbs")}), 0);
    const QByteArray out = Read("out.mbs");
    QCOMPARE(out.count("Search_subdir=1\r\nOperation=6\r\nCheck Same Size Files=0\r\n"), 2);
    QVERIFY(out.startsWith("[Default]\r\n") && out.contains("Reverse Filters=0\r\n\r\n[Action1]\r\n"));
    QVERIFY(out.endsWith("Allow Cancel=1\r\nSkip Files Mask=0\r\nIgnore Attributes=55\r\nReverse Filters=1\r\n\r\n"));
}

void TestResave::failures()
{
    // An unreadable script: status 1, named, the output untouched.
    QByteArray errors;
    const QString kept = Write("kept.mbs", "old");
    QCOMPARE(Resave({m_dir.filePath("missing.mbs"), kept}, &errors), 1);
    QVERIFY(errors.contains("missing.mbs"));
    QCOMPARE(Read("kept.mbs"), QByteArray("old"));
    // An output that cannot be written: status 3, named.
    QCOMPARE(Resave({Write("one.mbs", "[Action1]\r\n"), m_dir.filePath("no/such/out.mbs")}, &errors), 3);
    QVERIFY(errors.contains("out.mbs"));
    // A missing argument: status 2.
    QCOMPARE(Resave({kept}), 2);
}

QTEST_MAIN(TestResave)
#include "tst_resave.moc"
