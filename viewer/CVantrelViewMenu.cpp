// CVantrelView: the right-button menu (window presets, Show/Hide, the DICOM Information dialog,
// the magnifier settings) and applying a window preset.

#include "viewer/CVantrelView.h"

// Qt
#include <QAction>
#include <QMenu>
#include <QMouseEvent>

// std
#include <algorithm>

// DCMTK
#include "dcmtk/dcmdata/dcdatset.h"

// Orvane
#include "state/CAppState.h"
#include "platform/ReportSystemError.h"
#include "res/resource.h"
#include "study/CDicomTagDisplayDlg.h"
#include "study/CImageInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CxImageDCM.h"
#include "state/ToolState.h"
#include "viewer/CImageWnd.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CPropMagn.h"
#include "viewer/CVantrelDoc.h"
#include "viewer/ContextMenuResource.h"
#include "viewer/WindowPresets.h"

using namespace ContextMenuResource;

namespace {

// Positions in the "Tools" popup
constexpr int kPresetsPosition = 0;
constexpr int kShowHidePosition = 2;
// Positions in the "Show/Hide" popup
constexpr int kHeaderInfoPosition = 0;
constexpr int kAnnotationsPosition = 2;

void CheckByPosition(QMenu* menu, int position, bool checked)
{
    const QList<QAction*> items = menu->actions();
    if (position < 0 || position >= items.size())
        return;
    items[position]->setCheckable(true);
    items[position]->setChecked(checked);
}

} // namespace

void CVantrelView::OnRButtonDown(UINT, QPoint)
{
    // The press is swallowed: the menu opens on the release
}

void CVantrelView::OnRButtonUp(UINT, QPoint point)
{
    int chosen = 0;
    try {
        QMenu* tools = BuildContextMenu();
        if (tools) {
            // The menu runs its own loop; the view may go meanwhile
            QPointer<CVantrelView> self(this);
            QAction* action = tools->exec(mapToGlobal(point));
            if (!self)
                return;
            chosen = CommandId(action);
        }
    } catch (...) {
    }
    // Acted on once the menu has closed: a preset resets the menu it came from
    if (chosen != 0)
        OnContextCommand(chosen);
}

QMenu* CVantrelView::BuildContextMenu()
{
    if (!theApp.m_bImagesLoaded || !GetGridFrame())
        return nullptr;
    // Not in the middle of a left-button stroke: the menu would take the stroke's release
    if (m_bLButtonDown || m_bMouseDown)
        return nullptr;
    SelectThumbnail(GetThumbnailIndex());
    m_menuContext.reset();
    m_nNextPresetId = 0;
    m_menuContext = LoadMenu(IDR_CONTEXT_MENU);
    if (!m_menuContext)
        return nullptr;
    QMenu* tools = GetSubMenu(m_menuContext.get(), 0);
    if (!tools)
        return nullptr;

    QMenu* presets = GetSubMenu(tools, kPresetsPosition);
    if (presets) {
        const QList<QAction*> items = presets->actions();
        // A menu whose presets popup does not start with "Default" is not shown
        if (items.isEmpty() || CommandId(items.front()) != ID_WINDOW_PRESET_DEFAULT) {
            m_menuContext.reset();
            return nullptr;
        }
        m_nNextPresetId = ID_WINDOW_PRESET_BASE;
        AddDefault_WWL_Value_OnRightMenu(presets);
        AddStandard_WWL_Presets_OnRightMenu(presets);
        // Presets act on the picture: none while this pane's cine runs or without a picture
        const bool usable = !m_bCineRunning && HasPicture();
        for (QAction* item : presets->actions()) {
            item->setCheckable(true);
            item->setChecked(CommandId(item) == m_nCheckedPresetId);
            item->setEnabled(usable);
        }
        presets->menuAction()->setEnabled(usable);
    }
    if (QMenu* showHide = GetSubMenu(tools, kShowHidePosition)) {
        CheckByPosition(showHide, kHeaderInfoPosition, !g_bHeaderInfoHidden);
        CheckByPosition(showHide, kAnnotationsPosition, !g_bAnnotationsHidden);
    }
    // The data set is the cine loop's while it runs
    if (QAction* information = FindCommand(tools, ID_DICOM_INFORMATION))
        information->setEnabled(!m_bCineRunning && m_pImage && m_pDicomImage);
    return tools;
}

void CVantrelView::AddDefault_WWL_Value_OnRightMenu(QMenu* pPresets)
{
    try {
        if (!pPresets || pPresets->actions().isEmpty())
            return;
        const float width = m_pDocument ? m_pDocument->m_fDefaultWindowWidth : 0.0f;
        const float centre = m_pDocument ? m_pDocument->m_fDefaultWindowCenter : 0.0f;
        pPresets->actions().front()->setText(WindowPresets::DefaultText(width, centre));
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::AddDefault_WWL_Value_OnRightMenu");
    }
}

