// Draws the viewer's skin pictures: the three states of every skinned button (normal, pressed,
// hover), the cine bar's backgrounds and faces, the icons of the frame's own buttons and of the
// icon buttons, and writes res/skins.qrc listing them.
//
// The pictures are named by their resource numbers: res/jpg/<number>.jpg, res/icon/<number>.png.
// Usage: make_skins <res folder>

// Qt
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

// std
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Glyph = std::function<void(QPainter&, const QRectF&, const QColor&)>;

enum class State { Normal, Pressed, Hover };

struct Palette
{
    QColor top, bottom, border, ink;
};

Palette PaletteOf(State state)
{
    switch (state) {
    case State::Pressed:
        return {QColor(0x12, 0x16, 0x1c), QColor(0x24, 0x2c, 0x38), QColor(0x4c, 0xa3, 0xff), QColor(0x7c, 0xc4, 0xff)};
    case State::Hover:
        return {QColor(0x4e, 0x56, 0x64), QColor(0x2c, 0x32, 0x3b), QColor(0xa8, 0xb8, 0xcc), QColor(0xff, 0xff, 0xff)};
    case State::Normal:
    default:
        return {QColor(0x3a, 0x3f, 0x47), QColor(0x1c, 0x1f, 0x24), QColor(0x5a, 0x60, 0x6b), QColor(0xd0, 0xd6, 0xde)};
    }
}

QPen Stroke(const QColor& ink, qreal width)
{
    QPen pen(ink, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// Line width of a glyph drawn in a box of this size.
qreal LineWidth(const QRectF& box)
{
    return std::max(2.0, std::min(box.width(), box.height()) / 9.0);
}

QPointF At(const QRectF& b, qreal fx, qreal fy)
{
    return QPointF(b.left() + fx * b.width(), b.top() + fy * b.height());
}

void ArrowHead(QPainter& p, QPointF tip, qreal angleDeg, qreal size, const QColor& ink)
{
    const qreal a = angleDeg * M_PI / 180.0;
    const QPointF back(tip.x() - size * std::cos(a), tip.y() - size * std::sin(a));
    const QPointF n(-std::sin(a) * size * 0.6, std::cos(a) * size * 0.6);
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(back + n);
    path.lineTo(back - n);
    path.closeSubpath();
    p.fillPath(path, ink);
}

// A circular arrow around the box's centre from startDeg sweeping sweepDeg (Qt angles,
// counter-clockwise positive), with its head at the end.
void CircularArrow(QPainter& p, const QRectF& b, qreal startDeg, qreal sweepDeg, const QColor& ink)
{
    const qreal w = LineWidth(b);
    const QRectF ring = b.adjusted(w, w, -w, -w);
    p.setPen(Stroke(ink, w));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, int(startDeg * 16), int(sweepDeg * 16));
    const qreal end = (startDeg + sweepDeg) * M_PI / 180.0;
    const QPointF c = ring.center();
    const QPointF tip(c.x() + ring.width() / 2 * std::cos(end), c.y() - ring.height() / 2 * std::sin(end));
    // Tangent direction in screen coordinates (y down)
    const qreal dir = sweepDeg > 0 ? end + M_PI / 2 : end - M_PI / 2;
    const qreal screenAngle = std::atan2(-std::sin(dir), std::cos(dir)) * 180.0 / M_PI;
    ArrowHead(p, tip + QPointF(std::cos(screenAngle * M_PI / 180) * w, std::sin(screenAngle * M_PI / 180) * w),
              screenAngle, w * 2.6, ink);
}

void Text(QPainter& p, const QRectF& b, const QString& text, const QColor& ink, qreal sizeFactor, bool bold = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(6, int(b.height() * sizeFactor)));
    f.setBold(bold);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(b, Qt::AlignCenter, text);
}

// --- Glyphs of the tool bar and its panels ------------------------------------------------

void GlyphReset(QPainter& p, const QRectF& b, const QColor& ink)
{
    CircularArrow(p, b, 120, -300, ink);
}

