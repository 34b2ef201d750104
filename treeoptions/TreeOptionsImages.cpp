#include "treeoptions/TreeOptionsImages.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

#include <array>

namespace {

QColor Blend(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// The colours of one drawing, taken from the palette so a dark theme gets
// light strokes on dark boxes.
struct Ink
{
    QColor text, base, disabled, grey, accent;
    QColor red{215, 38, 38};
    QColor green{40, 150, 60};
    QColor folder{232, 183, 48};
    QColor folderEdge{150, 105, 20};

    Ink()
    {
        const QPalette pal = QGuiApplication::palette();
        text = pal.color(QPalette::Active, QPalette::Text);
        base = pal.color(QPalette::Active, QPalette::Base);
        disabled = Blend(base, text, 0.6);
        grey = Blend(base, text, 0.3);
        accent = pal.color(QPalette::Active, QPalette::Highlight);
    }
};

const QRectF kBox(2.5, 2.5, 11, 11);

void Box(QPainter &p, const QColor &fill, const QColor &edge, const QRectF &r = kBox)
{
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawRect(r);
}

void Tick(QPainter &p, const QColor &colour, qreal dy = 0)
{
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF points[] = {{4.8, 8.2 + dy}, {7.0, 10.6 + dy}, {11.4, 5.2 + dy}};
    p.drawPolyline(points, 3);
}

void Circle(QPainter &p, const QColor &fill, const QColor &edge)
{
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
}

void Dot(QPainter &p, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(8, 8), 2.6, 2.6);
}

void CrossOut(QPainter &p, const QColor &red)
{
    p.setPen(QPen(red, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(1.5, 1.5), QPointF(14.5, 14.5));
    p.drawLine(QPointF(14.5, 1.5), QPointF(1.5, 14.5));
}

// A small "a" drawn as strokes, so no font is needed: a bowl and a stem.
void LetterA(QPainter &p, const QColor &colour, qreal x, qreal y)
{
    p.setPen(QPen(colour, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(x, y + 1.2), 2.0, 1.9);
    QPainterPath stem;
    stem.moveTo(x - 1.6, y - 2.6);
    stem.quadTo(x + 2.1, y - 3.6, x + 2.1, y - 0.6);
    stem.lineTo(x + 2.1, y + 3.2);
    p.drawPath(stem);
}

void Draw(QPainter &p, int index, const Ink &ink)
{
    switch (index) {
    case kImageBox:
        Box(p, ink.base, ink.text);
        break;
    case kImageBoxTicked:
        Box(p, ink.base, ink.text);
        Tick(p, ink.text);
        break;
    case kImageRadio:
        Circle(p, ink.base, ink.text);
        break;
    case kImageRadioOn:
        Circle(p, ink.base, ink.text);
        Dot(p, ink.text);
        break;
    // Disabled forms: the red cross goes under the tick or dot, so the state
    // still reads at a glance.
    case kImageBoxDisabled:
        Box(p, ink.base, ink.disabled);
        CrossOut(p, ink.red);
        break;
    case kImageBoxTickedDisabled:
        Box(p, ink.base, ink.disabled);
        CrossOut(p, ink.red);
        Tick(p, ink.disabled);
        break;
    case kImageRadioDisabled:
        Circle(p, ink.base, ink.disabled);
        CrossOut(p, ink.red);
        break;
    case kImageRadioOnDisabled:
        Circle(p, ink.base, ink.disabled);
        CrossOut(p, ink.red);
        Dot(p, ink.disabled);
        break;
    case kImageBoxMixed:
        Box(p, ink.grey, ink.text);
        Tick(p, ink.text);
        break;
    case kImageBoxMixedDisabled:
        Box(p, ink.grey, ink.disabled);
        CrossOut(p, ink.red);
        Tick(p, ink.disabled);
        break;
    case kImageSearch: // magnifying glass
        p.setPen(QPen(ink.text, 1.4));
        p.setBrush(Blend(ink.base, ink.accent, 0.25));
        p.drawEllipse(QPointF(6.5, 6.5), 4.2, 4.2);
        p.setPen(QPen(ink.text, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.8, 9.8), QPointF(14, 14));
        break;
    case kImageText: // box with a small letter a
        Box(p, ink.base, ink.text, QRectF(1.5, 1.5, 13, 13));
        LetterA(p, ink.text, 7.6, 8.2);
        break;
    case kImageList: // the same with a drop-down arrow
        Box(p, ink.base, ink.text, QRectF(1.5, 1.5, 13, 13));
        LetterA(p, ink.text, 5.6, 8.2);
        p.setPen(Qt::NoPen);
        p.setBrush(ink.text);
        {
            const QPointF arrow[] = {{9.8, 7.0}, {13.4, 7.0}, {11.6, 10.2}};
            p.drawPolygon(arrow, 3);
        }
        break;
    case kImageGroup: // small window with lines
        Box(p, ink.base, ink.text, QRectF(1.5, 2.5, 13, 11));
        p.setPen(Qt::NoPen);
        p.setBrush(ink.accent);
        p.drawRect(QRectF(2, 3, 12, 2.5));
        p.setPen(QPen(ink.text, 1));
        for (qreal y : {7.5, 9.5, 11.5})
            p.drawLine(QPointF(4, y), QPointF(12, y));
        break;
    case kImageFolder: { // open yellow folder
        p.setPen(QPen(ink.folderEdge, 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
        p.setBrush(ink.folder.darker(115));
        const QPointF back[] = {{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}};
        p.drawPolygon(back, 6);
        p.setBrush(ink.folder);
        const QPointF front[] = {{1.5, 13.5}, {4, 7.5}, {15, 7.5}, {12.5, 13.5}};
        p.drawPolygon(front, 4);
        break;
    }
    case kImageFont: { // stylised letter f
        p.setPen(QPen(ink.text, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath f;
        f.moveTo(12, 3.5);
        f.quadTo(8, 0.5, 7.5, 5.5);
        f.lineTo(6.5, 14);
        p.drawPath(f);
        p.drawLine(QPointF(4, 7), QPointF(10.5, 7));
        break;
    }
    case kImageTickCross: // tick above a cross
        p.setPen(QPen(ink.green, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        {
            const QPointF tick[] = {{4.5, 3.8}, {6.8, 6.0}, {11.5, 1.6}};
            p.drawPolyline(tick, 3);
        }
        p.setPen(QPen(ink.red, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 9), QPointF(11, 14.5));
        p.drawLine(QPointF(11, 9), QPointF(5, 14.5));
        break;
    default:
        break;
    }
}

class CellEngine final : public QIconEngine
{
public:
    explicit CellEngine(int index) : m_index(index) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        CTreeOptionsImages::DrawCell(*painter, rect, m_index);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode, QIcon::State, qreal scale) override
    {
        QPixmap pixmap(size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        CTreeOptionsImages::DrawCell(painter, QRectF(QPointF(0, 0), QSizeF(size)), m_index);
        return pixmap;
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new CellEngine(m_index); }
    QString key() const override { return QStringLiteral("treeoptions-cell"); }

private:
    int m_index;
};

} // namespace

const QIcon &CTreeOptionsImages::Icon(int index)
{
    static const std::array<QIcon, kCount> icons = [] {
        std::array<QIcon, kCount> all;
        for (int i = 0; i < kCount; ++i)
            all[size_t(i)] = QIcon(new CellEngine(i));
        return all;
    }();
    static const QIcon none;
    return index >= 0 && index < kCount ? icons[size_t(index)] : none;
}

void CTreeOptionsImages::DrawCell(QPainter &painter, const QRectF &rect, int index)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.topLeft());
    painter.scale(rect.width() / kCellSize, rect.height() / kCellSize);
    Draw(painter, index, Ink());
    painter.restore();
}

QImage CTreeOptionsImages::RenderStrip(qreal devicePixelRatio)
{
    QImage strip(QSize(kCount * kCellSize, kCellSize) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    strip.setDevicePixelRatio(devicePixelRatio);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (int i = 0; i < kCount; ++i)
        Icon(i).paint(&painter, QRect(i * kCellSize, 0, kCellSize, kCellSize));
    return strip;
}