void CVantrelView::AddStandard_WWL_Presets_OnRightMenu(QMenu* pPresets)
{
    try {
        if (!pPresets || !m_pDicomImage)
            return;
        const int bits = m_pDicomImage->GetBitsAllocated();
        for (const QString& text : WindowPresets::PresetTexts(m_strModality, bits))
            AppendMenu(pPresets, ++m_nNextPresetId, text);
    } catch (...) {
        ReportSystemError(GetLastError(), "CVantrelView::AddStandard_WWL_Presets_OnRightMenu");
    }
}

BOOL CVantrelView::OnContextCommand(int nId)
{
    try {
        if (WindowPresets::IsPresetCommand(nId, m_nNextPresetId)) {
            if (!m_menuContext || m_bCineRunning)
                return TRUE;
            const QString text = GetMenuString(m_menuContext.get(), nId);
            m_nCheckedPresetId = nId;
            m_nNextPresetId = 0;
            m_menuContext.reset();
            ApplyWindowLevelPreset(text);
            return TRUE;
        }
        switch (nId) {
        case ID_SHOWHIDE_HEADERINFO:
            OnShowHideHeaderInfo();
            return TRUE;
        case ID_SHOWHIDE_ANNOTATIONS:
            OnShowHideAnnotations();
            return TRUE;
        case ID_DICOM_INFORMATION:
            OnDicomInformation();
            return TRUE;
        case ID_MAGNIFIER_SETTINGS:
            OnMagnifierSettings();
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        return TRUE;
    }
}

void CVantrelView::ApplyWindowLevelPreset(const QString& text)
{
    try {
        if (!m_pStudy || !m_pSeries || !m_pImage || !m_pDocument || m_bCineRunning)
            return;
        const std::optional<WindowPresets::Window> window = WindowPresets::Parse(text);
        if (!window)
            return;
        // A width below 1 is no window: it counts as 1, as a window drag keeps it
        const int width = std::max(1, window->nWidth);
        const int centre = window->nCentre;
        m_pDocument->m_fWindowWidth = float(width);
        m_pDocument->m_fWindowCenter = float(centre);
        DrawWindowLevelText();
        // The series keeps it: its other images show with this window when paged to
        m_pSeries->SetWindowChanged(TRUE);
        m_pSeries->SetWindow(float(width), float(centre));
        RenderWithWindowLevel(width, centre);
        ApplyViewTransforms();
        SetZoomScrollSizes(GetZoomedImageSize());
        ApplyWW_WLInOtherViewPort();
        Invalidate(TRUE);
    } catch (...) {
    }
}

namespace {

// Repaints this view alone when one view is shown, else every pane of the grid
void InvalidateAfterShowHide(CVantrelView* view)
{
    CMyFrameWnd* grid = CVantrelView::GetGridFrame();
    const std::vector<CVantrelView*> panes = grid ? grid->GetPanes() : std::vector<CVantrelView*>();
    if (panes.empty()) {
        view->Invalidate(TRUE);
        return;
    }
    for (CVantrelView* pane : panes)
        pane->Invalidate(TRUE);
}

} // namespace

void CVantrelView::OnShowHideHeaderInfo()
{
    try {
        g_bHeaderInfoHidden = g_bHeaderInfoHidden ? 0 : 1;
        InvalidateAfterShowHide(this);
    } catch (...) {
    }
}

void CVantrelView::OnShowHideAnnotations()
{
    try {
        g_bAnnotationsHidden = g_bAnnotationsHidden ? 0 : 1;
        InvalidateAfterShowHide(this);
    } catch (...) {
    }
}

void CVantrelView::OnDicomInformation()
{
    try {
        if (!m_pImage || m_bCineRunning)
            return;
        // The dialog reads the shown file itself (its large values left in the file), so it
        // holds nothing of the view's data set, which paging replaces
        const QString path = m_pDocument && !m_pDocument->m_strFilePath.isEmpty() ? m_pDocument->m_strFilePath
                                                                                   : m_pImage->m_strFilePath;
        auto dialog = std::make_unique<CDicomTagDisplayDlg>();
        if (dialog->SetImageFile(path)) {
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog.release()->show();
            return;
        }
        // The file can no longer be read: the data set in memory, while the dialog runs
        if (!m_pDicomImage || !m_pDicomImage->m_pDataset)
            return;
        dialog->SetImageItem(m_pDicomImage->m_pDataset);
        dialog->DoModal();
    } catch (...) {
    }
}

void CVantrelView::OnMagnifierSettings()
{
    try {
        // An overlay made just now has no settings yet: it takes the application's, as one laid
        // over a view does, so that the sheet shows the lens in use
        CImageWnd* magnifier = CImageWnd::GetMagnifierWindow(this);
        if (magnifier && magnifier->m_nSize == 0)
            magnifier->InitMembers(this);
        CPropMagn::OpenMagnifierSettings(this);
    } catch (...) {
    }
}
