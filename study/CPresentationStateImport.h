#pragma once
// The study load's presentation-state import: the study's images described once from their
// headers, each state read by the handler, its shapes handed to the viewport grid and its
// windows to the series.

// std
#include <vector>

// Orvane
#include "annotation/CPresentationStateHandler.h"
#include "study/IPresentationStateImport.h"

class CSeriesInfo;
class CStudyInfo;

/// The default import of a study load: one object per study, one call per state. UI thread only.
class CPresentationStateImport : public IPresentationStateImport
{
public:
    /// Applies the state at `path` to the study of `firstImage`: its shapes go to the end of
    /// the grid frame's shape array (none without a grid frame), its windows to the series
    /// (marked as chosen). The study's image headers are read at the first call for a study.
    void LoadPresentationState(const char* path, CImageInfo* firstImage, const QString& tag) override;

private:
    void DescribeStudy(const CStudyInfo* study);

    const CStudyInfo* m_pStudy = nullptr; ///< the study described
    std::vector<CPresentationStateHandler::ImageDescription> m_images;
    std::vector<CSeriesInfo*> m_series;  ///< by the descriptions' series index
    CPresentationStateHandler m_handler;
};
