#include "toolpanes/ToolBarGeometry.h"

// std
#include <cmath>

// Orvane
#include "platform/Gdi.h"

namespace ToolBarGeometry {

double ButtonSize(int W, int H)
{
    double s;
    if (W == 800)
        s = 29.5;
    else if (W > 1200 && H <= 1200)
        s = 40.0;
    else if (W <= 1050)
        s = 37.5;
    else if (W <= 1200)
        s = 40.0;
    else
        s = 60.0;
    if (W > H && H <= 1024)
        s = H == 600 ? 29.5 : H <= 800 ? 37.5 : 40.0;
    return s;
}

Layout ToolBarLayout(int W, int H, int nViewAreaWidth, int nToolRowHeight)
{
    const QRect area(0, 0, nViewAreaWidth - 3, nToolRowHeight - 40);
    const double s = ButtonSize(W, H);
    const int right = area.left() + area.width();
    const int bottom = area.top() + area.height();
    int x = int(std::trunc((area.left() + right - 16 * s - 32) / 2)) - 2;
    if (W == 1024)
        x -= 2;
    const int y = int(std::trunc((area.top() + bottom - s) / 2));
    const int n = int(std::trunc(s));

    Layout layout;
    for (QRect& button : layout.tools) {
        button = QRect(x, y, n, n);
        x += n + 3;
    }
    layout.exit = QRect(area.width() - n - 15, y, n, n);
    return layout;
}

int ToolTipFontHeight(int W)
{
    if (W <= 800)
        return -12;
    if (W <= 1280)
        return -16;
    return 20;
}

QFont ToolTipFont(int W)
{
    return Gdi::Font(QStringLiteral("Arial"), ToolTipFontHeight(W), 700);
}

QSize TwoButtonPanelSize(double s)
{
    return QSize(int(std::trunc(2 * s + 5)), int(std::trunc(s + 2)));
}

QSize OrientationPanelSize(double s)
{
    const int side = int(std::trunc(2 * s + 4));
    return QSize(side, side);
}

QPoint OrientationPanelPlace(const QRect& button, int H)
{
    const int d = H <= 600 ? 66 : H <= 1000 ? 80 : 92;
    return QPoint(button.left() - button.width(), button.top() - d);
}

QPoint TwoButtonPanelPlace(const QRect& button, int H)
{
    const int d = H <= 600 ? 34 : H <= 1000 ? 42 : 50;
    return QPoint(button.left() - button.width() - 18, button.top() - d);
}

QPoint LayoutPanelPlace(const QRect& button, QSize panel)
{
    return QPoint(button.left() + 5 - panel.width(), button.top() - panel.height() - 10);
}

int GradientGrey(int y, int h)
{
    return h > 0 ? (h - y) * 120 / h : 0;
}

} // namespace ToolBarGeometry
