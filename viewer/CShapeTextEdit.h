#pragma once
// The in-place edit of a text annotation: a multi-line edit with a thin border and a
// transparent background, typed in red over the image, that tells its view when it closes.

// Qt
#include <QPlainTextEdit>
#include <QString>

class QFont;

/// The edit a view opens over a dragged text box. It closes once: Escape cancels it, Close()
/// completes it (the view then makes the text shape). A closed edit is hidden but stays
/// allocated until its view replaces or deletes it. Losing the focus does not close it.
/// Being deleted never completes it. UI thread only.
class CShapeTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    /// Control id of the edit in its view.
    static constexpr int kControlId = 42;

    /// An edit over `box` (client pixels of `parent`, corners in any order), showing
    /// `strText` in ShapeTextFont(), with the focus and the caret at the start.
    CShapeTextEdit(const QRect& box, const QString& strText, QWidget* parent);
    ~CShapeTextEdit() override;

    /// The window is still open (not closed by Escape or Close()).
    bool IsOpen() const { return !m_bClosed; }
    /// Reads the text back, hides the edit and tells the parent view (OnTextEditComplete).
    /// A second call does nothing.
    void Close();
    /// The font a text shape is written in on a view: the font a painter on the view's RGB32
    /// paint buffer starts with, at the pixel size it has there. The edit types in it, so the
    /// text keeps its size and face when the entry closes.
    static QFont ShapeTextFont();

    QString m_strText;          ///< the text: shown on opening, read back on closing
    int m_bCancelled = 0;       ///< Escape was typed; the entry makes no shape
    QString m_strImageKey;      ///< key of the image the box was opened on

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool m_bClosed = false;
};
