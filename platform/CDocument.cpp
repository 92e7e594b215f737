#include "platform/CDocument.h"

// Orvane
#include "platform/CMultiDocTemplate.h"

CDocument::CDocument(QObject* parent)
    : QObject(parent)
{
}

CDocument::~CDocument()
{
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

bool CDocument::OnOpenDocument(const QString& path)
{
    m_strPathName = path;
    return true;
}
