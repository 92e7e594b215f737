#pragma once
// The study records and the viewport grid the benches of the views run on: one patient, one
// study, one series over the files given, and a grid frame in an image layout that shows the
// first of them, as the loader leaves it.

// Qt
#include <QCoreApplication>
#include <QStringList>
#include <QWidget>

// std
#include <memory>

// Orvane
#include "app/COstrevanApp.h"
#include "study/CImageInfo.h"
#include "study/CPatientInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyInfo.h"
#include "study/CStudyList.h"
#include "viewer/CMyFrameWnd.h"

namespace Bench {

/// The records, published as the Study List's while they live.
struct Records
{
    CStudyList list;
    CSeriesInfo* series = nullptr;
    explicit Records(const QStringList& paths, const QString& modality = QStringLiteral("CT"))
    {
        auto patient = std::make_unique<CPatientInfo>();
        auto study = std::make_unique<CStudyInfo>();
        auto s = std::make_unique<CSeriesInfo>();
        s->m_pStudy = study.get();
        s->m_strModality = modality;
        for (const QString& path : paths) {
            auto image = std::make_unique<CImageInfo>();
            image->m_strFilePath = path;
            image->m_pSeries = s.get();
            image->m_pStudy = study.get();
            s->m_lstImages.push_back(std::move(image));
        }
        series = s.get();
        study->m_lstSeries.push_back(std::move(s));
        patient->m_lstStudies.push_back(std::move(study));
        list.m_patientList.m_lstPatients.push_back(std::move(patient));
        theApp.m_pStudyListDlg = &list;
    }
    ~Records() { theApp.m_pStudyListDlg = nullptr; }
    Records(const Records&) = delete;
    Records& operator=(const Records&) = delete;
};

/// A grid frame filling `host` (the viewport area of a 1280 x 1024 monitor), in image layout,
/// showing the image `firstKey` in its single view.
inline CMyFrameWnd* ShowImageLayoutGrid(QWidget& host, const QString& firstKey)
{
    host.resize(1100, 890);
    auto* frame = new CMyFrameWnd(&host);
    frame->setGeometry(host.rect());
    frame->OnCreateClient(nullptr);
    host.show();
    theApp.m_nViewAreaWidth = 1100;
    theApp.m_nViewAreaHeight = 890;
    theApp.m_astrSeriesKeys = QStringList{firstKey};
    theApp.m_nLayoutMode = 2;
    theApp.m_bNewStudyLoaded = 1;
    theApp.m_bImagesLoaded = 1;
    frame->DisplaySingleFrame(nullptr);
    QCoreApplication::processEvents();
    return frame;
}

} // namespace Bench
