#pragma once
// The image strip of the options tree: 17 cells of 16 by 16 logical pixels,
// drawn with QPainter in the application palette at whatever pixel ratio the
// target has, so they are sharp on high-density screens and right in a dark
// theme. One QIcon per index is shared by every item showing it.

#include <QIcon>
#include <QImage>

class QPainter;

// The cells by what they show. An item's image is its cell's number, and a
// box's or radio's state is its image alone; dumps of trees print the
// numbers, so a cell keeps its number.
enum TreeOptionsImage : int {
    kImageBox = 0, // check box, clear
    kImageBoxTicked = 1,
    kImageRadio = 2, // radio button, off
    kImageRadioOn = 3,
    kImageBoxDisabled = 4, // 4 to 7: the same, disabled (crossed out in red)
    kImageBoxTickedDisabled = 5,
    kImageRadioDisabled = 6,
    kImageRadioOnDisabled = 7,
    kImageBoxMixed = 8, // indeterminate: a tick on grey
    kImageBoxMixedDisabled = 9,
    kImageSearch = 10,    // magnifying glass
    kImageText = 11,      // box with "a": a text value, an action's root
    kImageList = 12,      // the same with a drop-down arrow: a list value
    kImageGroup = 13,     // small window: a group heading
    kImageFolder = 14,    // open folder
    kImageFont = 15,      // letter f
    kImageTickCross = 16, // tick above a cross
};

class CTreeOptionsImages
{
public:
    static constexpr int kCount = kImageTickCross + 1;
    static constexpr int kCellSize = 16;

    // The shared icon of an image index (0 to kCount - 1); a null icon for others.
    static const QIcon &Icon(int index);
    // Draws cell `index` into `rect` (any size; the drawing scales).
    static void DrawCell(QPainter &painter, const QRectF &rect, int index);
    // The whole strip, kCount cells side by side, at the given device pixel ratio.
    static QImage RenderStrip(qreal devicePixelRatio);
};
