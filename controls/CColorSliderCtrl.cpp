// CColorSliderCtrl: colours, shades, channel and thumb.

#include "controls/CColorSliderCtrl.h"

// Qt
#include <QPainter>

// std
#include <algorithm>
#include <utility>

// Orvane
#include "platform/Gdi.h"
#include "platform/ReportSystemError.h"

namespace {

// The system colours the slider starts from
constexpr COLORREF kBtnFace = RGB(240, 240, 240);
constexpr COLORREF kWindow = RGB(255, 255, 255);
constexpr COLORREF kHighlight = RGB(0, 120, 215);
constexpr COLORREF kBtnShadow = RGB(160, 160, 160);
constexpr COLORREF kDarkShadow = RGB(105, 105, 105);
constexpr COLORREF kBtnHighlight = RGB(255, 255, 255);
constexpr COLORREF kWindowFrame = RGB(100, 100, 100);

// a + (b - a) / 2 per channel, the half rounded toward minus infinity
COLORREF Halfway(COLORREF a, COLORREF b)
{
    auto mid = [](int x, int y) { return x + ((y - x) >> 1); };
    return RGB(mid(GetRValue(a), GetRValue(b)), mid(GetGValue(a), GetGValue(b)), mid(GetBValue(a), GetBValue(b)));
}

void Pixel(QPainter& p, int x, int y, COLORREF c)
{
    p.fillRect(QRect(x, y, 1, 1), Gdi::ColorFromRef(c));
}

void Line(QPainter& p, int x0, int y0, int x1, int y1, COLORREF c)
{
    p.setPen(Gdi::Pen(c));
    Gdi::LineTo(p, QPoint(x0, y0), QPoint(x1, y1));
}

// A rounded rectangle (corner 2 x 2) inside r, outlined in `pen` and filled with `brush`
void RoundRect(QPainter& p, const RECT& r, COLORREF pen, COLORREF brush)
{
    if (r.IsRectEmpty())
        return;
    p.fillRect(QRect(r.left + 1, r.top + 1, r.Width() - 2, r.Height() - 2), Gdi::ColorFromRef(brush));
    const QColor outline = Gdi::ColorFromRef(pen);
    p.fillRect(QRect(r.left + 1, r.top, r.Width() - 2, 1), outline);
    p.fillRect(QRect(r.left + 1, r.bottom - 1, r.Width() - 2, 1), outline);
    p.fillRect(QRect(r.left, r.top + 1, 1, r.Height() - 2), outline);
    p.fillRect(QRect(r.right - 1, r.top + 1, 1, r.Height() - 2), outline);
}

void Draw3dRect(QPainter& p, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    if (r.IsRectEmpty())
        return;
    const int cx = r.Width(), cy = r.Height();
    p.fillRect(QRect(r.left, r.top, cx - 1, 1), Gdi::ColorFromRef(topLeft));
    p.fillRect(QRect(r.left, r.top, 1, cy - 1), Gdi::ColorFromRef(topLeft));
    p.fillRect(QRect(r.right - 1, r.top, 1, cy), Gdi::ColorFromRef(bottomRight));
    p.fillRect(QRect(r.left, r.bottom - 1, cx, 1), Gdi::ColorFromRef(bottomRight));
}

} // namespace

