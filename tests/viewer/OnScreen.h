#pragma once
// What a window shows of a widget, as its last paint left it, and the shape pixels in it.

// Qt
#include <QImage>
#include <QScreen>
#include <QWidget>

/// The window's backing store over `w` (grab() would paint the widget afresh, whether or not
/// anything asked it to repaint).
inline QImage OnScreen(QWidget* w)
{
    QWidget* top = w->window();
    const QPoint at = w->mapTo(top, QPoint(0, 0));
    return top->screen()->grabWindow(top->winId(), at.x(), at.y(), w->width(), w->height()).toImage();
}

/// Pixels of the shapes' green in `area` (anti-aliased lines blend with a grey image).
inline int GreenPixels(const QImage& image, const QRect& area)
{
    int n = 0;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qGreen(c) > 150 && qRed(c) < 90 && qBlue(c) < 90)
                ++n;
        }
    return n;
}

/// The middle half of a pane, away from its corner texts and scales.
inline QRect Middle(const QWidget* w)
{
    return QRect(w->width() / 4, w->height() / 4, w->width() / 2, w->height() / 2);
}