void Lens(QPainter& p, const QRectF& b, const QColor& ink, qreal& radius, QPointF& centre)
{
    const qreal w = LineWidth(b);
    radius = b.width() * 0.30;
    centre = At(b, 0.40, 0.40);
    p.setPen(Stroke(ink, w));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    p.setPen(Stroke(ink, w * 1.6));
    const QPointF from = centre + QPointF(radius * 0.72, radius * 0.72);
    p.drawLine(from, At(b, 0.92, 0.92));
}

void GlyphMagnify(QPainter& p, const QRectF& b, const QColor& ink)
{
    qreal r;
    QPointF c;
    Lens(p, b, ink, r, c);
    // A magnified detail inside the lens
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(c, r * 0.38, r * 0.38);
}

void GlyphZoom(QPainter& p, const QRectF& b, const QColor& ink)
{
    qreal r;
    QPointF c;
    Lens(p, b, ink, r, c);
    p.setPen(Stroke(ink, LineWidth(b)));
    p.drawLine(c - QPointF(r * 0.5, 0), c + QPointF(r * 0.5, 0));
    p.drawLine(c - QPointF(0, r * 0.5), c + QPointF(0, r * 0.5));
}

void GlyphPan(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w));
    const QPointF c = b.center();
    const qreal r = b.width() * 0.36;
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
    p.drawLine(c - QPointF(0, r), c + QPointF(0, r));
    const qreal head = w * 2.4;
    ArrowHead(p, c + QPointF(r + w, 0), 0, head, ink);
    ArrowHead(p, c - QPointF(r + w, 0), 180, head, ink);
    ArrowHead(p, c + QPointF(0, r + w), 90, head, ink);
    ArrowHead(p, c - QPointF(0, r + w), -90, head, ink);
}

void GlyphInvert(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    const QRectF circle = b.adjusted(w, w, -w, -w);
    QPainterPath half;
    half.moveTo(circle.center());
    half.arcTo(circle, 90, 180);
    half.closeSubpath();
    p.fillPath(half, ink);
    p.setPen(Stroke(ink, w));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(circle);
}

void GlyphOrientation(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    const QRectF square(At(b, 0.30, 0.30), At(b, 0.70, 0.70));
    p.setPen(Stroke(ink, w * 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(square);
    CircularArrow(p, b, 60, -240, ink);
}

void GlyphProbe(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    const QPointF c = b.center();
    const qreal r = b.width() * 0.30;
    p.setPen(Stroke(ink, w * 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.drawLine(c - QPointF(r * 1.6, 0), c - QPointF(r * 0.45, 0));
    p.drawLine(c + QPointF(r * 0.45, 0), c + QPointF(r * 1.6, 0));
    p.drawLine(c - QPointF(0, r * 1.6), c - QPointF(0, r * 0.45));
    p.drawLine(c + QPointF(0, r * 0.45), c + QPointF(0, r * 1.6));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(c, w * 0.9, w * 0.9);
}

void GlyphWindowLevel(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    const QRectF bar(At(b, 0.10, 0.18), At(b, 0.90, 0.62));
    QLinearGradient g(bar.topLeft(), bar.topRight());
    g.setColorAt(0, QColor(0, 0, 0));
    g.setColorAt(1, ink);
    p.setPen(Stroke(ink, w * 0.6));
    p.setBrush(g);
    p.drawRect(bar);
    // The window's width on the grey scale
    p.setPen(Stroke(ink, w * 0.8));
    const qreal y = b.top() + b.height() * 0.82;
    p.drawLine(At(b, 0.30, 0.82), At(b, 0.70, 0.82));
    ArrowHead(p, QPointF(b.left() + b.width() * 0.22, y), 180, w * 2.2, ink);
    ArrowHead(p, QPointF(b.left() + b.width() * 0.78, y), 0, w * 2.2, ink);
}

void GlyphLinear(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w));
    const QPointF a = At(b, 0.12, 0.88), e = At(b, 0.88, 0.12);
    p.drawLine(a, e);
    // Ticks across the line at both ends and its middle
    const QPointF n(w * 1.6, w * 1.6);
    p.drawLine(a - n, a + n);
    p.drawLine(e - n, e + n);
    const QPointF m = (a + e) / 2;
    p.setPen(Stroke(ink, w * 0.7));
    p.drawLine(m - n * 0.6, m + n * 0.6);
}

void GlyphLineAngle(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w));
    const QPointF v = At(b, 0.12, 0.85);
    p.drawLine(v, At(b, 0.92, 0.85));
    p.drawLine(v, At(b, 0.70, 0.12));
    p.setPen(Stroke(ink, w * 0.7));
    p.setBrush(Qt::NoBrush);
    const qreal r = b.width() * 0.38;
    p.drawArc(QRectF(v.x() - r, v.y() - r, 2 * r, 2 * r), 0, int(52 * 16));
}

