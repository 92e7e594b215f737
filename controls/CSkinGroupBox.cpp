#include "controls/CSkinGroupBox.h"

// Qt
#include <QFontMetrics>
#include <QPainter>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/Gdi.h"

GroupBoxCaptionSpan CaptionSpan(const RECT& frame, int cx, int cy, Qt::Alignment alignment)
{
    GroupBoxCaptionSpan span;
    span.y = frame.top + cy / 2;
    if (alignment & Qt::AlignRight) {
        span.xs = frame.right - 10 - cx;
        span.xe = frame.right - 10;
    } else if (alignment & Qt::AlignHCenter) {
        span.xs = (frame.right - frame.left - cx) / 2;
        span.xe = span.xs + cx;
    } else {
        span.xs = frame.left + 10;
        span.xe = span.xs + cx;
    }
    return span;
}

CSkinGroupBox::CSkinGroupBox(QWidget* parent)
    : QGroupBox(parent)
    , m_hbrBack(Qt::black)
{
    // What the children draw on
    QPalette pal = palette();
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
        pal.setBrush(role, m_hbrBack);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(role, Gdi::ColorFromRef(m_crText));
    setPalette(pal);
}

CSkinGroupBox::~CSkinGroupBox() = default;

void CSkinGroupBox::paintEvent(QPaintEvent*)
{
    try {
        QPainter p(this);
        const RECT f{0, 0, width(), height()};
        const QString caption = title();
        const QFontMetrics fm(font());
        const int cx = caption.isEmpty() ? 0 : fm.horizontalAdvance(caption);
        const int cy = fm.height();
        const GroupBoxCaptionSpan s = CaptionSpan(f, cx, cy, alignment());
        const int L = f.left, R = f.right, B = f.bottom, y = s.y;
        const auto polyline = [&p](std::initializer_list<QPoint> points) {
            const QPoint* previous = nullptr;
            for (const QPoint& point : points) {
                if (previous)
                    Gdi::LineTo(p, *previous, point);
                previous = &point;
            }
        };
        if (isFlat()) {
            p.setPen(Gdi::Pen(RGB(0, 0, 0)));
            polyline({{s.xs, y}, {L, y}, {L, B}, {R, B}, {R, y}, {s.xe, y}});
            p.setPen(Gdi::Pen(RGB(0, 255, 0)));
            polyline({{s.xs, y + 1}, {L + 1, y + 1}, {L + 1, B - 1}, {R - 1, B - 1}, {R - 1, y + 1}, {s.xe, y + 1}});
        } else {
            p.setPen(Gdi::Pen(RGB(128, 128, 128)));
            polyline({{s.xs, y}, {L, y}, {L, B - 1}, {R - 1, B - 1}, {R - 1, y}, {s.xe, y}});
            polyline({{s.xs, y + 1}, {L + 1, y + 1}, {L + 1, B - 1}});
            polyline({{L, B}, {R, B}, {R, y - 1}});
            polyline({{R - 2, y + 1}, {s.xe, y + 1}});
        }
        if (!caption.isEmpty()) {
            const QRect textRect(s.xs, y - cy / 2, cx, cy);
            if (isEnabled()) {
                p.setPen(Gdi::ColorFromRef(m_crText));
                p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, caption);
            } else {
                // Greyed as an embossed text
                p.setPen(Qt::white);
                p.drawText(textRect.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, caption);
                p.setPen(Gdi::ColorFromRef(RGB(128, 128, 128)));
                p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, caption);
            }
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CSkinGroupBox::OnPaint");
    }
}
