#include "app/ReplaceDialog.h"

#include "treeoptions/TreeOptionsCtrl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { kAction, kSetting, kOld, kNew, kInherited, kColumns };

// Every value the user edits as text, where the tree shows it.
void CollectSites(QTreeWidgetItem *item, const QString &section, std::vector<CValueSite> &sites,
                  std::vector<QTreeWidgetItem *> &items)
{
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem *child = item->child(i);
        const CTreeOptionsItemInfo *info = CTreeOptionsCtrl::GetItemInfo(child);
        if (info && info->m_nKind == kKindEdit) {
            QString label = CTreeOptionsCtrl::ItemLabel(child);
            if (label.endsWith(QLatin1String(": ")))
                label.chop(2);
            sites.push_back({section, label, CTreeOptionsCtrl::GetItemValueText(child)});
            items.push_back(child);
        }
        CollectSites(child, section, sites, items);
    }
}

} // namespace

CReplaceDialog::CReplaceDialog(QTreeWidget &tree, QTreeWidgetItem *selected, QWidget *parent)
    : QDialog(parent)
    , m_pSelectedRoot(selected)
    , m_find(new QLineEdit(this))
    , m_replace(new QLineEdit(this))
    , m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this))
    , m_wholeParts(new QCheckBox(QStringLiteral("&Whole path parts only"), this))
    , m_everyAction(new QRadioButton(QStringLiteral("In &every action"), this))
    , m_selectedOnly(new QRadioButton(QStringLiteral("In the &selected action"), this))
    , m_preview(new QTreeWidget(this))
    , m_summary(new QLabel(this))
    , m_replaceButton(new QPushButton(QStringLiteral("&Replace"), this))
{
    setWindowTitle(QStringLiteral("Replace"));
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        QTreeWidgetItem *root = tree.topLevelItem(i);
        m_sections << root->text(0);
        CollectSites(root, root->text(0), m_sites, m_siteItems);
    }
    m_find->setAccessibleName(QStringLiteral("Find what"));
    m_replace->setAccessibleName(QStringLiteral("Replace with"));
    m_wholeParts->setToolTip(QStringLiteral("D:\\Data does not touch D:\\Database"));
    m_everyAction->setChecked(true);
    m_selectedOnly->setEnabled(selected != nullptr);
    if (selected)
        m_selectedOnly->setText(QStringLiteral("In the &selected action (%1)").arg(selected->text(0)));
    m_preview->setAccessibleName(QStringLiteral("Changes"));
    m_preview->setRootIsDecorated(false);
    m_preview->setUniformRowHeights(true);
    m_preview->setHeaderLabels({QStringLiteral("Action"), QStringLiteral("Setting"), QStringLiteral("Old value"),
                                QStringLiteral("New value"), QStringLiteral("Inherited by")});

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Fi&nd what:"), m_find);
    form->addRow(QStringLiteral("Replace wi&th:"), m_replace);
    auto *options = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_matchCase, m_wholeParts, m_everyAction, m_selectedOnly})
        options->addWidget(w);
    options->addStretch(1);
    auto *changesLabel = new QLabel(QStringLiteral("C&hanges:"), this);
    changesLabel->setBuddy(m_preview);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_replaceButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    m_replaceButton->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addWidget(changesLabel);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(720, 420);

    for (auto *field : {m_find, m_replace})
        connect(field, &QLineEdit::textChanged, this, &CReplaceDialog::UpdatePreview);
    for (auto *box : {m_matchCase, m_wholeParts})
        connect(box, &QCheckBox::toggled, this, &CReplaceDialog::UpdatePreview);
    connect(m_selectedOnly, &QRadioButton::toggled, this, &CReplaceDialog::UpdatePreview);
    connect(m_preview, &QTreeWidget::itemChanged, this,
            [this] { m_replaceButton->setEnabled(!CheckedChanges().empty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        const std::vector<Change> changes = CheckedChanges();
        accept();
        emit Replace(changes);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdatePreview();
    m_find->setFocus();
}

void CReplaceDialog::UpdatePreview()
{
    const CTextFinder finder(m_find->text(), {m_matchCase->isChecked(), m_wholeParts->isChecked()});
    const QString section = m_selectedOnly->isChecked() && m_pSelectedRoot ? m_pSelectedRoot->text(0) : QString();
    m_plan = CReplacePlan::Make(m_sites, m_sections, finder, m_replace->text(), section);
    const QSignalBlocker block(m_preview);
    m_preview->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(qsizetype(m_plan.size()));
    for (const CReplacement &change : m_plan) {
        const CValueSite &site = m_sites[size_t(change.m_nSite)];
        auto *row =
            new QTreeWidgetItem(QStringList{site.m_strSection, site.m_strLabel, site.m_strValue, change.m_strNewValue,
                                            change.m_inheritors.join(QStringLiteral(", "))});
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(kAction, Qt::Checked);
        rows << row;
    }
    m_preview->addTopLevelItems(rows);
    if (!rows.isEmpty())
        m_preview->setCurrentItem(rows.front());
    const int n = int(m_plan.size());
    m_summary->setText(
        m_find->text().isEmpty() ? QString()
        : n == 0                 ? QStringLiteral("No values hold the text")
                 : QStringLiteral("%1 %2").arg(n).arg(n == 1 ? QStringLiteral("change") : QStringLiteral("changes")));
    m_replaceButton->setEnabled(n > 0);
}

std::vector<CReplaceDialog::Change> CReplaceDialog::CheckedChanges() const
{
    std::vector<Change> changes;
    for (int i = 0; i < m_preview->topLevelItemCount() && i < int(m_plan.size()); ++i)
        if (m_preview->topLevelItem(i)->checkState(kAction) == Qt::Checked) {
            const CReplacement &change = m_plan[size_t(i)];
            changes.push_back({m_siteItems[size_t(change.m_nSite)], change.m_strNewValue});
        }
    return changes;
}