void GlyphAnnotation(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w));
    p.drawLine(At(b, 0.08, 0.92), At(b, 0.50, 0.50));
    Text(p, QRectF(At(b, 0.40, 0.0), At(b, 1.0, 0.62)), QStringLiteral("T"), ink, 0.62);
}

void GlyphEllipse(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(At(b, 0.04, 0.20), At(b, 0.96, 0.80)));
}

void Eraser(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.save();
    p.translate(b.center());
    p.rotate(-35);
    const qreal len = b.width() * 0.78, th = b.height() * 0.38;
    const QRectF body(-len / 2, -th / 2, len, th);
    p.setPen(Stroke(ink, w * 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body, w, w);
    p.fillRect(QRectF(body.left(), body.top(), len * 0.42, th), ink);
    p.restore();
}

void GlyphEraseTools(QPainter& p, const QRectF& b, const QColor& ink)
{
    Eraser(p, b, ink);
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w * 0.7));
    p.drawLine(At(b, 0.15, 0.95), At(b, 0.85, 0.95));
}

void GlyphErase(QPainter& p, const QRectF& b, const QColor& ink)
{
    Eraser(p, b, ink);
}

void GlyphEraseAll(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w * 0.8));
    p.setBrush(Qt::NoBrush);
    // A waste bin
    p.drawLine(At(b, 0.12, 0.22), At(b, 0.88, 0.22));
    p.drawLine(At(b, 0.38, 0.22), At(b, 0.42, 0.08));
    p.drawLine(At(b, 0.42, 0.08), At(b, 0.58, 0.08));
    p.drawLine(At(b, 0.58, 0.08), At(b, 0.62, 0.22));
    QPainterPath bin;
    bin.moveTo(At(b, 0.22, 0.30));
    bin.lineTo(At(b, 0.30, 0.94));
    bin.lineTo(At(b, 0.70, 0.94));
    bin.lineTo(At(b, 0.78, 0.30));
    p.drawPath(bin);
    p.drawLine(At(b, 0.42, 0.40), At(b, 0.44, 0.84));
    p.drawLine(At(b, 0.58, 0.40), At(b, 0.56, 0.84));
}

void GlyphStudyList(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    for (int i = 0; i < 4; ++i) {
        const qreal y = 0.16 + i * 0.23;
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRect(QRectF(At(b, 0.06, y - 0.06), QSizeF(w * 1.5, w * 1.5)));
        p.setPen(Stroke(ink, w * 0.9));
        p.drawLine(At(b, 0.34, y - 0.02), At(b, 0.94, y - 0.02));
    }
}

void Grid(QPainter& p, const QRectF& b, int rows, int cols, const QColor& ink, qreal lineWidth)
{
    const qreal gap = std::max(1.5, lineWidth);
    const qreal cw = (b.width() - gap * (cols - 1)) / cols;
    const qreal ch = (b.height() - gap * (rows - 1)) / rows;
    p.setPen(Stroke(ink, lineWidth * 0.7));
    p.setBrush(QColor(ink.red(), ink.green(), ink.blue(), 60));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            p.drawRect(QRectF(b.left() + c * (cw + gap), b.top() + r * (ch + gap), cw, ch));
}

void GlyphLayout(QPainter& p, const QRectF& b, const QColor& ink)
{
    Grid(p, b.adjusted(1, 1, -1, -1), 2, 2, ink, LineWidth(b));
}

