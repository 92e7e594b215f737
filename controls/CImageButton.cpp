#include "controls/CImageButton.h"

// Qt
#include <QMouseEvent>
#include <QPainter>

// Orvane
#include "platform/ReportSystemError.h"
#include "platform/CxImage.h"

namespace {

CxImage* LoadSkin(UINT nId, int width, int height)
{
    auto* image = new CxImage(0);
    image->LoadResource(int(nId), CXIMAGE_FORMAT_JPG);
    // Resampled once here, so painting only copies a picture of the right size
    if (image->IsValid() && width > 0 && height > 0
        && (image->GetWidth() != DWORD(width) || image->GetHeight() != DWORD(height)))
        image->Resample(width, height, 0, nullptr);
    return image;
}

} // namespace

CImageButton::CImageButton(int nID, QWidget* parent)
    : QWidget(parent)
    , m_nID(nID)
{
    setFocusPolicy(Qt::ClickFocus);
}

CImageButton::~CImageButton()
{
    DeleteImages();
}

void CImageButton::DeleteImages()
{
    delete m_pImgNormal;
    delete m_pImgHover;
    delete m_pImgPressed;
    m_pImgNormal = m_pImgHover = m_pImgPressed = nullptr;
}

void CImageButton::SetImages(UINT nNormal, UINT nPressed, UINT nHover)
{
    DeleteImages();
    const int w = width();
    const int h = height();
    m_pImgNormal = LoadSkin(nNormal, w, h);
    m_pImgHover = LoadSkin(nHover, w, h);
    m_pImgPressed = LoadSkin(nPressed, w, h);
    update();
}

void CImageButton::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        m_rcClient = RECT{0, 0, width(), height()};
        const CxImage* image = m_nState == 1 ? m_pImgPressed : m_nState == 2 ? m_pImgHover : m_pImgNormal;
        if (image)
            image->Draw2(&painter, 0, 0, m_rcClient.Width(), m_rcClient.Height());
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageButton::OnPaint");
    }
}

void CImageButton::mousePressEvent(QMouseEvent* event)
{
    // The button keeps the mouse until the release, wherever that happens
    QWidget::mousePressEvent(event);
    event->accept();
}

void CImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    try {
        if (event->button() == Qt::LeftButton) {
            // Posted, so that the owner acts after this release has been handled; dropped
            // when the button goes first
            const int id = m_nID;
            QMetaObject::invokeMethod(this, [this, id] { emit Command(id); }, Qt::QueuedConnection);
        }
        event->accept();
    } catch (...) {
        ReportSystemError(GetLastError(), "CImageButton::OnLButtonUp");
    }
}

void CImageButton::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        update();
    QWidget::mouseMoveEvent(event);
}

void CImageButton::enterEvent(QEnterEvent* event)
{
    m_bTracking = TRUE;
    OnMouseHover();
    QWidget::enterEvent(event);
}

void CImageButton::leaveEvent(QEvent* event)
{
    OnMouseLeave();
    QWidget::leaveEvent(event);
}

void CImageButton::OnMouseHover()
{
    m_nState = m_bChecked ? 1 : 2;
    update();
}

void CImageButton::OnMouseLeave()
{
    m_bTracking = FALSE;
    m_nState = m_bChecked ? 1 : 0;
    update();
}
