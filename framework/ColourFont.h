#pragma once
// Colours and fonts between the script world (COLORREF, CLogFont) and Qt.

#include "framework/ColourTypes.h"

#include <QColor>
#include <QFont>

QColor ColorRefToQColor(COLORREF colour);
// The alpha channel is dropped.
COLORREF QColorToColorRef(const QColor &colour);

// A weight or point size of 0 keeps Qt's default for it.
QFont LogFontToQFont(const CLogFont &logFont);
// `colour` is carried over: Qt's font picker does not choose one.
CLogFont QFontToLogFont(const QFont &font, COLORREF colour);
