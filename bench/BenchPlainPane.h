#pragma once
// The plain Qt paint of a rendered picture, the floor of a pane's paint: Qt's own scaled
// drawImage (no smoothing) into the part of the pane the picture covers, black around it.

// Qt
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QWidget>

namespace Bench {

class PlainPane : public QWidget
{
public:
    using QWidget::QWidget;
    QImage picture;
    QRect target;

    /// The toolkit's 8-bit output of a `width` x `height` picture, without a copy.
    static QImage Wrap(const void* data, int width, int height, bool colour)
    {
        return data ? QImage(static_cast<const uchar*>(data), width, height, colour ? 3 * width : width,
                             colour ? QImage::Format_RGB888 : QImage::Format_Grayscale8)
                    : QImage();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.drawImage(target, picture);
    }
};

} // namespace Bench
