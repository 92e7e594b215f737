#pragma once
// The picture marker "R". Nothing creates it yet.

// Orvane
#include "annotation/CShapeMarker.h"

/// Picture marker "R" (see CShapeMarker).
class CShapeMarkerR : public CShapeMarker
{
public:
    CShapeMarkerR() = default;
};
