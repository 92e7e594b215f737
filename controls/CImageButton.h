#pragma once
// The skinned button of every tool surface: one of three pictures (normal, pressed or checked,
// hover) stretched over the control, a hover state that follows the pointer, a checked state
// that its owner sets, and a command posted on every release of the left button.

// Qt
#include <QWidget>

// Orvane
#include "platform/WinTypes.h"

class CxImage;

/// A skinned push or toggle button. Draws nothing but its picture: no frame, text or focus mark;
/// a state without a picture shows what lies beneath. UI thread only.
class CImageButton : public QWidget
{
    Q_OBJECT
public:
    explicit CImageButton(int nID = 0, QWidget* parent = nullptr);
    ~CImageButton() override;

    /// Loads the "JPG" resources of the three states and resamples each picture once to the
    /// control's current size when its width or height differs. A missing or undecodable
    /// resource leaves an empty picture. Call it after the control has its size, and again to
    /// change the skins.
    void SetImages(UINT nNormal, UINT nPressed, UINT nHover);

    int GetDlgCtrlID() const { return m_nID; }
    void SetDlgCtrlID(int nID) { m_nID = nID; }

    // The owners set the state members directly: to check a toggle button, m_bChecked = TRUE,
    // m_nState = 1 and update(); to release it, FALSE, 0 and update().
    CxImage* m_pImgNormal = nullptr;  ///< picture of the normal state, owned
    CxImage* m_pImgHover = nullptr;   ///< picture while the pointer rests on an unchecked button, owned
    CxImage* m_pImgPressed = nullptr; ///< picture of the pressed state, also while checked, owned
    int m_nState = 0;                 ///< the picture painted: 0 normal, 1 pressed, 2 hover
    RECT m_rcClient{};                ///< client rectangle, refreshed by every paint
    BOOL m_bTracking = FALSE;         ///< the pointer is being followed for hover and leave
    BOOL m_bChecked = FALSE;          ///< the toggle button is checked
    BOOL m_bToggle = FALSE;           ///< a toggle button, checked and released by its owner

signals:
    /// The click notification, with the control id: posted on every left-button release the
    /// control receives (also one that ends outside it, as the button holds the mouse), so it
    /// arrives from the event loop after the release has been handled. Two per double-click.
    void Command(int nID);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void DeleteImages();
    void OnMouseHover();
    void OnMouseLeave();

    int m_nID = 0;
};
