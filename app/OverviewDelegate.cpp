#include "app/OverviewDelegate.h"

#include "app/OverviewModel.h"
#include "script/SettingCatalogue.h"
#include "script/SettingFields.h"

#include <QComboBox>
#include <QLineEdit>

QStringList COverviewDelegate::Choices(const QModelIndex &index)
{
    const QString key = index.model()->headerData(index.column(), Qt::Horizontal).toString();
    for (const SettingField &field : SettingFields()) {
        if (field.Key() != key)
            continue;
        switch (field.type) {
        case SettingKind::Check:
            return {QStringLiteral("on"), QStringLiteral("off")};
        case SettingKind::Radio:
            return {field.Label(0), field.Label(1)};
        case SettingKind::Operation:
            return OperationTexts();
        case SettingKind::Sort:
            return SortTexts();
        default:
            return {};
        }
    }
    return {};
}

QWidget *COverviewDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const QString name = index.model()->headerData(index.column(), Qt::Horizontal).toString();
    const QStringList choices = Choices(index);
    QWidget *editor = nullptr;
    if (choices.isEmpty()) {
        editor = new QLineEdit(parent);
    } else {
        auto *list = new QComboBox(parent);
        list->addItems(choices);
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        editor = list;
    }
    editor->setAccessibleName(name);
    return editor;
}

void COverviewDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QString value = index.data(Qt::EditRole).toString();
    if (auto *list = qobject_cast<QComboBox *>(editor))
        list->setCurrentIndex(list->findText(value, Qt::MatchFixedString));
    else if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setText(value);
}

void COverviewDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    if (auto *list = qobject_cast<QComboBox *>(editor))
        emit Committed(index, list->currentText());
    else if (auto *line = qobject_cast<QLineEdit *>(editor))
        emit Committed(index, line->text());
}
