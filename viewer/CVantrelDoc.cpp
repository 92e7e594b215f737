#include "viewer/CVantrelDoc.h"

// std
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

// Orvane
#include "platform/CxImage.h"

namespace {

int TruncatedInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    return int(std::clamp(std::trunc(value), double(INT_MIN), double(INT_MAX)));
}

// A window the file may give far past the float range (or not a number)
float ClampedFloat(double value)
{
    if (std::isnan(value))
        return 0.0f;
    return float(std::clamp(value, -double(FLT_MAX), double(FLT_MAX)));
}

} // namespace

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

void CVantrelDoc::SetWindowValues(const CxImageDCM& dcm)
{
    m_nLimitHigh = TruncatedInt(dcm.m_dLimitHigh);
    m_nLimitLow = TruncatedInt(dcm.m_dLimitLow);
    m_nMaxValue = TruncatedInt(dcm.m_dMaxValue);
    m_nMinValue = TruncatedInt(dcm.m_dMinValue);
    m_fWindowCenter = m_fDefaultWindowCenter = ClampedFloat(dcm.m_dWindowCenter);
    m_fWindowWidth = m_fDefaultWindowWidth = ClampedFloat(dcm.m_dWindowWidth);
}

QString CVantrelDoc::GetImageModality()
{
    QString modality;
    m_dcmImage.GetImageModality(&modality);
    return modality;
}

void CVantrelDoc::GetSOPInstanceUID(QString& uid)
{
    m_dcmImage.GetSOPInstanceUID(&uid);
}
