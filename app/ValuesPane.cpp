#include "app/ValuesPane.h"

#include "app/EffectiveValueText.h"
#include "app/PaneLayout.h"
#include "script/SettingFields.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>

CValuesPane::CValuesPane(QWidget *parent) : QWidget(parent), m_caption(new QLabel(this)), m_list(new QTreeWidget(this))
{
    m_list->setColumnCount(3);
    m_list->setAccessibleName(QStringLiteral("Values in effect"));
    m_list->setHeaderLabels({QStringLiteral("Setting"), QStringLiteral("Value in effect"), QStringLiteral("From")});
    LayOutPane(*this, *m_caption, *m_list);
    // The value matters most: the names share the width with it and elide.
    m_list->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    m_list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(2, QHeaderView::Interactive);
    // Every name and origin whole, bold as a marked row shows it.
    QFont bold = m_list->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int margin = 2 * (m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1);
    int names = 0;
    for (const SettingField &field : SettingFields())
        names = qMax(names, metrics.horizontalAdvance(QStringLiteral("\u25CF ") + QString::fromUtf16(field.key)));
    int origins = 0;
    for (ValueOrigin origin : {ValueOrigin::ThisAction, ValueOrigin::Default, ValueOrigin::BuiltIn})
        origins = qMax(origins, metrics.horizontalAdvance(OriginText(origin)));
    QHeaderView *header = m_list->header();
    header->resizeSection(0, qMax(names + margin, header->sectionSizeHint(0)));
    header->resizeSection(2, qMax(origins + margin, header->sectionSizeHint(2)));
}

int CValuesPane::FirstWidth() const
{
    // Room for a value of some twenty characters, the frame and the scroll bar.
    const QHeaderView *header = m_list->header();
    const int value = qMax(header->sectionSizeHint(1), m_list->fontMetrics().averageCharWidth() * 20);
    return header->sectionSize(0) + value + header->sectionSize(2) + 2 * m_list->frameWidth()
           + m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
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
        auto *item =
            new QTreeWidgetItem({CEffectiveValueText::MarkedName(value), value.value, OriginText(value.origin)});
        if (value.overridesDefault) {
            QFont bold = item->font(0);
            bold.setBold(true);
            for (int column = 0; column < 3; ++column)
                item->setFont(column, bold);
        }
        item->setToolTip(0, CEffectiveValueText::Text(value));
        m_list->addTopLevelItem(item);
    }
    if (current >= 0 && current < m_list->topLevelItemCount())
        m_list->setCurrentItem(m_list->topLevelItem(current), 0, QItemSelectionModel::NoUpdate);
    m_list->setUpdatesEnabled(true);
}
