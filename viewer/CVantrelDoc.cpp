#include "viewer/CVantrelDoc.h"

// Orvane
#include "platform/CxImage.h"

CVantrelDoc::CVantrelDoc(QObject* parent)
    : CDocument(parent)
{
}

CVantrelDoc::~CVantrelDoc()
{
    ClearImageArray();
}

bool CVantrelDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

bool CVantrelDoc::OnOpenDocument(const QString& path)
{
    m_strFilePath = path;
    return true;
}

void CVantrelDoc::ClearImageArray()
{
    for (CxImage*& image : m_arrImages) {
        if (image) {
            image->Destroy();
            delete image;
            image = nullptr;
        }
    }
    m_arrImages.clear();
}

CxImage* CVantrelDoc::GetCurrentImage()
{
    if (m_nImageIndex < 0 || std::size_t(m_nImageIndex) >= m_arrImages.size())
        return nullptr;
    m_nCurrentIndex = m_nImageIndex;
    return m_arrImages[std::size_t(m_nImageIndex)];
}
