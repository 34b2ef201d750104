#include "framework/CodePage.h"
#include "framework/FileFilter.h"
#include "framework/ModalUi.h"
#include "framework/ScriptedModalUi.h"
#include "framework/StderrModalUi.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestFramework : public QObject
{
    Q_OBJECT
private slots:
    void converts_data();
    void converts();
    void nameFilters_data();
    void nameFilters();
    void nearestFolder();
    void stderrJoinsLines_data();
    void stderrJoinsLines();
    void modalUiInstallAndDouble();
};

void TestFramework::converts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lossy");  // text cannot be written in the mode: bytes is what is written
    const int ansi = int(kAnsiCodePage);
    QByteArray every;  // Windows-1252; the five bytes it leaves undefined map one to one
    for (int b = 0; b < 256; ++b)
        every.append(char(b));
    const QString every1252 = QString::fromLatin1(every).replace(
        0x80, 32, QString::fromUtf16(u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"));
    QTest::newRow("ansi, every byte") << every << ansi << every1252 << false;
    QTest::newRow("ansi, every byte from the seventh") << every.mid(7) << ansi << every1252.mid(7) << false;
    QTest::newRow("ansi cyrillic") << QByteArray("a?b") << ansi << QString::fromUtf16(u"aЖb") << true;
    QTest::newRow("ansi: one ? per astral character") << QByteArray("a?b") << ansi << QString::fromUtf16(u"a😀b")
                                                      << true;
    QTest::newRow("utf-8") << QByteArray("Donn\xc3\xa9""es") << int(kUtf8) << QString::fromUtf16(u"Données") << false;
    QTest::newRow("utf-16 as it stands") << QByteArray("[\0D\0]\0", 6) << int(kUtf16) << QString::fromUtf16(u"[D]")
                                         << false;
    QTest::newRow("empty") << QByteArray() << ansi << QString() << false;
}

void TestFramework::converts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(QString, text);
    QFETCH(bool, lossy);
    if (!lossy) {
        QString out = QStringLiteral("stale");
        MultiByteToString(bytes.constData(), int(bytes.size()), out, mode);
        QCOMPARE(out, text);
    }
    QByteArray back;
    bool wasLossy = false;
    StringToMultiByte(text.constData(), int(text.size()), back, mode, &wasLossy);
    QCOMPARE(back, bytes);
    QCOMPARE(wasLossy, lossy);
    if (mode == int(kAnsiCodePage))
        QCOMPARE(AnsiCanEncode(text), !lossy);
}

void TestFramework::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("script filter") << "All Files|*.*||" << QStringList{"All Files (*)"};
    QTest::newRow("picker filter") << "All Files (*.*)|*.*||" << QStringList{"All Files (*)"};
    QTest::newRow("two pairs") << "Scripts (*.mbs)|*.mbs|All Files (*.*)|*.*||"
                               << QStringList{"Scripts (*.mbs)", "All Files (*)"};
    QTest::newRow("several patterns") << "Text (*.txt;*.log)|*.txt; *.log||" << QStringList{"Text (*.txt *.log)"};
    QTest::newRow("other brackets kept") << "Scripts (Marrowby)|*.mbs||" << QStringList{"Scripts (Marrowby) (*.mbs)"};
    QTest::newRow("same pattern once, no end marker") << "Any|*.*;*" << QStringList{"Any (*)"};
    QTest::newRow("empty pattern skipped") << "Nothing| |All|*.*||" << QStringList{"All (*)"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestFramework::nameFilters()
{
    QFETCH(QString, filter);
    QTEST(FileFilterToNameFilters(filter), "expected");
}

void TestFramework::nearestFolder()
{
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("sub"));
    QFile file(root.filePath("sub/file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString sub = QDir::cleanPath(root.filePath("sub"));
    for (const char *relative : {"sub/file.txt", "sub/gone/deeper", "sub/"})
        QCOMPARE(NearestExistingFolder(root.filePath(relative)), sub);
    QCOMPARE(NearestExistingFolder(QString()), QString());
}

void TestFramework::stderrJoinsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("two") << "Invalid day\n/a.mbs [Action1] Min Date Filter" << "Invalid day: /a.mbs [Action1] Min Date Filter";
    QTest::newRow("blank lines") << "a\n\n  b  \n" << "a: b";
    QTest::newRow("full stop gives way") << "Cannot read \"x\".\nNo such file." << "Cannot read \"x\": No such file.";
}

void TestFramework::stderrJoinsLines()
{
    QFETCH(QString, text);
    QTEST(StderrModalUi::OneLine(text), "line");
}

void TestFramework::modalUiInstallAndDouble()
{
    IModalUi *before = &ModalUi();
    ScriptedModalUi outer;
    ScriptedModalUi inner;
    {
        ScopedModalUi installOuter(outer);
        {
            ScopedModalUi installInner(inner);
            QCOMPARE(&ModalUi(), static_cast<IModalUi *>(&inner));
        }
        QCOMPARE(&ModalUi(), static_cast<IModalUi *>(&outer));
    }
    QCOMPARE(&ModalUi(), before);

    // The double answers from its queue and records dialogs nobody expected.
    outer.answers.push_back(true);
    QVERIFY(outer.AskYesNo(QStringLiteral("Save?")));
    QVERIFY(!outer.AskYesNo(QStringLiteral("Again?")));
    QVERIFY(!outer.ChooseFile({}).has_value());
    QCOMPARE(outer.unexpected.size(), 2);
}

QTEST_GUILESS_MAIN(TestFramework)
#include "tst_framework.moc"
