#include "app/ValuesPane.h"

#include "app/EffectiveValueText.h"
#include "app/PaneLayout.h"
#include "script/SettingFields.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

CValuesPane::CValuesPane(QWidget *parent) : QWidget(parent), m_caption(new QLabel(this)), m_list(new QTreeWidget(this))
{
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({QStringLiteral("Setting"), QStringLiteral("Value in effect"), QStringLiteral("From")});
    LayOutPane(*this, *m_caption, *m_list);
    // The value matters most: the names share the width with it and elide.
    m_list->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(2, QHeaderView::Interactive);
    const QFontMetrics metrics = m_list->fontMetrics();
    m_list->header()->resizeSection(0, metrics.horizontalAdvance(QStringLiteral("Confirm Updates")));
    m_list->header()->resizeSection(2, metrics.horizontalAdvance(QStringLiteral("this action ")));
}

void CValuesPane::SetValues(const QString &name, const std::vector<EffectiveValue> &values)
{
    m_strSection = values.empty() ? QString() : name;
    m_caption->setText(values.empty() ? QStringLiteral("Values in effect")
                                      : QStringLiteral("Values in effect: %1").arg(name));
    m_list->setUpdatesEnabled(false);
    const int current = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    m_list->clear();
    for (const EffectiveValue &value : values) {
        auto *item = new QTreeWidgetItem(
            {CEffectiveValueText::MarkedName(value), value.value, OriginText(value.origin)});
        if (value.overridesDefault) {
            QFont bold = item->font(0);
            bold.setBold(true);
            for (int column = 0; column < 3; ++column)
                item->setFont(column, bold);
        }
        item->setToolTip(0, CEffectiveValueText::Text(value));
        m_list->addTopLevelItem(item);
    }
    if (!m_bColumnsSet && !values.empty()) {
        m_list->resizeColumnToContents(0);
        m_list->resizeColumnToContents(2);
        m_bColumnsSet = true;
    }
    if (current >= 0 && current < m_list->topLevelItemCount())
        m_list->setCurrentItem(m_list->topLevelItem(current), 0, QItemSelectionModel::NoUpdate);
    m_list->setUpdatesEnabled(true);
}

void CValuesPane::RestoreColumns(const QByteArray &state)
{
    if (!state.isEmpty() && m_list->header()->restoreState(state))
        m_bColumnsSet = true;
}
