#pragma once
// The tool bar below the viewport grid (placeholder: an empty black pane).

// Qt
#include <QWidget>

// Orvane
#include "platform/WinTypes.h"

/// The tool bar. UI thread only.
class CToolView : public QWidget
{
    Q_OBJECT
public:
    explicit CToolView(QWidget* parent = nullptr);
    ~CToolView() override;

    /// Lays the buttons out again from theApp's m_nViewAreaWidth and m_nToolRowHeight, after a
    /// pane size changed. Returns 1.
    int OnRelayoutToolbar();

    /// The command IDC_BTN_RESET: ends every mode and resets the shown image; nothing until
    /// theApp.m_bImagesLoaded is set. The study loader sends it before every load.
    /// (Placeholder: nothing.)
    virtual void OnResetImage();
    /// Enables or disables the Probe button (IDC_BTN_PROBE). (Placeholder: nothing.)
    virtual void EnableProbeButton(BOOL bEnable);
};
