#include "app/DialogUnits.h"

#include <QFontMetrics>

CDialogUnits::CDialogUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    m_nCharWidth = qMax(1, metrics.averageCharWidth());
    m_nCharHeight = qMax(1, metrics.height());
}

int CDialogUnits::X(int units) const
{
    return (units * m_nCharWidth + 2) / 4;
}

int CDialogUnits::Y(int units) const
{
    return (units * m_nCharHeight + 4) / 8;
}
