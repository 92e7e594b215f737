#pragma once
// A plain image with a painter, fixed font metrics and a canvas that records every text it
// writes, for checking what shapes draw and where their texts go.

// Qt
#include <QImage>
#include <QList>
#include <QPainter>
#include <QString>

// Orvane
#include "annotation/CFixedFontMetrics.h"
#include "annotation/CShapeCanvas.h"
#include "platform/WinTypes.h"

/// One TextOut call as the canvas saw it (logical coordinates).
struct RecordedText
{
    int x = 0;
    int y = 0;
    QString text;
    COLORREF color = 0;
    QString family;
};

/// Records every text, then draws it as the canvas does.
class RecordingCanvas : public CShapeCanvas
{
public:
    using CShapeCanvas::CShapeCanvas;
    void TextOut(int x, int y, const QString& text) override
    {
        texts.append(RecordedText{x, y, text, GetTextColor(), GetFont().family()});
        CShapeCanvas::TextOut(x, y, text);
    }
    QList<RecordedText> texts;
};

/// An RGB32 image of one colour with a painter and a recording canvas over it; fixed metrics
/// (height 13, ascent 10, no leading, average width 7) unless given.
class ShapeTestSurface
{
public:
    explicit ShapeTestSurface(int width = 200, int height = 200, COLORREF background = RGB(128, 128, 128),
                              const ShapeTextMetrics& metrics = ShapeTextMetrics{13, 10, 0, 7})
        : image(width, height, QImage::Format_RGB32), metrics(metrics)
    {
        image.fill(QColor(GetRValue(background), GetGValue(background), GetBValue(background)));
        painter.begin(&image);
        canvas = new RecordingCanvas(painter, &image, this->metrics);
    }
    ~ShapeTestSurface()
    {
        delete canvas;
        if (painter.isActive())
            painter.end();
    }
    ShapeTestSurface(const ShapeTestSurface&) = delete;
    ShapeTestSurface& operator=(const ShapeTestSurface&) = delete;

    /// Ends painting so that the image holds everything drawn so far.
    QImage& Finish()
    {
        if (painter.isActive())
            painter.end();
        return image;
    }
    /// The pixel at device (x, y) as a colour reference.
    COLORREF Pixel(int x, int y)
    {
        const QRgb rgb = Finish().pixel(x, y);
        return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
    }
    /// Number of pixels that differ from `background`.
    int CountChanged(COLORREF background)
    {
        const QImage& img = Finish();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb rgb = img.pixel(x, y);
                if (RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)) != background)
                    ++n;
            }
        return n;
    }

    QImage image;
    QPainter painter;
    CFixedFontMetrics metrics;
    RecordingCanvas* canvas = nullptr;
};
