#include "study/CImageInfo.h"

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcelem.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcitem.h>

// Orvane
#include "platform/NumberParse.h"

CImageInfo::CImageInfo() = default;

CImageInfo::~CImageInfo() = default;

int CImageInfo::GetRows() const
{
    if (!m_pDirRecord)
        return 0;
    DcmElement* element = nullptr;
    if (m_pDirRecord->findAndGetElement(DCM_Rows, element, OFFalse).bad() || !element)
        return 0;
    OFString value;
    if (element->getOFString(value, 0, OFTrue).bad())
        return 0;
    return AtoI(value.c_str());
}

BYTE CImageInfo::HasPixelSpacing()
{
    if (!m_pDirRecord)
        return FALSE;
    if (m_pDirRecord->tagExistsWithValue(DCM_ImagerPixelSpacing, OFFalse) || m_pDirRecord->tagExistsWithValue(DCM_PixelSpacing, OFFalse))
        m_bPixelSpacingKnown = TRUE;
    return m_bPixelSpacingKnown;
}

void CImageInfo::GetPixelSpacing(double* spacing)
{
    if (!m_pDirRecord || !spacing)
        return;
    DcmTagKey tag;
    if (m_pDirRecord->tagExistsWithValue(DCM_ImagerPixelSpacing, OFFalse))
        tag = DCM_ImagerPixelSpacing;
    else if (m_pDirRecord->tagExistsWithValue(DCM_PixelSpacing, OFFalse))
        tag = DCM_PixelSpacing;
    else
        return; // no spacing: the values and the flag stay as they are
    DcmElement* element = nullptr;
    if (m_pDirRecord->findAndGetElement(tag, element, OFFalse).bad() || !element)
        return;
    for (unsigned long i = 0; i < 2; ++i) {
        OFString value;
        const double v = element->getOFString(value, i, OFTrue).good() ? AtoF(value.c_str()) : 0.0;
        spacing[i] = v == 0.0 ? 1.0 : v;
    }
    m_bPixelSpacingKnown = TRUE;
}
