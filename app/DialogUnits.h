#pragma once
// Dialog units: sizes given relative to the dialog's font, so that a layout
// keeps its proportions whatever font the desktop uses. A horizontal unit is
// a quarter of the font's average character width, a vertical unit an eighth
// of its character height.

#include <QFont>
#include <QSize>

class CDialogUnits
{
public:
    explicit CDialogUnits(const QFont &font);

    int X(int units) const;
    int Y(int units) const;
    QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }

private:
    int m_nCharWidth;
    int m_nCharHeight;
};
