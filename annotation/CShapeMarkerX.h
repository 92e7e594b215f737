#pragma once
// The picture marker "X". Nothing creates it yet.

// Orvane
#include "annotation/CShapeMarker.h"

/// Picture marker "X" (see CShapeMarker).
class CShapeMarkerX : public CShapeMarker
{
public:
    CShapeMarkerX() = default;
};
