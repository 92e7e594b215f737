// CineBarGeometry: the cine bar's rectangles.

#include "viewer/CineBarGeometry.h"

// Orvane
#include "platform/Gdi.h"

namespace CineBarGeometry {

QSize ExpandedSize()
{
    return QSize(Gdi::DluX(200), Gdi::DluY(26));
}

QRect ExpandedRect(const QRect& view, int monitorWidth, int rows, int cols)
{
    const QSize size = ExpandedSize();
    const int bottom = view.y() + view.height() - 2;
    QRect r(view.x() + (view.width() - size.width()) / 2, bottom - size.height(), size.width(), size.height());
    if (monitorWidth <= 1280 && rows > 2 && cols > 2) {
        int width = size.width();
        if (monitorWidth == 800)
            width = 168;
        else if (monitorWidth == 1024 || monitorWidth == 1152)
            width = 220;
        else if (monitorWidth == 1280)
            width = 280;
        r = QRect(view.x() + 2, r.y(), width, r.height());
    }
    return r;
}

QRect CollapsedRect(const QRect& view)
{
    const int top = view.y() + view.height() - 44;
    return QRect(view.x() + (view.width() - kCollapsed.width()) / 2, top, kCollapsed.width(), kCollapsed.height());
}

Controls Layout(const QRect& r)
{
    Controls c;
    const int right = r.x() + r.width();
    const int row = r.y() + 13;
    const int w = kButtonSize.width();
    c.next = QRect(QPoint(right - w - 15, row), kButtonSize);
    c.nextFrame = QRect(QPoint(right - 2 * w - 13, row), kButtonSize);
    c.play = QRect(QPoint(c.nextFrame.x() - kPlaySize.width() + 3, r.y()), kPlaySize);
    c.prevFrame = QRect(QPoint(c.play.x() - w + 3, row), kButtonSize);
    c.previous = QRect(QPoint(c.prevFrame.x() - w + 3, row), kButtonSize);
    c.more = QRect(QPoint(c.previous.x() - w + 5, c.previous.y()), kButtonSize);
    c.label = QRect(QPoint(c.more.x() - c.more.width() + 3, c.more.y() + 2), kLabelSize);
    const int sliderWidth = c.label.x() + c.label.width() - r.x() - 20;
    c.slider = QRect(r.x() + c.label.width() - 10, c.previous.y(), sliderWidth > 0 ? sliderWidth : 0, kSliderHeight);
    return c;
}

} // namespace CineBarGeometry
