#pragma once
// Colours and fonts as the script world stores them: what colour and font
// items hold and what their pickers choose.

#include <QString>
#include <QtGlobal>

// A colour as the script world stores it: 0x00BBGGRR.
using COLORREF = quint32;

constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(r & 0xFF) | (COLORREF(g & 0xFF) << 8) | (COLORREF(b & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF c)
{
    return int(c & 0xFF);
}
constexpr int GetGValue(COLORREF c)
{
    return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(COLORREF c)
{
    return int((c >> 16) & 0xFF);
}

// The font of a font item: what a font picker chooses.
struct CLogFont
{
    QString faceName;
    int pointSize = 0; // 0: not set
    int weight = 0;    // 0: default; 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    COLORREF colour = 0;

    bool operator==(const CLogFont &) const = default;
};
