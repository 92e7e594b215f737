#include "platform/CMultiDocTemplate.h"

// Qt
#include <QWidget>

// Orvane
#include "platform/CDocument.h"

// std
#include <algorithm>

CMultiDocTemplate::CMultiDocTemplate(int resourceId, QString strings, DocumentFactory newDocument, FrameFactory newFrame)
    : m_nResourceId(resourceId)
    , m_strDocStrings(std::move(strings))
    , m_newDocument(std::move(newDocument))
    , m_newFrame(std::move(newFrame))
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    for (CDocument* d : m_documents)
        d->m_pDocTemplate = nullptr;
}

CDocument* CMultiDocTemplate::CreateNewDocument()
{
    if (!m_newDocument)
        return nullptr;
    CDocument* document = m_newDocument();
    if (document)
        AddDocument(document);
    return document;
}

CDocument* CMultiDocTemplate::OpenDocumentFile(const QString& path, QWidget* frameParent)
{
    CDocument* document = CreateNewDocument();
    if (!document)
        return nullptr;
    const bool opened = path.isEmpty() ? document->OnNewDocument() : document->OnOpenDocument(path);
    QWidget* frame = opened && m_newFrame ? m_newFrame(document, frameParent) : nullptr;
    if (!frame) {
        delete document;
        return nullptr;
    }
    if (!document->parent())
        document->setParent(frame);
    return document;
}

void CMultiDocTemplate::AddDocument(CDocument* document)
{
    if (!document || std::find(m_documents.begin(), m_documents.end(), document) != m_documents.end())
        return;
    if (document->m_pDocTemplate && document->m_pDocTemplate != this)
        document->m_pDocTemplate->RemoveDocument(document);
    document->m_pDocTemplate = this;
    m_documents.push_back(document);
}

void CMultiDocTemplate::RemoveDocument(CDocument* document)
{
    const auto it = std::find(m_documents.begin(), m_documents.end(), document);
    if (it == m_documents.end())
        return;
    (*it)->m_pDocTemplate = nullptr;
    m_documents.erase(it);
}
