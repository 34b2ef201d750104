// Draws the program's icon, a script page with two synchronising arrows, as
// PNG images of 16, 32, 48, 64, 128 and 256 pixels and as the scalable SVG
// image marrowpad.svg, into the folder given on the command line.

#include <QDir>
#include <QFile>
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

// The same picture as DrawIcon at its larger sizes, as SVG text.
QByteArray SvgIcon()
{
    QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
                       "  <path d=\"M10 3H40L54 17V61H10Z\" fill=\"#fbfaf4\" stroke=\"#354a5f\" stroke-width=\"2\" "
                       "stroke-linejoin=\"miter\"/>\n"
                       "  <path d=\"M40 3V17H54Z\" fill=\"#d6dce4\" stroke=\"#354a5f\" stroke-width=\"2\"/>\n"
                       "  <rect x=\"16\" y=\"10\" width=\"18\" height=\"4\" fill=\"#2d6cb5\"/>\n");
    for (int line = 0; line < 4; ++line)
        svg += QStringLiteral("  <rect x=\"16\" y=\"%1\" width=\"%2\" height=\"3\" fill=\"#8a96a3\"/>\n")
                   .arg(20 + line * 7)
                   .arg(line % 2 ? 20 : 28);
    const QPointF centre(44, 47);
    svg += QStringLiteral("  <circle cx=\"44\" cy=\"47\" r=\"17\" fill=\"#2e8b57\"/>\n");
    const qreal radius = 9.5, width = 3.5, head = width * 1.5;
    for (const qreal start : {20.0, 200.0}) {
        const qreal a = qDegreesToRadians(start), end = qDegreesToRadians(start + 130);
        const QPointF from(centre.x() + radius * qCos(a), centre.y() - radius * qSin(a));
        const QPointF tip(centre.x() + radius * qCos(end), centre.y() - radius * qSin(end));
        const QPointF along(-qSin(end), -qCos(end));
        const QPointF across(qCos(end), -qSin(end));
        const QPointF p1 = tip + along * head, p2 = tip + across * head, p3 = tip - across * head;
        // Counter-clockwise on the screen: SVG's sweep flag 0.
        svg += QString::asprintf("  <path d=\"M%.3f %.3fA%.1f %.1f 0 0 0 %.3f %.3f\" fill=\"none\" stroke=\"#fff\" "
                                 "stroke-width=\"%.1f\"/>\n",
                                 from.x(), from.y(), radius, radius, tip.x(), tip.y(), width);
        svg += QString::asprintf("  <path d=\"M%.3f %.3fL%.3f %.3fL%.3f %.3fZ\" fill=\"#fff\"/>\n", p1.x(), p1.y(),
                                 p2.x(), p2.y(), p3.x(), p3.y());
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
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
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString path = folder.filePath(QStringLiteral("marrowpad-%1.png").arg(size));
        if (!DrawIcon(size).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    QFile svg(folder.filePath(QStringLiteral("marrowpad.svg")));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(SvgIcon()) < 0 || !svg.flush()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    return 0;
}
