#pragma once
// A horizontal slider that draws its channel and thumb itself, bevelled, in colours of its own,
// on a transparent background (the parent shows through around them).

// Qt
#include <QSlider>

// Orvane
#include "platform/WinTypes.h"

class QPainter;

/// The colour slider of the cine bar. Range, position and selection are the slider's own; the
/// selection always lies inside the range. Geometry is in widget pixels. UI thread only.
class CColorSliderCtrl : public QSlider
{
    Q_OBJECT
public:
    explicit CColorSliderCtrl(QWidget* parent = nullptr);
    ~CColorSliderCtrl() override;

    /// Each of red, green and blue on its own: + n where the sum stays at most 255, else kept.
    static COLORREF LightenColor(COLORREF c, BYTE n);
    /// Each channel on its own: - n where the channel is at least n, else kept.
    static COLORREF DarkenColor(COLORREF c, BYTE n);

    /// Channel fill; no repaint.
    void SetChannelColor(COLORREF c);
    /// Thumb colour (its shades follow); repaints.
    void SetFaceColor(COLORREF c);
    /// Selection fill; repaints.
    void SetSelectionColor(COLORREF c);
    /// The range; the selection is brought inside it. No repaint.
    void SetRange(int nMin, int nMax);
    void SetRangeMax(int nMax) { SetRange(minimum(), nMax); }
    int GetRangeMax() const { return maximum(); }
    int GetRangeMin() const { return minimum(); }
    void SetPos(int nPos) { setValue(nPos); }
    int GetPos() const { return value(); }
    /// The selection, clamped into the range (start and end swapped when reversed).
    void SetSelection(int nStart, int nEnd);
    void GetSelection(int& nStart, int& nEnd) const;

    /// Where the channel and the thumb are drawn at the current size and position.
    RECT ChannelRect() const;
    RECT ThumbRect() const;
    /// Thumb width (widget pixels).
    int m_nThumbWidth = 11;

    COLORREF m_crSelection;
    COLORREF m_crChannel;
    COLORREF m_crFace;
    COLORREF m_crLight1 = 0;
    COLORREF m_crLight2 = 0;
    COLORREF m_crDark1 = 0;
    COLORREF m_crDark2 = 0;
    COLORREF m_crShadow = 0;
    COLORREF m_crMid = 0;
    COLORREF m_crHilight = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateShades();
    void DrawChannel(QPainter& p, RECT r) const;
    void DrawHorizontalThumb(QPainter& p, RECT r) const;

    int m_nSelStart = 0;
    int m_nSelEnd = 0;
};
