#pragma once
// The picture marker "L". Nothing creates it yet.

// Orvane
#include "annotation/CShapeMarker.h"

/// Picture marker "L" (see CShapeMarker).
class CShapeMarkerL : public CShapeMarker
{
public:
    CShapeMarkerL() = default;
};
