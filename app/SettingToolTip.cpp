#include "app/SettingToolTip.h"

#include "app/SettingGuide.h"
#include "treeoptions/TreeOptionsCtrl.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QTreeWidget>

CSettingToolTip::CSettingToolTip(CTreeOptionsCtrl &tree) : QObject(&tree), m_tree(tree), m_viewport(tree.viewport())
{
    m_viewport->installEventFilter(this);
    tree.SetItemDescriptions(&CSettingToolTip::ToolTipFor);
}

QString CSettingToolTip::ToolTipFor(const QTreeWidgetItem *item)
{
    if (!item || !item->parent())
        return QString();
    return CSettingGuide::Shipped().DescriptionForItemText(item->text(0));
}

QString CSettingToolTip::TextFor(const QTreeWidgetItem *item) const
{
    const QString description = ToolTipFor(item);
    const QString detail = m_detail && item ? m_detail(item) : QString();
    if (detail.isEmpty())
        return description;
    return description.isEmpty() ? detail : description + QLatin1Char('\n') + detail;
}

bool CSettingToolTip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_viewport || event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QString text = TextFor(m_tree.itemAt(help->pos()));
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, m_tree.viewport(),
                           m_tree.visualItemRect(m_tree.itemAt(help->pos())));
    return true;
}
