#pragma once
// A composite of up to three child shapes. Nothing creates it yet.

// std
#include <array>
#include <memory>

// Orvane
#include "annotation/CShapeCollection.h"

/// Composite: draws its children in order and is hit by every point.
class CShapeThoracicRatio : public CShapeCollection
{
public:
    CShapeThoracicRatio() = default;

    void Draw(CShapeCanvas* pDC, int nUnused, float fZoom) override;
    /// Always TRUE.
    BOOL HitTest(const CDoublePoint* pPt, float fZoom) override;

    /// Owned child shapes; empty slots are null.
    std::array<std::unique_ptr<CShapeCollection>, 3> m_pChildShapes;
};