void GlyphCine(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    const QRectF film(At(b, 0.04, 0.14), At(b, 0.96, 0.86));
    p.setPen(Stroke(ink, w * 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawRect(film);
    // Sprocket holes
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int i = 0; i < 4; ++i) {
        const qreal x = film.left() + film.width() * (0.12 + i * 0.24);
        p.drawRect(QRectF(x, film.top() + w * 0.6, w, w));
        p.drawRect(QRectF(x, film.bottom() - w * 1.6, w, w));
    }
    QPainterPath play;
    play.moveTo(At(b, 0.40, 0.34));
    play.lineTo(At(b, 0.66, 0.50));
    play.lineTo(At(b, 0.40, 0.66));
    play.closeSubpath();
    p.fillPath(play, ink);
}

void GlyphExit(QPainter& p, const QRectF& b, const QColor&)
{
    const QColor red(0xe8, 0x4a, 0x3c);
    const qreal w = LineWidth(b) * 1.1;
    p.setPen(Stroke(red, w));
    p.setBrush(Qt::NoBrush);
    const QRectF ring = b.adjusted(w, w * 1.4, -w, -w * 0.6);
    p.drawArc(ring, 120 * 16, 300 * 16);
    p.drawLine(QPointF(b.center().x(), b.top()), QPointF(b.center().x(), b.center().y()));
}

void GlyphLine(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w));
    const QPointF a = At(b, 0.12, 0.88), e = At(b, 0.88, 0.12);
    p.drawLine(a, e);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(a, w * 1.2, w * 1.2);
    p.drawEllipse(e, w * 1.2, w * 1.2);
}

void GlyphText(QPainter& p, const QRectF& b, const QColor& ink)
{
    Text(p, b, QStringLiteral("T"), ink, 0.95);
}

void GlyphRotateClockwise(QPainter& p, const QRectF& b, const QColor& ink)
{
    CircularArrow(p, b, 150, -270, ink);
}

void GlyphRotateAntiClockwise(QPainter& p, const QRectF& b, const QColor& ink)
{
    CircularArrow(p, b, 30, 270, ink);
}

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c, const QColor& ink, bool filled)
{
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    if (filled)
        p.fillPath(path, ink);
    else
        p.drawPath(path);
}

void GlyphFlipHorizontal(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w * 0.7));
    p.setBrush(Qt::NoBrush);
    Triangle(p, At(b, 0.42, 0.15), At(b, 0.42, 0.85), At(b, 0.05, 0.85), ink, true);
    Triangle(p, At(b, 0.58, 0.15), At(b, 0.58, 0.85), At(b, 0.95, 0.85), ink, false);
    QPen dash = Stroke(ink, w * 0.5);
    dash.setDashPattern({1.5, 1.5});
    p.setPen(dash);
    p.drawLine(At(b, 0.5, 0.0), At(b, 0.5, 1.0));
}

void GlyphFlipVertical(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b);
    p.setPen(Stroke(ink, w * 0.7));
    p.setBrush(Qt::NoBrush);
    Triangle(p, At(b, 0.15, 0.42), At(b, 0.85, 0.42), At(b, 0.85, 0.05), ink, true);
    Triangle(p, At(b, 0.15, 0.58), At(b, 0.85, 0.58), At(b, 0.85, 0.95), ink, false);
    QPen dash = Stroke(ink, w * 0.5);
    dash.setDashPattern({1.5, 1.5});
    p.setPen(dash);
    p.drawLine(At(b, 0.0, 0.5), At(b, 1.0, 0.5));
}

// --- Pictures -------------------------------------------------------------------------------

// A dark rounded button on the black tool surfaces with the glyph in the middle.
QImage Button(int w, int h, State state, const Glyph& glyph, qreal glyphShare = 0.62)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const Palette pal = PaletteOf(state);
    const QRectF face = QRectF(0, 0, w, h).adjusted(1, 1, -1, -1);
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, pal.top);
    g.setColorAt(1, pal.bottom);
    p.setPen(QPen(pal.border, 1.2));
    p.setBrush(g);
    const qreal radius = std::min(w, h) / 8.0;
    p.drawRoundedRect(face, radius, radius);
    const qreal side = std::min(w, h) * glyphShare;
    QRectF box(0, 0, side, side);
    box.moveCenter(QPointF(w / 2.0, h / 2.0));
    if (state == State::Pressed)
        box.translate(0.8, 0.8);
    glyph(p, box, pal.ink);
    return image;
}

