#pragma once
// The viewport grid frame above the tool bar (placeholder: an empty black pane that keeps the
// grid members the study loader sets).

// Qt
#include <QWidget>

// Orvane
#include "platform/WinTypes.h"

class CVantrelDoc;

/// The viewport grid frame. UI thread only.
class CMyFrameWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CMyFrameWnd(QWidget* parent = nullptr);
    ~CMyFrameWnd() override;

    /// Back to one view showing the first series key (placeholder: nothing yet).
    void DisplaySingleFrame(CVantrelDoc* pDoc);

    int m_nCols = -1;          ///< grid columns; 0 after DisplaySingleFrame
    int m_nRows = -1;          ///< grid rows; 0 after DisplaySingleFrame
    int m_nPrevRows = -1;
    int m_nPrevCols = -1;
    BYTE m_bSeriesLayout = 1;  ///< the grid shows series (set) or consecutive images (clear)
};
