#pragma once
// The thumbnail column on the left of the child frame (placeholder: an empty black pane).

// Qt
#include <QWidget>

// Orvane
#include "study/IThumbnailRun.h"

/// The thumbnail column. UI thread only.
class CThumbNailLeft : public QWidget, public IThumbnailRun
{
    Q_OBJECT
public:
    explicit CThumbNailLeft(QWidget* parent = nullptr);
    ~CThumbNailLeft() override;

    /// The first update, when the child frame has made the pane: no run is in progress.
    virtual void OnInitialUpdate();
};