QImage LayoutButton(int w, int h, int rows, int cols)
{
    return Button(w, h, State::Normal, [rows, cols](QPainter& p, const QRectF& b, const QColor& ink) {
        Grid(p, b, rows, cols, ink, LineWidth(b));
    }, 0.66);
}

QImage CustomButton(int w, int h)
{
    QImage image = Button(w, h, State::Normal, [](QPainter&, const QRectF&, const QColor&) {});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor ink = PaletteOf(State::Normal).ink;
    Text(p, QRectF(6, 0, w * 0.62, h), QStringLiteral("Custom"), ink, 0.46, false);
    const qreal y = h / 2.0, w2 = 2.0;
    p.setPen(Stroke(ink, w2));
    p.drawLine(QPointF(w * 0.70, y), QPointF(w * 0.86, y));
    ArrowHead(p, QPointF(w * 0.90, y), 0, 6, ink);
    return image;
}

// The cine bar's background: a dark panel with a thin frame.
QImage CineBackground(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(0x30, 0x35, 0x3d));
    g.setColorAt(1, QColor(0x12, 0x14, 0x18));
    p.setPen(QPen(QColor(0x6a, 0x72, 0x7e), 1.2));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.6, 0.6, w - 1.2, h - 1.2), 6, 6);
    return image;
}

// A face of the cine bar: the glyph on a round dark button.
QImage CineFace(int side, const Glyph& glyph)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(0x1e, 0x22, 0x28));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, side);
    g.setColorAt(0, QColor(0x48, 0x50, 0x5c));
    g.setColorAt(1, QColor(0x22, 0x26, 0x2d));
    p.setPen(QPen(QColor(0x7a, 0x84, 0x92), 1.2));
    p.setBrush(g);
    p.drawEllipse(QRectF(1, 1, side - 2, side - 2));
    QRectF box(0, 0, side * 0.5, side * 0.5);
    box.moveCenter(QPointF(side / 2.0, side / 2.0));
    glyph(p, box, QColor(0xe6, 0xea, 0xf0));
    return image;
}

void Play(QPainter& p, const QRectF& b, const QColor& ink)
{
    Triangle(p, At(b, 0.18, 0.05), At(b, 0.95, 0.5), At(b, 0.18, 0.95), ink, true);
}

void Pause(QPainter& p, const QRectF& b, const QColor& ink)
{
    p.fillRect(QRectF(At(b, 0.15, 0.05), At(b, 0.40, 0.95)), ink);
    p.fillRect(QRectF(At(b, 0.60, 0.05), At(b, 0.85, 0.95)), ink);
}

void NextSeries(QPainter& p, const QRectF& b, const QColor& ink)
{
    Triangle(p, At(b, 0.0, 0.1), At(b, 0.42, 0.5), At(b, 0.0, 0.9), ink, true);
    Triangle(p, At(b, 0.40, 0.1), At(b, 0.82, 0.5), At(b, 0.40, 0.9), ink, true);
    p.fillRect(QRectF(At(b, 0.84, 0.1), At(b, 1.0, 0.9)), ink);
}

void PreviousSeries(QPainter& p, const QRectF& b, const QColor& ink)
{
    p.fillRect(QRectF(At(b, 0.0, 0.1), At(b, 0.16, 0.9)), ink);
    Triangle(p, At(b, 0.60, 0.1), At(b, 0.18, 0.5), At(b, 0.60, 0.9), ink, true);
    Triangle(p, At(b, 1.0, 0.1), At(b, 0.58, 0.5), At(b, 1.0, 0.9), ink, true);
}

void NextFrame(QPainter& p, const QRectF& b, const QColor& ink)
{
    Triangle(p, At(b, 0.12, 0.1), At(b, 0.70, 0.5), At(b, 0.12, 0.9), ink, true);
    p.fillRect(QRectF(At(b, 0.74, 0.1), At(b, 0.92, 0.9)), ink);
}

