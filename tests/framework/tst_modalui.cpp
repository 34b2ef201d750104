#include "framework/ModalUi.h"
#include "framework/ScriptedModalUi.h"
#include "framework/StderrModalUi.h"

#include <QTest>

class TestModalUi : public QObject
{
    Q_OBJECT
private slots:
    void scopedInstallRestoresThePrevious();
    void stderrJoinsLines_data();
    void stderrJoinsLines();
    void scriptedDoubleRecordsUnexpectedDialogs();
};

void TestModalUi::scopedInstallRestoresThePrevious()
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
}

void TestModalUi::stderrJoinsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("two") << "Invalid day\n/a.mbs [Action1] Min Date Filter" << "Invalid day: /a.mbs [Action1] Min Date Filter";
    QTest::newRow("blank lines") << "a\n\n  b  \n" << "a: b";
    QTest::newRow("full stop gives way") << "Cannot read \"x\".\nNo such file." << "Cannot read \"x\": No such file.";
}

void TestModalUi::stderrJoinsLines()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(StderrModalUi::OneLine(text), line);
}

void TestModalUi::scriptedDoubleRecordsUnexpectedDialogs()
{
    ScriptedModalUi ui;
    ui.answers.push_back(true);
    QVERIFY(ui.AskYesNo(QStringLiteral("Save?")));
    QVERIFY(!ui.AskYesNo(QStringLiteral("Again?")));
    QVERIFY(!ui.ChooseFile({}).has_value());
    QCOMPARE(ui.unexpected.size(), 2);
}

QTEST_GUILESS_MAIN(TestModalUi)
#include "tst_modalui.moc"
