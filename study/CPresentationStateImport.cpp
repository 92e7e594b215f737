#include "study/CPresentationStateImport.h"

// Orvane
#include "annotation/CShapeCollection.h"
#include "state/CAppState.h"
#include "study/CStudyInfo.h"
#include "study/IStudyChildFrame.h"
#include "study/IStudyGrid.h"
#include "study/IStudyMainWindow.h"

namespace {

// The grid of the active child frame, as the study load hands its study over
IStudyGrid* ViewGridFrame()
{
    IStudyMainWindow* main = GetStudyMainWindow();
    IStudyChildFrame* child = main ? main->MDIGetActive() : nullptr;
    return child ? child->GetViewGridFrame() : nullptr;
}

} // namespace

void CPresentationStateImport::DescribeStudy(const CStudyInfo* study)
{
    m_pStudy = study;
    m_images.clear();
    m_series.clear();
    if (!study)
        return;
    for (const auto& series : study->m_lstSeries) {
        const int index = int(m_series.size());
        m_series.push_back(series.get());
        for (const auto& image : series->m_lstImages)
            m_images.push_back(CPresentationStateHandler::DescribeImage(image->m_strFilePath, image->GetSOPInstanceUID(), index));
    }
}

void CPresentationStateImport::LoadPresentationState(const char* path, CImageInfo* firstImage, const QString& tag)
{
    if (!firstImage)
        return;
    const CStudyInfo* study = firstImage->m_pStudy ? firstImage->m_pStudy : firstImage->m_pSeries ? firstImage->m_pSeries->m_pStudy : nullptr;
    if (!study || study != m_pStudy || m_images.empty())
        DescribeStudy(study);
    CPresentationStateHandler::Result result = m_handler.LoadPresentationState(path, m_images, tag, &theApp.m_fontShapeText);
    if (IStudyGrid* grid = ViewGridFrame()) {
        for (std::unique_ptr<CShapeCollection>& shape : result.shapes)
            grid->AddShape(std::move(shape));
    }
    for (const CPresentationStateHandler::SeriesWindow& window : result.windows) {
        if (window.nSeries < 0 || window.nSeries >= int(m_series.size()))
            continue;
        m_series[size_t(window.nSeries)]->SetWindowChanged(TRUE);
        m_series[size_t(window.nSeries)]->SetWindow(window.fWidth, window.fCentre);
    }
}
