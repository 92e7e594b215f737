// CVantrelView: the in-place text entry. The release of a text box opens the edit over it with
// the text shape waiting in m_pDrawingShape; the edit's end appends the shape with its text.

#include "viewer/CVantrelView.h"

// Orvane
#include "annotation/CShapeText.h"
#include "platform/LastError.h"
#include "platform/ReportSystemError.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CShapeTextEdit.h"

void CVantrelView::OpenTextEdit(const QRect& box)
{
    try {
        // The edit of the previous box was closed by the press that began this one
        if (m_pTextEdit)
            delete m_pTextEdit.data();
        auto* edit = new CShapeTextEdit(box, QString(), this);
        // The text goes to the image the box was drawn on, whatever the view shows later
        edit->m_strImageKey = m_strImageKey;
        m_pTextEdit = edit;
        // The waiting shape's points are those of the view as it is now
        if (dynamic_cast<CShapeText*>(m_pDrawingShape))
            StoreShapeOriginalPoints(*m_pDrawingShape);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::OnLButtonUp");
    }
}

bool CVantrelView::IsTextEditOpen() const
{
    auto* edit = qobject_cast<CShapeTextEdit*>(m_pTextEdit.data());
    return edit && edit->IsOpen();
}

void CVantrelView::CloseTextEdit()
{
    if (auto* edit = qobject_cast<CShapeTextEdit*>(m_pTextEdit.data()); edit && edit->IsOpen())
        edit->Close();
}

long CVantrelView::OnTextEditComplete(unsigned long, long)
{
    try {
        auto* edit = qobject_cast<CShapeTextEdit*>(m_pTextEdit.data());
        if (!m_pDocument || !edit)
            return 0;
        if (edit->m_bCancelled) {
            // The shape that waited for the text goes with it
            if (dynamic_cast<CShapeText*>(m_pDrawingShape))
                DropDrawingShape();
            Invalidate(TRUE);
            return 0;
        }
        CMyFrameWnd* grid = GetGridFrame();
        if (!grid || !dynamic_cast<CShapeText*>(m_pDrawingShape))
            return 0;
        std::unique_ptr<CShapeCollection> shape = TakeDrawingShape();
        if (!shape)
            return 0;
        shape->SetImageKey(edit->m_strImageKey);
        static_cast<CShapeText*>(shape.get())->SetText(edit->m_strText);
        grid->m_arrShapes.push_back(std::move(shape));
        Invalidate(TRUE);
        grid->InvalidateViewsOfImage(edit->m_strImageKey);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::OnTextEditComplete");
    }
    return 0;
}
