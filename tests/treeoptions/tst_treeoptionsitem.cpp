// The options tree's item: every role reads back as set, announces its change and travels
// with a copy; the load memory gives back exactly what it was given, whatever the text does.

#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"
#include "treeoptions/TreeOptionsImages.h"

#include <QSignalSpy>
#include <QTest>

class TestTreeOptionsItem : public QObject
{
    Q_OBJECT

private slots:
    void rolesReadBackAndAnnounceTheirChange_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("readAs"); // the role that must read it back
        QTest::addRow("edit is display") << int(Qt::EditRole) << QVariant(QStringLiteral("Mask: *.txt"))
                                         << int(Qt::DisplayRole);
        QTest::addRow("display is edit") << int(Qt::DisplayRole) << QVariant(QStringLiteral("x")) << int(Qt::EditRole);
        QTest::addRow("empty text") << int(Qt::DisplayRole) << QVariant(QString(u""_qs)) << int(Qt::DisplayRole);
        QTest::addRow("image") << int(kImageIndexRole) << QVariant(int(kImageBoxMixed)) << int(kImageIndexRole);
        QTest::addRow("no image") << int(kImageIndexRole) << QVariant(-1) << int(kImageIndexRole);
        // Every other role is kept as the tree widget keeps it.
        QTest::addRow("user role") << int(Qt::UserRole + 1) << QVariant(QStringList{u"@=1"_qs})
                                   << int(Qt::UserRole + 1);
    }

    void rolesReadBackAndAnnounceTheirChange()
    {
        QFETCH(int, role);
        QFETCH(QVariant, value);
        QFETCH(int, readAs);
        CTreeOptionsCtrl tree;
        QTreeWidgetItem *item = tree.InsertItem(QStringLiteral("Before"), kImageText);
        tree.AttachEditBox(item, EditorClass<CTreeOptionsEdit>());
        QSignalSpy changed(tree.model(), &QAbstractItemModel::dataChanged);

        item->setData(0, role, value);
        QCOMPARE(item->data(0, readAs), value);
        QCOMPARE(tree.model()->data(tree.model()->index(0, 0), readAs), value);
        QCOMPARE(changed.count(), 1);
        item->setData(0, role, value); // the same again changes nothing
        QCOMPARE(changed.count(), 1);

        std::unique_ptr<QTreeWidgetItem> copy(CTreeOptionsItem::CopyOf(*item));
        QCOMPARE(copy->data(0, readAs), value);
        QCOMPARE(*CTreeOptionsCtrl::GetItemInfo(copy.get()), *CTreeOptionsCtrl::GetItemInfo(item));
        // What the other roles held is unchanged.
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            QCOMPARE(copy->text(0), QStringLiteral("Before"));
        if (role != kImageIndexRole)
            QCOMPARE(CTreeOptionsCtrl::GetItemImage(copy.get()), kImageText);
    }

    void sharedRecordBecomesOwnWhenChanged()
    {
        CTreeOptionsCtrl tree;
        QTreeWidgetItem *first = tree.InsertItem(QStringLiteral("Colour: &FF0000"), kImageText);
        QTreeWidgetItem *second = tree.InsertItem(QStringLiteral("Colour: &FF0000"), kImageText);
        tree.AttachEditBox(first, EditorClass<CTreeOptionsEdit>());
        tree.AttachEditBox(second, EditorClass<CTreeOptionsEdit>());
        QCOMPARE(CTreeOptionsCtrl::GetItemInfo(first), CTreeOptionsCtrl::GetItemInfo(second));

        CTreeOptionsCtrl::SetItemColour(first, RGB(1, 2, 3));
        QCOMPARE(CTreeOptionsCtrl::GetItemColour(first), RGB(1, 2, 3));
        QCOMPARE(CTreeOptionsCtrl::GetItemColour(second), CTreeOptionsItemInfo().m_crColour);
        QCOMPARE(CTreeOptionsCtrl::GetItemInfo(first)->m_nKind, quint32(kKindEdit));
        QVERIFY(CTreeOptionsCtrl::GetItemInfo(first) != CTreeOptionsCtrl::GetItemInfo(second));
    }

    void loadMemoryGivesBackWhatItWasGiven_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("shown"); // the loaded text; the item shows it at first
        QTest::addRow("value after the separator") << u"C:\\Ünïcode\\x"_qs << u"Path1: C:\\Ünïcode\\x"_qs;
        QTest::addRow("value after the first separator") << u"a: b"_qs << u"Mask: a: b"_qs;
        QTest::addRow("empty value") << u""_qs << u"Path2: "_qs;
        QTest::addRow("zero") << u"0"_qs << u"Box"_qs;
        QTest::addRow("largest small number") << u"255"_qs << u"Operation: Synchronize"_qs;
        QTest::addRow("number too large") << u"256"_qs << u"Box"_qs;
        QTest::addRow("leading zero") << u"01"_qs << u"Box"_qs;
        QTest::addRow("sign") << u"+1"_qs << u"Box"_qs;
        QTest::addRow("value unlike the text") << u"%%today-1"_qs << u"Date: 01.01.2026"_qs;
        QTest::addRow("empty beside a label") << u""_qs << u"Box"_qs;
    }

    void loadMemoryGivesBackWhatItWasGiven()
    {
        QFETCH(QString, raw);
        QFETCH(QString, shown);
        CTreeOptionsCtrl tree;
        QTreeWidgetItem *item = tree.InsertItem(shown, kImageText);
        tree.AttachEditBox(item, EditorClass<CTreeOptionsEdit>());
        auto *options = static_cast<CTreeOptionsItem *>(item);
        options->SetLoadMemory(raw, item->text(0), kImageText);
        const auto check = [&](const CTreeOptionsItem *it) {
            QVERIFY(it->HasLoadMemory());
            QCOMPARE(it->LoadedRawValue().toString(), raw);
            QCOMPARE(it->LoadedText(), shown);
            QCOMPARE(it->LoadedImage(), kImageText);
        };
        check(options);

        // The memory outlives edits of the text, and travels with copies.
        CTreeOptionsCtrl::SetItemValueText(item, QStringLiteral("typed"));
        check(options);
        std::unique_ptr<CTreeOptionsItem> copy(CTreeOptionsItem::CopyOf(*item));
        check(copy.get());
        // Given its own memory back, or a memory of another item's text.
        options->SetLoadMemory(options->LoadedRawValue(), options->LoadedText(), options->LoadedImage());
        check(options);
        copy->SetLoadMemory(options->LoadedRawValue(), options->LoadedText(), kImageText);
        check(copy.get());

        options->SetLoadMemory(raw, shown, -1);
        QVERIFY(!options->HasLoadMemory());
        QVERIFY(options->LoadedRawValue().isNull());
    }
};

QTEST_MAIN(TestTreeOptionsItem)
#include "tst_treeoptionsitem.moc"
