#pragma once
// The editor's own settings: the scripts opened last and how the window was
// left (its size, the panes' splitters, the lists' column widths), in the
// desktop's configuration folder ($XDG_CONFIG_HOME/marrowpad/marrowpad.conf).

#include <QSettings>

class CEditorSettings : public QSettings
{
public:
    CEditorSettings()
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("marrowpad"),
                    QStringLiteral("marrowpad"))
    {
    }
};
