#pragma once
// The document base: a data object shown by one or more views, known to its template.

// Qt
#include <QObject>
#include <QString>

class CMultiDocTemplate;

/// Base of the system's documents. UI thread only.
class CDocument : public QObject
{
    Q_OBJECT
public:
    explicit CDocument(QObject* parent = nullptr);
    ~CDocument() override;

    /// Prepares an empty document. The base does nothing and succeeds.
    virtual bool OnNewDocument() { return true; }
    /// Opens the file `path` into the document. The base only records the path.
    virtual bool OnOpenDocument(const QString& path);
    /// Empties the document before it goes. The base does nothing.
    virtual void OnCloseDocument() {}

    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path) { m_strPathName = path; }
    /// The template that lists this document, if any.
    CMultiDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

private:
    friend class CMultiDocTemplate;
    QString m_strPathName;
    CMultiDocTemplate* m_pDocTemplate = nullptr;
};
