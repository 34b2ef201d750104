#include "treeoptions/demo/TreeOptionsDemo.h"

#include "treeoptions/TreeOptionsBrowseButton.h"
#include "treeoptions/TreeOptionsCtrl.h"
#include "treeoptions/TreeOptionsEdit.h"
#include "treeoptions/TreeOptionsImages.h"
#include "treeoptions/TreeOptionsSpinCtrl.h"
#include "treeoptions/demo/DemoListCombo.h"

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
    QTreeWidgetItem *root = CTreeOptionsCtrl::NewItem(QStringLiteral("Every item sort"), kImageText);

    QTreeWidgetItem *checks = tree.AddGroupItem(QStringLiteral("Check boxes"), kImageGroup, root);
    QTreeWidgetItem *parent = tree.AddCheckBoxItem(QStringLiteral("Parent box"), checks, false);
    tree.AddCheckBoxItem(QStringLiteral("Checked child"), parent, true);
    QTreeWidgetItem *last = tree.AddCheckBoxItem(QStringLiteral("Unchecked child"), parent, false);
    tree.ToggleCheckBranch(last, true); // recomputes the parent: indeterminate
    CTreeOptionsCtrl::SetItemImage(tree.AddCheckBoxItem(QStringLiteral("Disabled, unchecked"), checks, false),
                                   kImageBoxDisabled);
    CTreeOptionsCtrl::SetItemImage(tree.AddCheckBoxItem(QStringLiteral("Disabled, checked"), checks, true),
                                   kImageBoxTickedDisabled);
    CTreeOptionsCtrl::SetItemImage(tree.AddCheckBoxItem(QStringLiteral("Disabled, indeterminate"), checks, true),
                                   kImageBoxMixedDisabled);

    QTreeWidgetItem *radios = tree.AddGroupItem(QStringLiteral("Radio buttons"), kImageGroup, root);
    tree.AddRadioItem(QStringLiteral("First choice"), radios, false);
    tree.AddRadioItem(QStringLiteral("Second choice"), radios, true);
    CTreeOptionsCtrl::SetItemImage(tree.AddRadioItem(QStringLiteral("Disabled choice"), radios, false),
                                   kImageRadioDisabled);

    QTreeWidgetItem *values = tree.AddGroupItem(QStringLiteral("Values"), kImageGroup, root);
    tree.AttachEditBox(tree.InsertItem(QStringLiteral("Text: some words"), kImageText, values),
                       EditorClass<CTreeOptionsEdit>());
    tree.AttachComboBox(tree.InsertItem(QStringLiteral("Size: Medium"), kImageList, values),
                        EditorClass<CDemoListCombo>());

    CTreeOptionsItemInfo number;
    number.m_pEditorClass = EditorClass<CTreeOptionsEdit>();
    number.m_pBuddyClass = EditorClass<CTreeOptionsSpinCtrl>();
    number.m_nKind = kKindEdit;
    AddValue(tree, values, QStringLiteral("Number (0 to 100): 42"), kImageText, number);

    CTreeOptionsItemInfo path;
    path.m_pEditorClass = EditorClass<CTreeOptionsEdit>();
    path.m_pBuddyClass = EditorClass<CTreeOptionsBrowseButton>();
    path.m_nKind = kKindFilePath;
    AddValue(tree, values, QStringLiteral("File: /etc/hostname"), kImageText, path);
    path.m_nKind = kKindFolderPath;
    AddValue(tree, values, QStringLiteral("Folder: /tmp"), kImageFolder, path);

    CTreeOptionsItemInfo colour;
    colour.m_pEditorClass = EditorClass<CTreeOptionsBrowseButton>();
    colour.m_nKind = kKindColour;
    CTreeOptionsCtrl::SetItemColour(AddValue(tree, values, QStringLiteral("Colour"), kImageText, colour),
                                    RGB(0, 128, 255));

    CTreeOptionsItemInfo font;
    font.m_pEditorClass = EditorClass<CTreeOptionsBrowseButton>();
    font.m_nKind = kKindNone;
    font.m_lfFont.faceName = QStringLiteral("Sans Serif");
    font.m_lfFont.pointSize = 10;
    CTreeOptionsCtrl::SetItemFont(AddValue(tree, values, QStringLiteral("Font"), kImageFont, font), font.m_lfFont);

    QTreeWidgetItem *images = tree.AddGroupItem(QStringLiteral("Images"), kImageGroup, root);
    for (int i = 0; i < CTreeOptionsImages::kCount; ++i)
        tree.InsertItem(QStringLiteral("Image %1").arg(i), i, images);

    tree.AddItem(root, nullptr);
    root->setExpanded(true);
    for (int i = 0; i < root->childCount(); ++i)
        root->child(i)->setExpanded(true);
    parent->setExpanded(true);
    return root;
}