void PreviousFrame(QPainter& p, const QRectF& b, const QColor& ink)
{
    p.fillRect(QRectF(At(b, 0.08, 0.1), At(b, 0.26, 0.9)), ink);
    Triangle(p, At(b, 0.88, 0.1), At(b, 0.30, 0.5), At(b, 0.88, 0.9), ink, true);
}

void More(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = LineWidth(b) * 1.2;
    p.setPen(Stroke(ink, w));
    p.drawLine(At(b, 0.10, 0.15), At(b, 0.45, 0.5));
    p.drawLine(At(b, 0.45, 0.5), At(b, 0.10, 0.85));
    p.drawLine(At(b, 0.55, 0.15), At(b, 0.90, 0.5));
    p.drawLine(At(b, 0.90, 0.5), At(b, 0.55, 0.85));
}

// The frame's Close and Minimize symbols, light on transparent.
QImage FrameIcon(bool close)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Stroke(QColor(0xf0, 0xf0, 0xf0), 2.0));
    if (close) {
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    } else {
        p.drawLine(QPointF(4, 11.5), QPointF(12, 11.5));
    }
    return image;
}

// The face of the icon buttons of the dialogs: a dark (373) or lit (374) bar that the
// button stretches and frames itself.
QImage IconButtonFace(bool selected)
{
    QImage image(48, 48, QImage::Format_ARGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 48);
    if (selected) {
        g.setColorAt(0, QColor(0xb8, 0xd8, 0xf8));
        g.setColorAt(1, QColor(0x6c, 0x9c, 0xd0));
    } else {
        g.setColorAt(0, QColor(0x5a, 0x62, 0x6e));
        g.setColorAt(1, QColor(0x20, 0x24, 0x2a));
    }
    p.fillRect(image.rect(), g);
    return image;
}

struct SkinSet
{
    int normal, pressed, hover;
    Glyph glyph;
};

// The thumbnail of a file whose picture cannot be made: a dark square with a crossed frame.
QImage ThumbnailPlaceholder(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(0x20, 0x22, 0x26));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF b(side * 0.2, side * 0.2, side * 0.6, side * 0.6);
    const QColor ink(0x80, 0x88, 0x94);
    p.setPen(Stroke(ink, LineWidth(b) * 0.6));
    p.drawRect(b);
    p.drawLine(b.topLeft(), b.bottomRight());
    p.drawLine(b.topRight(), b.bottomLeft());
    return image;
}

class Writer
{
public:
    explicit Writer(const QString& res) : m_res(res) {}

    bool Jpg(int number, const QImage& image)
    {
        const QString name = QStringLiteral("jpg/%1.jpg").arg(number);
        if (m_files.contains(name)) {
            std::fprintf(stderr, "make_skins: %s drawn twice\n", qPrintable(name));
            return false;
        }
        m_files << name;
        return image.save(m_res + QLatin1Char('/') + name, "JPG", 95);
    }
    bool Png(int number, const QImage& image)
    {
        const QString name = QStringLiteral("icon/%1.png").arg(number);
        m_files << name;
        return image.save(m_res + QLatin1Char('/') + name, "PNG");
    }
    bool Bmp(int number, const QImage& image)
    {
        const QString name = QStringLiteral("bmp/%1.png").arg(number);
        m_files << name;
        return image.save(m_res + QLatin1Char('/') + name, "PNG");
    }
    bool Qrc() const
    {
        QFile file(m_res + QStringLiteral("/skins.qrc"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return false;
        QTextStream out(&file);
        out << "<!-- Written by tools/skins/make-skins.sh -->\n<RCC>\n  <qresource prefix=\"/\">\n";
        QStringList files = m_files;
        files.sort();
        for (const QString& f : files)
            out << "    <file>" << f << "</file>\n";
        out << "  </qresource>\n</RCC>\n";
        return true;
    }

private:
    QString m_res;
    QStringList m_files;
};

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_skins <res folder>\n");
        return 2;
    }
    const QString res = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(res + QStringLiteral("/jpg"));
    QDir().mkpath(res + QStringLiteral("/icon"));
    Writer out(res);
    bool ok = true;

