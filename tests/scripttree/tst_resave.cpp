// mbscript resave end to end: a script through the options tree and back,
// headless, with its exit statuses.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode;
    QByteArray errors;
};

Run Resave(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));  // mbscript picks its platform itself
    environment.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MBSCRIPT_PATH), QStringList{QStringLiteral("resave")} + arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardError()};
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestResave : public QObject
{
    Q_OBJECT
private slots:
    void resave_data();
    void resave();
    void failures();

private:
    QTemporaryDir m_dir;
};

void TestResave::resave_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    const QByteArray script = "; top\r\n[Action1]\r\nSearch_subdir=5\r\nOperation=-8\r\nFoo=bar\r\n[Options]\r\nx=1\r\n";
    QTest::newRow("as read") << QStringList() << script << QByteArray(script).replace("Foo=bar\r\n", "Foo=bar\r\n\r\n") + "\r\n";
    QTest::newRow("complete")
        << QStringList{"--complete"} << QByteArray("[Action1]\r\nReverse Filters=1\r\n")
        << QByteArray("[Default]\r\nSearch_subdir=1\r\nOperation=6\r\nCheck Same Size Files=0\r\n"
                      "Ignore Whitespace Compare=0\r\nIgnore Case Compare=0\r\nConfirm Updates=1\r\nGroup Files=0\r\n"
                      "Case Sensitive=0\r\nMatch In Subdir=0\r\nOlder Overwrite=1\r\nNewer Overwrite=0\r\n"
                      "Use OS Operations=0\r\nAlways Show Archives in 1 Dir View=0\r\nShow Identical=1\r\n"
                      "Show Different=1\r\nShow Files in 1 Dir=1\r\nSort Type=1\r\nAppend to Output File=1\r\n"
                      "Show progress=1\r\nDisplay Error Messages=1\r\nAllow Cancel=1\r\nReverse Filters=0\r\n\r\n"
                      "[Action1]\r\nSearch_subdir=1\r\nOperation=6\r\nCheck Same Size Files=0\r\n"
                      "Ignore Whitespace Compare=0\r\nIgnore Case Compare=0\r\nConfirm Updates=1\r\nGroup Files=0\r\n"
                      "Case Sensitive=0\r\nMatch In Subdir=0\r\nOlder Overwrite=1\r\nNewer Overwrite=0\r\n"
                      "Use OS Operations=0\r\nAlways Show Archives in 1 Dir View=0\r\nShow Identical=1\r\n"
                      "Show Different=1\r\nShow Files in 1 Dir=1\r\nSort Compare=-1\r\nSort Type=1\r\n"
                      "Append to Output File=1\r\nShow progress=1\r\nDisplay Error Messages=1\r\nAllow Cancel=1\r\n"
                      "Skip Files Mask=0\r\nIgnore Attributes=55\r\nReverse Filters=1\r\n\r\n");
    QTest::newRow("empty") << QStringList() << QByteArray() << QByteArray();
}

void TestResave::resave()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    const QString inPath = m_dir.filePath(QStringLiteral("in.mbs"));
    const QString outPath = m_dir.filePath(QStringLiteral("out.mbs"));
    QFile file(inPath);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(in);
    file.close();
    const Run run = Resave(options + QStringList{inPath, outPath});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.errors, QByteArray());
    QCOMPARE(Read(outPath), out);
}

void TestResave::failures()
{
    const QString out = m_dir.filePath(QStringLiteral("kept.mbs"));
    QFile file(out);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("old");
    file.close();
    Run run = Resave({m_dir.filePath(QStringLiteral("missing.mbs")), out});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.errors.contains("missing.mbs"));
    QCOMPARE(Read(out), QByteArray("old"));

    file.setFileName(m_dir.filePath(QStringLiteral("one.mbs")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Action1]\r\n");
    file.close();
    run = Resave({file.fileName(), m_dir.filePath(QStringLiteral("no/such/out.mbs"))});
    QCOMPARE(run.exitCode, 3);
    QVERIFY(run.errors.contains("out.mbs"));

    QCOMPARE(Resave({file.fileName()}).exitCode, 2);
}

QTEST_MAIN(TestResave)
#include "tst_resave.moc"