CColorSliderCtrl::CColorSliderCtrl(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
    , m_crSelection(kHighlight)
    , m_crChannel(kWindow)
    , m_crFace(kBtnFace)
{
    // The parent shows through where neither channel nor thumb is drawn
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
    UpdateShades();
}

CColorSliderCtrl::~CColorSliderCtrl() = default;

COLORREF CColorSliderCtrl::LightenColor(COLORREF c, BYTE n)
{
    auto up = [n](int v) { return v + n <= 255 ? v + n : v; };
    return RGB(up(GetRValue(c)), up(GetGValue(c)), up(GetBValue(c)));
}

COLORREF CColorSliderCtrl::DarkenColor(COLORREF c, BYTE n)
{
    auto down = [n](int v) { return v >= n ? v - n : v; };
    return RGB(down(GetRValue(c)), down(GetGValue(c)), down(GetBValue(c)));
}

void CColorSliderCtrl::UpdateShades()
{
    m_crLight1 = LightenColor(m_crFace, 51);
    m_crLight2 = LightenColor(m_crLight1, 51);
    m_crDark1 = DarkenColor(m_crFace, 51);
    m_crDark2 = DarkenColor(m_crDark1, 51);
    m_crShadow = Halfway(kBtnShadow, kDarkShadow);
    m_crMid = Halfway(kBtnFace, kBtnShadow);
    m_crHilight = kBtnHighlight;
}

void CColorSliderCtrl::SetChannelColor(COLORREF c)
{
    m_crChannel = c;
    UpdateShades();
}

void CColorSliderCtrl::SetFaceColor(COLORREF c)
{
    m_crFace = c;
    UpdateShades();
    repaint();
}

void CColorSliderCtrl::SetSelectionColor(COLORREF c)
{
    m_crSelection = c;
    UpdateShades();
    repaint();
}

void CColorSliderCtrl::SetRange(int nMin, int nMax)
{
    setRange(nMin, nMax);
    SetSelection(m_nSelStart, m_nSelEnd);
}

void CColorSliderCtrl::SetSelection(int nStart, int nEnd)
{
    if (nStart > nEnd)
        std::swap(nStart, nEnd);
    m_nSelStart = std::clamp(nStart, minimum(), maximum());
    m_nSelEnd = std::clamp(nEnd, minimum(), maximum());
}

void CColorSliderCtrl::GetSelection(int& nStart, int& nEnd) const
{
    nStart = m_nSelStart;
    nEnd = m_nSelEnd;
}

RECT CColorSliderCtrl::ChannelRect() const
{
    // As the track bar places it: the thumb's half width in from each end, 4 pixels high
    // about the middle
    const int inset = m_nThumbWidth / 2 + 2;
    const int mid = height() / 2;
    return RECT{inset, mid - 2, std::max(inset, width() - inset), mid + 2};
}

RECT CColorSliderCtrl::ThumbRect() const
{
    const RECT channel = ChannelRect();
    const int length = channel.Width();
    const int span = maximum() - minimum();
    const int offset = span > 0 ? int((long long)length * (value() - minimum()) / span) : 0;
    const int centre = channel.left + offset;
    const int h = std::max(6, height() - 8);
    const int top = (height() - h) / 2;
    return RECT{centre - m_nThumbWidth / 2, top, centre - m_nThumbWidth / 2 + m_nThumbWidth, top + h};
}

void CColorSliderCtrl::DrawChannel(QPainter& p, RECT r) const
{
    if (!(minimum() == 0 && maximum() == 0)) {
        r.top += 1;
        r.bottom -= 1;
    }
    r.left += 1;
    r.right -= 1;
    r.bottom += 1;
    const COLORREF fill = isEnabled() ? m_crChannel : kBtnFace;
    if (r.Width() > 3)
        RoundRect(p, r, m_crShadow, fill);

    // Bevel around it
    r.left -= 1;
    r.top -= 1;
    r.right += 1;
    p.setPen(Gdi::Pen(m_crMid));
    Gdi::LineTo(p, QPoint(r.left, r.bottom - 2), QPoint(r.left, r.top + 2));
    Gdi::LineTo(p, QPoint(r.left, r.top + 2), QPoint(r.left + 2, r.top));
    Gdi::LineTo(p, QPoint(r.left + 2, r.top), QPoint(r.right - 2, r.top));
    p.setPen(Gdi::Pen(m_crHilight));
    const QPoint hl[] = {{r.left + 1, r.bottom - 1}, {r.left + 2, r.bottom}, {r.right - 2, r.bottom},
                         {r.right - 2, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top + 2},
                         {r.right - 3, r.top}};
    for (size_t i = 1; i < std::size(hl); ++i)
        Gdi::LineTo(p, hl[i - 1], hl[i]);

    // The selection's part of the channel; a range of no length has no such part
    const int span = maximum() - minimum();
    if (m_nSelStart < m_nSelEnd && span > 0) {
        const RECT channel = ChannelRect();
        const int length = channel.Width();
        RECT sel = r;
        sel.left = channel.left + int((long long)length * (m_nSelStart - minimum()) / span);
        sel.right = channel.left + int((long long)length * (m_nSelEnd - minimum()) / span);
        sel.left += 2;
        sel.top += 2;
        sel.right -= 2;
        sel.bottom -= 1;
        Gdi::FillSolidRect(p, sel, m_crSelection);
    }
}

void CColorSliderCtrl::DrawHorizontalThumb(QPainter& p, RECT r) const
{
    // Pressed: one shade darker while dragged
    const COLORREF face = isSliderDown() ? DarkenColor(m_crFace, 51) : m_crFace;
    const COLORREF light1 = LightenColor(face, 51);
    const COLORREF light2 = LightenColor(light1, 51);
    const COLORREF dark1 = DarkenColor(face, 51);
    const COLORREF dark2 = DarkenColor(dark1, 51);
    const int w = r.Width();

    RoundRect(p, r, kWindowFrame, face);
    RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (w > 5) {
        Draw3dRect(p, inner, light1, dark1);
        Pixel(p, inner.left, inner.top, light2);
        Pixel(p, inner.right - 1, inner.top, face);
        Pixel(p, inner.right - 1, inner.bottom - 1, dark2);
        Pixel(p, inner.left, inner.bottom - 1, face);
    }
    // The grip
    if (isEnabled() && w > 5) {
        const int top = inner.top, bottom = inner.bottom, left = inner.left;
        const int lights = w > 9 ? 4 : 2;
        const int darks = w > 9 ? 3 : 2;
        for (int i = 0; i < lights; ++i) {
            Line(p, left + 1 + 2 * i, top + 5, left + 1 + 2 * i, bottom - 5, light1);
            Pixel(p, left + 1 + 2 * i, top + 4, light2);
        }
        for (int i = 0; i < darks; ++i)
            Line(p, left + 2 + 2 * i, top + 5, left + 2 + 2 * i, bottom - 4, dark2);
    }
}

void CColorSliderCtrl::paintEvent(QPaintEvent*)
{
    try {
        QPainter p(this);
        DrawChannel(p, ChannelRect());
        DrawHorizontalThumb(p, ThumbRect());
    } catch (...) {
        ReportSystemError(GetLastError(), "CColorSliderCtrl::OnCustomDraw");
    }
}
