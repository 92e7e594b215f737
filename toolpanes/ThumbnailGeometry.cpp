#include "toolpanes/ThumbnailGeometry.h"

// Qt
#include <QPainter>

// std
#include <algorithm>

ThumbnailPaneSize ThumbnailSizeForMonitor(int nMonitorHeight)
{
    ThumbnailPaneSize s;
    const int H = nMonitorHeight;
    if (H <= 600) {
        s.nSide = 50;
        s.nListHeight = int(H * 0.96);
    } else if (H <= 768) {
        s.nSide = 60;
        s.nListHeight = int(H * 0.95);
    } else if (H <= 864) {
        s.nSide = 65;
        s.nListHeight = int(H * 0.95);
    } else {
        s.nSide = 74;
        s.nListHeight = int(H * 0.99);
    }
    return s;
}

int FitListHeight(int nListHeight, int nPaneHeight)
{
    if (nPaneHeight <= 0)
        return nListHeight;
    return std::max(0, std::min(nListHeight, nPaneHeight - 4));
}

QRect FitThumbnail(int nWidth, int nHeight, int nBoxWidth, int nBoxHeight)
{
    if (nWidth <= 0 || nHeight <= 0 || nBoxWidth <= 0 || nBoxHeight <= 0)
        return QRect();
    const float a = float(nBoxHeight) / float(nBoxWidth);
    const double q = double(nHeight) / double(nWidth);
    if (q > a) {
        const int w = int(nBoxHeight / q);
        return QRect((nBoxWidth - w) / 2, 0, w, nBoxHeight);
    }
    const int h = int(nBoxWidth * q);
    return QRect(0, (nBoxHeight - h) / 2, nBoxWidth, h);
}

QString ThumbnailLabel(int nNumber, const QString& strDescription)
{
    const QString number = QString::number(nNumber);
    return strDescription.isEmpty() ? number : number + QLatin1Char('_') + strDescription;
}

QImage ComposeThumbnail(const QImage& source, int nBoxWidth, int nBoxHeight)
{
    if (nBoxWidth <= 0 || nBoxHeight <= 0)
        return QImage();
    QImage box(nBoxWidth, nBoxHeight, QImage::Format_RGB32);
    box.fill(Qt::black);
    QPainter p(&box);
    const QRect fit = source.isNull() ? QRect() : FitThumbnail(source.width(), source.height(), nBoxWidth, nBoxHeight);
    if (!fit.isEmpty()) {
        // Nearest-pixel scaling of the small result only: the full picture is never converted
        p.drawImage(fit.topLeft(), source.scaled(fit.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    // A one-pixel frame inside the box's edge
    const QColor green(0, 255, 0);
    p.fillRect(0, 0, nBoxWidth, 1, green);
    p.fillRect(0, nBoxHeight - 1, nBoxWidth, 1, green);
    p.fillRect(0, 0, 1, nBoxHeight, green);
    p.fillRect(nBoxWidth - 1, 0, 1, nBoxHeight, green);
    return box;
}
