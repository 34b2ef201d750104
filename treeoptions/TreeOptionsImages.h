#pragma once
// The image strip of the options tree: 17 cells of 16 by 16 logical pixels,
// drawn with QPainter in the application palette at whatever pixel ratio the
// target has, so they are sharp on high-density screens and right in a dark
// theme. One QIcon per index is shared by every item showing it.
//
//  0 check box unchecked        1 checked              2 radio off     3 radio on
//  4-7 the same, disabled (crossed out in red)         8 indeterminate (tick on grey)
//  9 indeterminate, disabled    10 magnifying glass    11 box with "a" (text value, roots)
// 12 box with "a" and a drop-down arrow (list value)   13 small window (group)
// 14 open folder   15 letter f (font)   16 tick above a cross

#include <QIcon>
#include <QImage>

class QPainter;

class CTreeOptionsImages
{
public:
    static constexpr int kCount = 17;
    static constexpr int kCellSize = 16;

    // The shared icon of an image index (0..16); a null icon for others.
    static const QIcon &Icon(int index);
    // Draws cell `index` into `rect` (any size; the drawing scales).
    static void DrawCell(QPainter &painter, const QRectF &rect, int index);
    // The whole strip, 17 cells side by side, at the given device pixel ratio.
    static QImage RenderStrip(qreal devicePixelRatio);
};
