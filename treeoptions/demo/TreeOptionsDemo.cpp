#include "treeoptions/demo/TreeOptionsDemo.h"

#include "treeoptions/demo/DemoListCombo.h"
#include "treeoptions/TreeOptionsBrowseButton.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"
#include "treeoptions/TreeOptionsImages.h"
#include "treeoptions/TreeOptionsSpinCtrl.h"

namespace {

QTreeWidgetItem *AddValue(CTreeOptionsCtrl &tree, QTreeWidgetItem *parent, const QString &text, int image,
                          const CTreeOptionsItemInfo &info)
{
    QTreeWidgetItem *item = tree.InsertItem(text, image, parent);
    tree.SetItemInfo(item, info);
    return item;
}

} // namespace

QTreeWidgetItem *BuildTreeOptionsDemo(CTreeOptionsCtrl &tree)
{
    // Built detached and added in one step, as a big script's branches are.
    QTreeWidgetItem *root = CTreeOptionsCtrl::NewItem(QStringLiteral("Every item sort"), 11);

    QTreeWidgetItem *checks = tree.AddGroupItem(QStringLiteral("Check boxes"), 13, root);
    QTreeWidgetItem *parent = tree.AddCheckBoxItem(QStringLiteral("Parent box"), checks, false);
    tree.AddCheckBoxItem(QStringLiteral("Checked child"), parent, true);
    QTreeWidgetItem *last = tree.AddCheckBoxItem(QStringLiteral("Unchecked child"), parent, false);
    tree.ToggleCheckBranch(last, true); // recomputes the parent: indeterminate
    CTreeOptionsCtrl::SetItemImage(tree.AddCheckBoxItem(QStringLiteral("Disabled, unchecked"), checks, false), 4);
    CTreeOptionsCtrl::SetItemImage(tree.AddCheckBoxItem(QStringLiteral("Disabled, checked"), checks, true), 5);
    CTreeOptionsCtrl::SetItemImage(tree.AddCheckBoxItem(QStringLiteral("Disabled, indeterminate"), checks, true), 9);

    QTreeWidgetItem *radios = tree.AddGroupItem(QStringLiteral("Radio buttons"), 13, root);
    tree.AddRadioItem(QStringLiteral("First choice"), radios, false);
    tree.AddRadioItem(QStringLiteral("Second choice"), radios, true);
    CTreeOptionsCtrl::SetItemImage(tree.AddRadioItem(QStringLiteral("Disabled choice"), radios, false), 6);

    QTreeWidgetItem *values = tree.AddGroupItem(QStringLiteral("Values"), 13, root);
    tree.AttachEditBox(tree.InsertItem(QStringLiteral("Text: some words"), 11, values),
                       EditorClass<CTreeOptionsEdit>());
    tree.AttachComboBox(tree.InsertItem(QStringLiteral("Size: Medium"), 12, values), EditorClass<CDemoListCombo>());

    CTreeOptionsItemInfo number;
    number.m_pEditorClass = EditorClass<CTreeOptionsEdit>();
    number.m_pBuddyClass = EditorClass<CTreeOptionsSpinCtrl>();
    number.m_nKind = kKindEdit;
    AddValue(tree, values, QStringLiteral("Number (0 to 100): 42"), 11, number);

    CTreeOptionsItemInfo path;
    path.m_pEditorClass = EditorClass<CTreeOptionsEdit>();
    path.m_pBuddyClass = EditorClass<CTreeOptionsBrowseButton>();
    path.m_nKind = kKindFilePath;
    AddValue(tree, values, QStringLiteral("File: /etc/hostname"), 11, path);
    path.m_nKind = kKindFolderPath;
    AddValue(tree, values, QStringLiteral("Folder: /tmp"), 14, path);

    CTreeOptionsItemInfo colour;
    colour.m_pEditorClass = EditorClass<CTreeOptionsBrowseButton>();
    colour.m_nKind = kKindColour;
    CTreeOptionsCtrl::SetItemColour(AddValue(tree, values, QStringLiteral("Colour"), 11, colour), RGB(0, 128, 255));

    CTreeOptionsItemInfo font;
    font.m_pEditorClass = EditorClass<CTreeOptionsBrowseButton>();
    font.m_nKind = kKindNone;
    font.m_lfFont.faceName = QStringLiteral("Sans Serif");
    font.m_lfFont.pointSize = 10;
    CTreeOptionsCtrl::SetItemFont(AddValue(tree, values, QStringLiteral("Font"), 15, font), font.m_lfFont);

    QTreeWidgetItem *images = tree.AddGroupItem(QStringLiteral("Images"), 13, root);
    for (int i = 0; i < CTreeOptionsImages::kCount; ++i)
        tree.InsertItem(QStringLiteral("Image %1").arg(i), i, images);

    tree.AddItem(root, nullptr);
    root->setExpanded(true);
    for (int i = 0; i < root->childCount(); ++i)
        root->child(i)->setExpanded(true);
    parent->setExpanded(true);
    return root;
}
