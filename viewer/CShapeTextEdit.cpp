#include "viewer/CShapeTextEdit.h"

// Qt
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTextDocument>
#include <QWheelEvent>

// Orvane
#include "platform/Gdi.h"
#include "platform/LastError.h"
#include "platform/ReportSystemError.h"
#include "viewer/CVantrelView.h"

namespace {

constexpr COLORREF kTextColour = 0x0000FF;   // red
constexpr COLORREF kBorderColour = 0x646464; // the thin window border

} // namespace

CShapeTextEdit::CShapeTextEdit(const QRect& box, const QString& strText, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_strText(strText)
{
    setObjectName(QStringLiteral("TextEdit%1").arg(kControlId));
    // A thin border, no scroll bars; the image shows through and the text is red
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    document()->setDocumentMargin(1);
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, Qt::transparent);
        pal.setColor(group, QPalette::Window, Qt::transparent);
        pal.setColor(group, QPalette::Text, Gdi::ColorFromRef(kTextColour));
        pal.setColor(group, QPalette::WindowText, Gdi::ColorFromRef(kBorderColour));
    }
    setPalette(pal);
    // Typed as the shape will show it
    setFont(ShapeTextFont());
    setGeometry(box.normalized());
    setPlainText(m_strText);
    show();
    setFocus(Qt::OtherFocusReason);
    QTextCursor caret = textCursor();
    caret.setPosition(0);
    setTextCursor(caret);
    ensureCursorVisible();
}

CShapeTextEdit::~CShapeTextEdit() = default;

QFont CShapeTextEdit::ShapeTextFont()
{
    // The shapes are drawn by a canvas over the pane's buffer, whose painter's font they keep
    QImage buffer(1, 1, QImage::Format_RGB32);
    QPainter painter(&buffer);
    QFont font = painter.font();
    painter.end();
    // In pixels, so that a screen of another resolution shows it at the same size
    const int pixels = QFontInfo(font).pixelSize();
    if (pixels > 0)
        font.setPixelSize(pixels);
    return font;
}

void CShapeTextEdit::Close()
{
    if (m_bClosed)
        return;
    m_bClosed = true;
    try {
        m_strText = toPlainText();
        auto* view = qobject_cast<CVantrelView*>(parentWidget());
        // Keys go back to the view once the edit is gone
        if (view && hasFocus())
            view->setFocus(Qt::OtherFocusReason);
        hide();
        // Only the view's current edit ends its entry
        if (view && view->m_pTextEdit == this)
            view->OnTextEditComplete(0, 0);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::onDestroy");
    }
}

bool CShapeTextEdit::event(QEvent* event)
{
    // Escape reaches the edit as a key instead of a shortcut of the window
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CShapeTextEdit::keyPressEvent(QKeyEvent* event)
{
    try {
        if (event->key() == Qt::Key_Escape) {
            m_bCancelled = 1;
            Close();
        } else {
            // Enter starts a new line
            QPlainTextEdit::keyPressEvent(event);
        }
    } catch (...) {
    }
    // Keys typed into the edit never page or turn the view below it
    event->accept();
}

void CShapeTextEdit::wheelEvent(QWheelEvent* event)
{
    QPlainTextEdit::wheelEvent(event);
    event->accept();
}