    // Tool bar: normal / pressed / hover, at the common button side of 40 pixels
    const std::vector<SkinSet> toolBar = {
        {312, 313, 311, GlyphReset},         {303, 304, 302, GlyphMagnify},
        {318, 316, 317, GlyphZoom},          {306, 298, 305, GlyphPan},
        {294, 295, 293, GlyphInvert},        {358, 359, 357, GlyphOrientation},
        {309, 310, 308, GlyphProbe},         {340, 337, 339, GlyphWindowLevel},
        {300, 301, 299, GlyphLinear},        {356, 354, 355, GlyphLineAngle},
        {368, 366, 367, GlyphAnnotation},    {282, 283, 281, GlyphEllipse},
        {371, 369, 370, GlyphEraseTools},    {352, 353, 351, GlyphStudyList},
        {343, 341, 342, GlyphLayout},        {374, 372, 373, GlyphCine},
        // Panels
        {297, 289, 296, GlyphLine},          {315, 307, 314, GlyphText},
        {288, 280, 287, GlyphEraseAll},      {285, 286, 284, GlyphErase},
        {330, 325, 329, GlyphRotateClockwise}, {327, 328, 326, GlyphRotateAntiClockwise},
        {363, 364, 365, GlyphFlipVertical},  {360, 361, 362, GlyphFlipHorizontal},
    };
    for (const SkinSet& s : toolBar) {
        ok = out.Jpg(s.normal, Button(40, 40, State::Normal, s.glyph)) && ok;
        ok = out.Jpg(s.pressed, Button(40, 40, State::Pressed, s.glyph)) && ok;
        ok = out.Jpg(s.hover, Button(40, 40, State::Hover, s.glyph)) && ok;
    }
    // Exit: one picture for every state
    ok = out.Jpg(338, Button(40, 40, State::Normal, GlyphExit)) && ok;

    // Layout panel: 26 x 22 dialog units; the same picture for every state
    const int lw = 39, lh = 36;
    ok = out.Jpg(345, LayoutButton(lw, lh, 1, 1)) && ok;
    ok = out.Jpg(346, LayoutButton(lw, lh, 1, 2)) && ok;
    ok = out.Jpg(347, LayoutButton(lw, lh, 2, 1)) && ok;
    ok = out.Jpg(348, LayoutButton(lw, lh, 2, 2)) && ok;
    ok = out.Jpg(349, LayoutButton(lw, lh, 4, 2)) && ok;
    ok = out.Jpg(350, LayoutButton(lw, lh, 4, 4)) && ok;
    ok = out.Jpg(344, CustomButton(88, 29)) && ok;

    // Cine bar: collapsed (180 x 42) and expanded (200 x 26 dialog units) backgrounds, faces
    ok = out.Jpg(791, CineBackground(180, 42)) && ok;
    ok = out.Jpg(797, CineBackground(300, 42)) && ok;
    ok = out.Jpg(798, CineFace(32, Play)) && ok;
    ok = out.Jpg(799, CineFace(32, Pause)) && ok;
    ok = out.Jpg(794, CineFace(24, NextSeries)) && ok;
    ok = out.Jpg(795, CineFace(24, PreviousSeries)) && ok;
    ok = out.Jpg(796, CineFace(24, More)) && ok;
    ok = out.Jpg(1050, CineFace(24, NextFrame)) && ok;
    ok = out.Jpg(1051, CineFace(24, PreviousFrame)) && ok;

    // Icons: the frame's Close and Minimize, the dialogs' icon buttons
    ok = out.Png(260, FrameIcon(true)) && ok;
    ok = out.Png(261, FrameIcon(false)) && ok;
    ok = out.Png(373, IconButtonFace(false)) && ok;
    ok = out.Png(374, IconButtonFace(true)) && ok;

    // The thumbnail column's placeholder picture
    QDir().mkpath(res + QStringLiteral("/bmp"));
    ok = out.Bmp(147, ThumbnailPlaceholder(74)) && ok;

    ok = out.Qrc() && ok;
    if (!ok) {
        std::fprintf(stderr, "make_skins: could not write every picture\n");
        return 1;
    }
    return 0;
}
