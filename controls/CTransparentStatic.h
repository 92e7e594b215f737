#pragma once
// Static text in white on whatever its parent paints beneath it.

// Qt
#include <QLabel>

/// The transparent label. UI thread only.
class CTransparentStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CTransparentStatic(QWidget* parent = nullptr);
    ~CTransparentStatic() override;

    /// Changes the text and repaints the parent beneath the label at once, so the new text is
    /// drawn on a fresh background and nothing of a longer old text remains.
    void SetWindowText(const QString& text);
};
