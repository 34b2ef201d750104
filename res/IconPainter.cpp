// Draws the program's icon, a script page with two synchronising arrows, as
// PNG images of 16, 32, 48 and 256 pixels into the folder given on the
// command line.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// One arrow of the badge: an arc of the circle (centre, radius) from `start`
// degrees over `span` degrees, with a head at its end.
void DrawArcArrow(QPainter &painter, QPointF centre, qreal radius, qreal start, qreal span, qreal width,
                  const QColor &colour)
{
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(circle, int(start * 16), int(span * 16));

    const qreal end = qDegreesToRadians(start + span);
    const QPointF tip(centre.x() + radius * qCos(end), centre.y() - radius * qSin(end));
    // The tangent at the end, in the direction of travel (counter-clockwise).
    const QPointF along(-qSin(end), -qCos(end));
    const QPointF across(qCos(end), -qSin(end));
    const qreal head = width * 1.5;
    QPainterPath arrow;
    arrow.moveTo(tip + along * head);
    arrow.lineTo(tip + across * head);
    arrow.lineTo(tip - across * head);
    arrow.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(arrow);
}

QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0); // drawn on a 64 x 64 grid

    // The page, with its top right corner folded.
    QPainterPath page;
    page.moveTo(10, 3);
    page.lineTo(40, 3);
    page.lineTo(54, 17);
    page.lineTo(54, 61);
    page.lineTo(10, 61);
    page.closeSubpath();
    painter.setPen(QPen(QColor(0x35, 0x4a, 0x5f), size <= 16 ? 4.0 : 2.0));
    painter.setBrush(QColor(0xfb, 0xfa, 0xf4));
    painter.drawPath(page);
    QPainterPath fold;
    fold.moveTo(40, 3);
    fold.lineTo(40, 17);
    fold.lineTo(54, 17);
    fold.closeSubpath();
    painter.setBrush(QColor(0xd6, 0xdc, 0xe4));
    painter.drawPath(fold);

    // A section header and its key lines.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2d, 0x6c, 0xb5));
    painter.drawRect(QRectF(16, 10, 18, size <= 16 ? 6 : 4));
    if (size > 16) {
        painter.setBrush(QColor(0x8a, 0x96, 0xa3));
        for (int line = 0; line < 4; ++line)
            painter.drawRect(QRectF(16, 20 + line * 7, line % 2 ? 20 : 28, 3));
    }

    // The badge: two arrows chasing each other round a circle.
    const QPointF centre(44, 47);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2e, 0x8b, 0x57));
    painter.drawEllipse(centre, 17, 17);
    const qreal width = size <= 16 ? 4.5 : 3.5;
    DrawArcArrow(painter, centre, 9.5, 20, 130, width, Qt::white);
    DrawArcArrow(painter, centre, 9.5, 200, 130, width, Qt::white);
    painter.end();
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make the folder %s\n", argv[1]);
        return 1;
    }
    for (int size : {16, 32, 48, 256}) {
        const QString path = folder.filePath(QStringLiteral("marrowpad-%1.png").arg(size));
        if (!DrawIcon(size).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
