#pragma once
// The magnifier lens: a square child of the magnifier overlay that paints the magnified part
// of the overlay's frozen picture under the pointer, as a round or a square lens.

// Qt
#include <QWidget>

// std
#include <memory>

class CImageWnd;
class CxImage;
class QPainter;

/// The lens window. Its owner is the overlay whose capture, lens position, size, zoom, option
/// and shape it paints. Takes no mouse input and no focus. UI thread only.
class CMagnWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CMagnWnd(CImageWnd* pOwner);
    ~CMagnWnd() override;

    /// The round lens (the overlay's shape 1): the source square stretched into the circle,
    /// the corners unmagnified, two circles.
    void DrawRoundLens(QPainter* pDC);
    /// The square lens: the source square cropped from the capture (black beyond it), resampled
    /// to the lens size by the overlay's option and drawn, with two square frames.
    void DrawUsingCxImage_Ex(QPainter* pDC);

    std::unique_ptr<CxImage> m_pLensImage;  ///< the square lens's picture

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CImageWnd* m_pOwner;
};
