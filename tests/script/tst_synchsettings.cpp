#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"
#include "script/SynchSettings.h"

#include <QTest>

namespace {

// Gives `field` of `record` another value, touching the high bits of the
// 64-bit fields so that a comparison of their low halves would miss it.
void Change(const SettingField &field, CSynchSettings &record)
{
    if (field.text)
        record.*field.text += QLatin1Char('x');
    else if (field.int32)
        record.*field.int32 += 1;
    else if (field.mask)
        record.*field.mask ^= 0x100;
    else if (field.int64)
        record.*field.int64 += qint64(1) << 40;
    else
        record.*field.date += quint64(1) << 63;
}

} // namespace

class TestSynchSettings : public QObject
{
    Q_OBJECT
private slots:
    void everyField_data();
    void everyField();
    void atLinesStayOwn();
};

void TestSynchSettings::everyField_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("defaultValue");

    const char *table[][2] = {
        {"Path1", ""}, {"Path2", ""}, {"Mask", "*.*"}, {"Search_subdir", "1"}, {"Operation", "-1"},
        {"Check Same Size Files", "0"}, {"Ignore Whitespace Compare", "0"}, {"Ignore Case Compare", "0"},
        {"Confirm Updates", "1"}, {"Group Files", "0"}, {"Case Sensitive", "0"}, {"Match In Subdir", "0"},
        {"Older Overwrite", "1"}, {"Newer Overwrite", "0"}, {"Use OS Operations", "0"},
        {"Time Check Precision", "3"}, {"Always Show Archives in 1 Dir View", "1"}, {"Show Identical", "1"},
        {"Show Different", "1"}, {"Show Files in 1 Dir", "1"}, {"Sort Compare", "-1"}, {"Sort Type", "1"},
        {"Output File", ""}, {"Append to Output File", "0"}, {"Output Columns", ""}, {"Show progress", "1"},
        {"Display Error Messages", "0"}, {"Custom Message", ""}, {"Allow Cancel", "1"}, {"Bitmap File", ""},
        {"Min Date Filter", "0"}, {"Max Date Filter", "0"}, {"Min Size Filter", "0"}, {"Max Size Filter", "0"},
        {"Skip Files Mask", "0"}, {"Ignore Attributes", "55"}, {"Reverse Filters", "0"},
        {"Add Seconds To Second Dir", "0"}, {"Display Columns", ""}, {"Output Header", ""},
        {"Output Footer", ""},
    };
    static_assert(std::size(table) == kSettingFieldCount);
    for (int i = 0; i < kSettingFieldCount; ++i)
        QTest::newRow(table[i][0]) << i << QString::fromLatin1(table[i][0]) << QString::fromLatin1(table[i][1]);
}

void TestSynchSettings::everyField()
{
    QFETCH(int, index);
    QFETCH(QString, key);
    QFETCH(QString, defaultValue);
    const SettingField &changed = SettingFields()[size_t(index)];
    QCOMPARE(changed.Key(), key);
    const CSynchSettings fresh;
    QCOMPARE(changed.ValueText(fresh), defaultValue);
    if (index < 37) {  // the catalogue keys, in catalogue order
        QCOMPARE(QString::fromUtf16(SettingCatalogue()[size_t(changed.catalogueRow)].key), key);
        if (index > 0)
            QVERIFY(changed.catalogueRow > SettingFields()[size_t(index - 1)].catalogueRow);
    } else {
        QCOMPARE(changed.catalogueRow, -1);
    }

    // A change to this one field alone must be seen by IsEqual and carried by operator=.
    CSynchSettings other;
    Change(changed, other);
    QVERIFY(!fresh.IsEqual(other));
    QVERIFY(!other.IsEqual(fresh));
    for (const SettingField &field : SettingFields())  // one member per key
        QCOMPARE(field.Equal(fresh, other), &field != &changed);
    CSynchSettings copy;
    copy = other;
    QVERIFY(copy.IsEqual(other));
    QVERIFY(changed.Equal(copy, other));
    QVERIFY(CSynchSettings(other).IsEqual(other));
}

void TestSynchSettings::atLinesStayOwn()
{
    CSynchSettings a;
    CSynchSettings b;
    a.m_arrAtLines = QStringList{QStringLiteral("@=a")};
    b.m_arrAtLines = QStringList{QStringLiteral("@=b")};
    QVERIFY(a.IsEqual(b));
    a = b;
    QCOMPARE(a.m_arrAtLines, QStringList{QStringLiteral("@=a")});
}

QTEST_GUILESS_MAIN(TestSynchSettings)
#include "tst_synchsettings.moc"
