#include "controls/CColorLabel.h"

// Qt
#include <QPainter>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/Gdi.h"

CColorLabel::CColorLabel(QWidget* parent)
    : QLabel(parent)
{
}

CColorLabel::~CColorLabel() = default;

void CColorLabel::SetText(const QString& text, bool bCenter)
{
    m_strText = text;
    m_bCenter = bCenter ? 1 : 0;
}

void CColorLabel::SetLabelFont(const QString& face, int height, bool bold, bool italic, bool underline, bool strikeOut)
{
    auto font = std::make_unique<QFont>(Gdi::Font(face, height, bold ? 700 : 400, italic, underline));
    font->setStrikeOut(strikeOut);
    m_pFont = std::move(font);
}

void CColorLabel::paintEvent(QPaintEvent*)
{
    try {
        int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        flags |= m_bCenter ? Qt::AlignHCenter : Qt::AlignLeft;
        if (m_strText.isEmpty())
            m_strText = text();
        if (m_strText.isEmpty())
            return;
        QPainter p(this);
        p.setPen(Gdi::ColorFromRef(m_crText));
        p.setFont(m_pFont ? *m_pFont : font());
        p.drawText(rect(), flags, m_strText);
    } catch (...) {
        ReportSystemError(GetLastError(), "CColorLabel::OnPaint");
    }
}
