#pragma once
// A study for the viewport tests: image files written by the generator into a folder, and the
// patient, study, series and image records over them in a Study List's patient list, which
// the application object points to while the study lives.

// Qt
#include <QDir>
#include <QString>

// std
#include <memory>
#include <string>

// Orvane
#include "app/COstrevanApp.h"
#include "study/CImageInfo.h"
#include "study/CPatientInfo.h"
#include "study/CSeriesInfo.h"
#include "study/CStudyInfo.h"
#include "study/CStudyList.h"
#include "tools/fixtures/FixtureCommon.h"
#include "tools/fixtures/ImageFixtures.h"

class ViewerTestStudy
{
public:
    explicit ViewerTestStudy(const QString& folder)
        : m_folder(folder)
    {
        auto patient = std::make_unique<CPatientInfo>();
        patient->m_strPatientName = QStringLiteral("DOE, JOHN");
        patient->m_strPatientID = QStringLiteral("ORV0001");
        auto study = std::make_unique<CStudyInfo>();
        study->m_strStudyInstanceUID = QString::fromStdString(Fixtures::NewUid());
        m_pStudy = study.get();
        patient->m_lstStudies.push_back(std::move(study));
        m_pPatient = patient.get();
        m_list.m_patientList.m_lstPatients.push_back(std::move(patient));
        m_pPrevious = theApp.m_pStudyListDlg;
        theApp.m_pStudyListDlg = &m_list;
    }
    ~ViewerTestStudy() { theApp.m_pStudyListDlg = m_pPrevious; }
    ViewerTestStudy(const ViewerTestStudy&) = delete;
    ViewerTestStudy& operator=(const ViewerTestStudy&) = delete;

    CSeriesInfo* AddSeries(const QString& modality)
    {
        auto series = std::make_unique<CSeriesInfo>();
        series->m_pStudy = m_pStudy;
        series->m_strModality = modality;
        series->m_strSeriesNumber = QString::number(m_pStudy->m_lstSeries.size() + 1);
        CSeriesInfo* raw = series.get();
        m_pStudy->m_lstSeries.push_back(std::move(series));
        return raw;
    }

    /// Writes `recipe` (a fresh SOP Instance UID unless it has one) as an image of `series`;
    /// null when the file could not be written.
    CImageInfo* AddImage(CSeriesInfo* series, Fixtures::ImageRecipe recipe,
                         Fixtures::Syntax syntax = Fixtures::Syntax::ExplicitLittle)
    {
        if (recipe.sopInstanceUid.empty())
            recipe.sopInstanceUid = Fixtures::NewUid();
        const QString path = QDir(m_folder).filePath(QStringLiteral("img%1.dcm").arg(++m_nFiles));
        if (!Fixtures::WriteImage(recipe, syntax, path).isEmpty())
            return nullptr;
        return AddRecord(series, path, QString::fromStdString(recipe.sopInstanceUid));
    }

    /// An image record of an existing file.
    CImageInfo* AddRecord(CSeriesInfo* series, const QString& path, const QString& uid)
    {
        auto image = std::make_unique<CImageInfo>();
        image->m_strFilePath = path;
        image->m_strSOPInstanceUID = uid;
        image->m_pSeries = series;
        image->m_pStudy = m_pStudy;
        image->SetInstanceNumber(QString::number(series->m_lstImages.size() + 1));
        CImageInfo* raw = image.get();
        series->m_lstImages.push_back(std::move(image));
        return raw;
    }

    /// The first image of every series, as the loader fills theApp.m_astrSeriesKeys.
    QStringList SeriesKeys() const
    {
        QStringList keys;
        for (const auto& series : m_pStudy->m_lstSeries)
            if (!series->m_lstImages.empty())
                keys << series->m_lstImages.front()->m_strFilePath;
        return keys;
    }

    CStudyList m_list;
    CPatientInfo* m_pPatient = nullptr;
    CStudyInfo* m_pStudy = nullptr;

private:
    QString m_folder;
    CStudyList* m_pPrevious = nullptr;
    int m_nFiles = 0;
};
