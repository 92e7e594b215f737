// CVantrelView: the magnifier's side of the view. The view keeps the pointer for the whole
// stroke and hands press, moves and release to the overlay in its own client pixels.

#include "viewer/CVantrelView.h"

// Orvane
#include "viewer/CImageWnd.h"

void CVantrelView::OnMagnifierPress(UINT, QPoint point)
{
    try {
        if (CImageWnd* magnifier = CImageWnd::GetMagnifierWindow(this))
            magnifier->OnLButtonDown(this, point);
    } catch (...) {
    }
}

void CVantrelView::OnMagnifierMove(UINT nFlags, QPoint point)
{
    if (g_wndMagnifier && g_wndMagnifier->m_hwndView == this)
        g_wndMagnifier->OnMouseMove(nFlags, point);
}

void CVantrelView::OnMagnifierRelease(UINT, QPoint point)
{
    if (g_wndMagnifier && g_wndMagnifier->m_hwndView == this)
        g_wndMagnifier->OnLButtonUp(point);
}

void CVantrelView::HideMagnifierWindow()
{
    if (g_wndMagnifier)
        g_wndMagnifier->hide();
}
