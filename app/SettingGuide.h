#pragma once
// The settings' entries in the user guide: where each setting's entry stands
// (its anchor) and its one-line description. The guide is the one source of
// these descriptions; the tooltips of the tree read them from the copy of the
// guide compiled into the program, so the two cannot drift apart.

#include <QHash>
#include <QString>

class CSettingGuide
{
public:
    // Reads the entries of a guide: every element with id="setting-NAME" and the
    // first <p class="summary"> after it, as plain text.
    explicit CSettingGuide(const QString &guideHtml);

    // The guide compiled into the program.
    static const CSettingGuide &Shipped();
    // The guide's text as compiled into the program.
    static QString ShippedHtml();

    // The anchor of the entry of the setting whose tree label is `label`
    // ("File Mask: " or "Exclude Hidden Files"): "setting-file-mask".
    static QString AnchorForLabel(const QString &label);
    // The anchor of the setting a tree item shows with `itemText` (a label, or
    // a label and its value); empty when the text is no setting's.
    static QString AnchorForItemText(const QString &itemText);

    // The one-line description of the entry at `anchor`; empty when the guide
    // has no such entry.
    QString Summary(const QString &anchor) const { return m_summaries.value(anchor); }
    // The one-line description of the setting a tree item shows with `itemText`.
    QString DescriptionForItemText(const QString &itemText) const { return Summary(AnchorForItemText(itemText)); }

    int EntryCount() const { return int(m_summaries.size()); }

private:
    QHash<QString, QString> m_summaries;
};
