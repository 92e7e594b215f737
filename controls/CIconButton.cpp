#include "controls/CIconButton.h"

// Qt
#include <QPainter>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/Gdi.h"

QPixmap LoadIconResource(UINT nId)
{
    if (nId == 0)
        return QPixmap();
    return QPixmap(QStringLiteral(":/icon/%1.png").arg(nId));
}

CIconButton::CIconButton(QWidget* parent)
    : QPushButton(parent)
{
}

CIconButton::~CIconButton() = default;

void CIconButton::SetIcons(UINT normal, UINT second, UINT selected, UINT fourth, UINT fifth)
{
    m_anIconIds = {normal, second, selected, fourth, fifth};
    m_iconNormal = LoadIconResource(normal);
    m_iconSelected = selected == normal ? m_iconNormal : LoadIconResource(selected);
}

void CIconButton::LoadIconImage(UINT id)
{
    if (id != 0 && id == m_anIconIds[0])
        m_hIcon = m_iconNormal;
    else if (id != 0 && id == m_anIconIds[2])
        m_hIcon = m_iconSelected;
    else
        m_hIcon = LoadIconResource(id);
    update();
}

void CIconButton::Select()
{
    m_bSelected = TRUE;
    if (m_anIconIds[2] != 0) {
        m_hIcon = m_iconSelected;
        update();
    }
}

void CIconButton::Deselect()
{
    m_bSelected = FALSE;
    if (m_anIconIds[0] != 0) {
        m_hIcon = m_iconNormal;
        update();
    }
}

void CIconButton::SetFontName(const QString& face)
{
    m_fontCaption.Attach(Gdi::Font(face, 12, 1));
    update();
}

void CIconButton::paintEvent(QPaintEvent*)
{
    try {
        if (m_hIcon.isNull())
            return;
        QPainter p(this);
        const QRect r = rect();
        p.drawPixmap(r, m_hIcon);
        if (m_fontCaption.GetFont())
            p.setFont(*m_fontCaption.GetFont());
        p.setPen(m_bSelected ? QColor(Qt::black) : Gdi::ColorFromRef(m_crText));
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
        // A raised frame: light top and left, dark bottom and right
        const QColor light = palette().color(QPalette::Light);
        const QColor dark = palette().color(QPalette::Dark);
        const int w = r.width(), h = r.height();
        p.fillRect(QRect(0, 0, w - 1, 1), light);
        p.fillRect(QRect(0, 0, 1, h - 1), light);
        p.fillRect(QRect(w - 1, 0, 1, h), dark);
        p.fillRect(QRect(0, h - 1, w, 1), dark);
    } catch (...) {
        ReportSystemError(GetLastError(), "CIconButton::DrawItem");
    }
}
