#pragma once
// A group-box frame of one-pixel lines with a gap for its caption and a white caption; its
// children draw on black with white text.

// Qt
#include <QBrush>
#include <QGroupBox>

// Orvane
#include "platform/WinTypes.h"

/// Where the caption interrupts the top line of a box (L, T, R, B) for a caption cx wide and
/// cy high: the line runs at y = T + cy / 2 and is left out from xs to xe.
struct GroupBoxCaptionSpan
{
    int xs = 0;
    int xe = 0;
    int y = 0;
};
/// Left alignment: xs = L + 10; right: xs = R - 10 - cx; centred: xs = (R - L - cx) / 2;
/// xe = xs + cx.
GroupBoxCaptionSpan CaptionSpan(const RECT& frame, int cx, int cy, Qt::Alignment alignment);

/// The skinned group box: caption from title(), placement from alignment(), the flat style
/// from isFlat(). Paints no background of its own. UI thread only.
class CSkinGroupBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit CSkinGroupBox(QWidget* parent = nullptr);
    ~CSkinGroupBox() override;

    QBrush m_hbrBack;             ///< the children's background: solid black
    COLORREF m_crText = 0xFFFFFF; ///< caption colour

protected:
    void paintEvent(QPaintEvent* event) override;
};
