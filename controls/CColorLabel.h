#pragma once
// One line of text in its own colour and font on a transparent background.

// Qt
#include <QFont>
#include <QLabel>

// std
#include <memory>

// Orvane
#include "platform/WinTypes.h"

/// The coloured label. Its own text is drawn; while that is empty, the label's window text
/// (QLabel::text()). UI thread only.
class CColorLabel : public QLabel
{
    Q_OBJECT
public:
    explicit CColorLabel(QWidget* parent = nullptr);
    ~CColorLabel() override;

    /// Stores the text and the centring; shown at the next paint.
    void SetText(const QString& text, bool bCenter);
    /// A new label font: `height` as CreateFont takes it (negative: character height in
    /// pixels), weight 700 when bold else 400.
    void SetLabelFont(const QString& face, int height, bool bold, bool italic, bool underline, bool strikeOut);
    void SetTextColor(COLORREF cr) { m_crText = cr; }

    QString m_strText;                ///< the label text; the window text is taken when empty
    std::unique_ptr<QFont> m_pFont;   ///< the label font, owned; the widget's font when null
    COLORREF m_crText = 0xFFFFFF;     ///< text colour
    BYTE m_bCenter = 0;               ///< centre the text horizontally

protected:
    void paintEvent(QPaintEvent* event) override;
};
