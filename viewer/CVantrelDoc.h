#pragma once
// The document of one viewport.

// Orvane
#include "platform/CDocument.h"

/// One viewport's document. UI thread only.
class CVantrelDoc : public CDocument
{
    Q_OBJECT
public:
    explicit CVantrelDoc(QObject* parent = nullptr);
    ~CVantrelDoc() override;
};
