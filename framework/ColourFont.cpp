#include "framework/ColourFont.h"

#include <cmath>

QColor ColorRefToQColor(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

COLORREF QColorToColorRef(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

QFont LogFontToQFont(const CLogFont &logFont)
{
    QFont font;
    if (!logFont.faceName.isEmpty())
        font.setFamily(logFont.faceName);
    if (logFont.pointSize > 0)
        font.setPointSize(logFont.pointSize);
    if (logFont.weight > 0)
        font.setWeight(QFont::Weight(qBound(1, logFont.weight, 1000)));
    font.setItalic(logFont.italic);
    font.setUnderline(logFont.underline);
    font.setStrikeOut(logFont.strikeOut);
    return font;
}

CLogFont QFontToLogFont(const QFont &font, COLORREF colour)
{
    CLogFont logFont;
    logFont.faceName = font.family();
    logFont.pointSize = font.pointSizeF() > 0 ? int(std::lround(font.pointSizeF())) : 0;
    logFont.weight = int(font.weight());
    logFont.italic = font.italic();
    logFont.underline = font.underline();
    logFont.strikeOut = font.strikeOut();
    logFont.colour = colour;
    return logFont;
}
