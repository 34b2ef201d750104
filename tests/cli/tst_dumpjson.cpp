// `mbscript dump` prints exactly the JSON the original whole-document builder
// made, kept here as the reference, for generated scripts of every encoding
// and for the awkward corners (no script, control characters, "@=" lines).

#include "bench/ScriptGenerator.h"
#include "script/SettingFields.h"
#include "script/SynchArray.h"
#include "../script/ScriptFixture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

namespace {

QString ReferenceString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (const qsizetype named = QStringView(u"\"\\\b\f\n\r\t").indexOf(c); named >= 0)
            out.append(u'\\').append(QLatin1Char("\"\\bfnrt"[named]));
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString ReferenceArray(QStringList texts)
{
    for (QString &text : texts)
        text = ReferenceString(text);
    return QLatin1Char('[') + texts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString ReferenceSettings(const CSynchSettings &record, const QString &indent)
{
    QStringList members;
    for (const SettingField &field : SettingFields()) {
        const QString value = field.ValueText(record);
        members << indent + QStringLiteral("  ") + ReferenceString(field.Key()) + QStringLiteral(": ")
                + (field.IsText() ? ReferenceString(value) : value);
    }
    return QStringLiteral("{\n") + members.join(QStringLiteral(",\n")) + QLatin1Char('\n') + indent
        + QLatin1Char('}');
}

QByteArray ReferenceDump(const CSynchArray &document)
{
    const ScriptEncoding encoding = document.m_ScriptFile.Encoding();
    const QString name = encoding == ScriptEncoding::Utf16Le ? QStringLiteral("utf-16le")
                         : encoding == ScriptEncoding::Utf8  ? QStringLiteral("utf-8")
                                                              : QStringLiteral("ansi");
    QString out = QStringLiteral("{\n");
    out += QStringLiteral("  \"encoding\": %1,\n").arg(ReferenceString(name));
    out += QStringLiteral("  \"defaultAtLines\": %1,\n").arg(ReferenceArray(document.m_arrDefaultAtLines));
    out += QStringLiteral("  \"default\": %1,\n").arg(ReferenceSettings(document.m_Default, QStringLiteral("  ")));
    QStringList actions;
    for (qsizetype i = 0; i < document.GetSize(); ++i) {
        const CSynchSettings &record = *document.GetAt(i);
        actions << QStringLiteral("    {\n      \"name\": %1,\n      \"atLines\": %2,\n      \"settings\": %3\n    }")
                       .arg(ReferenceString(document.m_arrActionNames.at(i)), ReferenceArray(record.m_arrAtLines),
                            ReferenceSettings(record, QStringLiteral("      ")));
    }
    out += actions.isEmpty() ? QStringLiteral("  \"actions\": []\n")
                             : QStringLiteral("  \"actions\": [\n") + actions.join(QStringLiteral(",\n"))
                                   + QStringLiteral("\n  ]\n");
    return (out + QStringLiteral("}\n")).toUtf8();
}

} // namespace

class TestDumpJson : public QObject
{
    Q_OBJECT
    ScriptFixture m_files;

private slots:
    void sameAsReference_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const std::array<std::pair<const char *, ScriptEncoding>, 3> encodings{
            {{"ansi", ScriptEncoding::Ansi}, {"utf-16le", ScriptEncoding::Utf16Le}, {"utf-8", ScriptEncoding::Utf8}}};
        for (const auto &[name, encoding] : encodings)
            for (const int actions : {0, 1, 7, 150})
                for (const quint32 seed : {1u, 29u}) {
                    const QString text = CScriptGenerator(seed * 1000 + quint32(actions)).Generate(actions);
                    QTest::addRow("%s %d actions seed %u", name, actions, seed)
                        << CScriptGenerator::Encode(text, encoding);
                }
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("only comments") << QByteArray("; nothing\r\n\r\n");
        QTest::newRow("no Default, actions out of order")
            << QByteArray("[Action3]\r\nPath1=c\r\n[action1]\r\nPath1=a\r\n[Action02]\r\nPath1=x\r\n");
        QTest::newRow("controls, quotes and backslashes")
            << QByteArray("[Default]\r\n@=\"at\"\\\x01\r\n@=\x7f\r\nMask=\"*\\x\"\x02\x1f\r\n"
                          "Output Header=a\\tb\\n\\r\\\\\"\r\n[Action1]\r\n@=one\r\nPath1=\x08\x0c\x09\r\n");
        QTest::newRow("UTF-16 with lone surrogates and a pair")
            << Utf16WithBom(QStringLiteral("[Action1]\r\nPath1=a") + QChar(0xD800) + QStringLiteral("b")
                            + QChar(0xDC00) + QChar(0xD83D) + QChar(0xDE00) + QStringLiteral("\u00e9\u20ac")
                            + QChar(0xDBFF) + QStringLiteral("\r\n"));
        QTest::newRow("invalid dates and huge numbers")
            << QByteArray("[Action1]\r\nMin Date Filter=99/99/2020\r\nMax Size Filter=-9223372036854775808\r\n"
                          "Min Size Filter=12345678901234567\r\n"
                          "Operation=99999999999\r\n");
    }

    void sameAsReference()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_files.Write(bytes);

        CSynchArray document;
        LoadOptions quiet;
        quiet.reportInvalidDates = false;
        document.LoadScript(path, nullptr, quiet);

        QProcess mbscript;
        mbscript.start(QStringLiteral(MBSCRIPT_PATH), {QStringLiteral("dump"), path});
        QVERIFY(mbscript.waitForFinished(60000));
        QCOMPARE(mbscript.exitCode(), 0);
        QCOMPARE(mbscript.readAllStandardOutput(), ReferenceDump(document));
    }

    void fullOutputIsAFailure()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        const QString path = m_files.Write(QByteArray("[Action1]\r\nPath1=C:\\a\r\n"));
        QProcess mbscript;
        mbscript.setStandardOutputFile(QStringLiteral("/dev/full"));
        mbscript.start(QStringLiteral(MBSCRIPT_PATH), {QStringLiteral("dump"), path});
        QVERIFY(mbscript.waitForFinished(60000));
        QCOMPARE(mbscript.exitCode(), 3);
        QVERIFY(mbscript.readAllStandardError().contains("standard output"));
    }
};

int main(int argc, char *argv[])
{
    // The generator writes dates in the British short date picture; the dump
    // and the reference read them alike in this process and in mbscript.
    qputenv("LC_ALL", "en_GB.UTF-8");
    qputenv("TZ", "UTC0");
    QCoreApplication app(argc, argv);
    TestDumpJson test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dumpjson.moc"
