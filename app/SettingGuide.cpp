#include "app/SettingGuide.h"

#include "app/AppIcon.h"
#include "script/SettingCatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

CSettingGuide::CSettingGuide(const QString &guideHtml)
{
    static const QRegularExpression entry(QStringLiteral("id=\"(setting-[a-z0-9-]+)\""));
    static const QRegularExpression summary(QStringLiteral("<p class=\"summary\">(.*?)</p>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    QRegularExpressionMatchIterator it = entry.globalMatch(guideHtml);
    while (it.hasNext()) {
        const QRegularExpressionMatch id = it.next();
        const QRegularExpressionMatch text = summary.match(guideHtml, id.capturedEnd());
        // The summary belongs to this entry only when no other entry starts first.
        const qsizetype next = guideHtml.indexOf(QStringLiteral("id=\"setting-"), id.capturedEnd());
        if (!text.hasMatch() || (next >= 0 && next < text.capturedStart()))
            continue;
        m_summaries.insert(id.captured(1),
                           QTextDocumentFragment::fromHtml(text.captured(1)).toPlainText().simplified());
    }
}

QString CSettingGuide::ShippedHtml()
{
    InitMarrowpadResources();
    QFile file(QStringLiteral(":/marrowpad/guide/index.html"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

const CSettingGuide &CSettingGuide::Shipped()
{
    static const CSettingGuide guide(ShippedHtml());
    return guide;
}

QString CSettingGuide::AnchorForLabel(const QString &label)
{
    QString name;
    bool dash = false;
    for (const QChar c : label) {
        if (c.isLetterOrNumber() && c.unicode() < 128) {
            if (dash && !name.isEmpty())
                name += u'-';
            name += c.toLower();
            dash = false;
        } else {
            dash = true;
        }
    }
    return QStringLiteral("setting-") + name;
}

QString CSettingGuide::AnchorForItemText(const QString &itemText)
{
    if (itemText == PromptedOperationText())
        return AnchorForLabel(itemText);
    for (const SettingRow &row : SettingCatalogue()) {
        const QString label = QString::fromUtf16(row.label);
        const bool valueRow = label.endsWith(ValueSeparator());
        // A value row shows its label and its value; while its value is being
        // edited, the label alone without the separator.
        if (valueRow ? itemText.startsWith(label) || itemText == label.chopped(ValueSeparator().size())
                     : itemText == label)
            return AnchorForLabel(label);
    }
    return QString();
}
