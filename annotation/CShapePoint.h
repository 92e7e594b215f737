#pragma once
// A shape that draws nothing and is never hit. Nothing creates it yet.

// Orvane
#include "annotation/CShapeCollection.h"

/// Empty shape: every operation is the base's.
class CShapePoint : public CShapeCollection
{
public:
    CShapePoint() = default;
};
