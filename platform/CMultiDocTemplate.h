#pragma once
// The one document template: it makes documents and the frame that shows a new document,
// and lists the documents it made. It owns none of them.

// Qt
#include <QString>

// std
#include <functional>
#include <vector>

class CDocument;
class QWidget;

/// Makes and lists documents. UI thread only.
class CMultiDocTemplate
{
public:
    using DocumentFactory = std::function<CDocument*()>;
    /// Builds the frame (with its views) for a new document inside `parent`; null on failure.
    using FrameFactory = std::function<QWidget*(CDocument* document, QWidget* parent)>;

    /// `resourceId` and `strings` are the template's resource number and its string
    /// ("\nName\nFile\n...").
    CMultiDocTemplate(int resourceId, QString strings, DocumentFactory newDocument, FrameFactory newFrame);
    ~CMultiDocTemplate();
    CMultiDocTemplate(const CMultiDocTemplate&) = delete;
    CMultiDocTemplate& operator=(const CMultiDocTemplate&) = delete;

    /// A new document, listed by the template; the caller owns it.
    CDocument* CreateNewDocument();
    /// With no path: a new document, OnNewDocument, and its frame inside `frameParent`.
    /// Null when any step fails (the document is then deleted). The frame owns the document.
    CDocument* OpenDocumentFile(const QString& path, QWidget* frameParent);

    void AddDocument(CDocument* document);
    void RemoveDocument(CDocument* document);
    const std::vector<CDocument*>& GetDocuments() const { return m_documents; }

    int GetResourceId() const { return m_nResourceId; }
    const QString& GetDocString() const { return m_strDocStrings; }

private:
    int m_nResourceId;
    QString m_strDocStrings;
    DocumentFactory m_newDocument;
    FrameFactory m_newFrame;
    std::vector<CDocument*> m_documents;
};
