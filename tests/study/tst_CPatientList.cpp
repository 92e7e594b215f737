// The patient tree: finding patients, studies and images, and freeing it.

// Qt
#include <QTest>

// Orvane
#include "study/CPatientList.h"

namespace {

std::unique_ptr<CPatientInfo> Patient(const QString& name, const QString& id, int record, const QStringList& studies)
{
    auto patient = std::make_unique<CPatientInfo>();
    patient->m_strPatientName = name;
    patient->m_strPatientID = id;
    patient->m_nRecordIndex = record;
    for (int s = 0; s < studies.size(); ++s) {
        auto study = std::make_unique<CStudyInfo>();
        study->m_strStudyInstanceUID = studies[s];
        study->m_nRecordIndex = record + 1 + s;
        auto series = std::make_unique<CSeriesInfo>();
        series->m_pStudy = study.get();
        auto image = std::make_unique<CImageInfo>();
        image->m_strFilePath = QStringLiteral("/set/%1/%2").arg(id, studies[s]);
        image->m_pSeries = series.get();
        image->m_pStudy = study.get();
        series->m_lstImages.push_back(std::move(image));
        study->m_lstSeries.push_back(std::move(series));
        patient->m_lstStudies.push_back(std::move(study));
    }
    return patient;
}

} // namespace

class tst_CPatientList : public QObject
{
    Q_OBJECT

private slots:
    void keys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("key");
        QTest::newRow("both") << "DOE, JANE" << "P1" << "DOE, JANE-P1";
        QTest::newRow("no name") << "" << "P1" << "-P1";
        QTest::newRow("neither") << "" << "" << "-";
    }
    void keys()
    {
        QFETCH(QString, name);
        QFETCH(QString, id);
        QFETCH(QString, key);
        CPatientList list;
        list.m_lstPatients.push_back(Patient(name, id, 0, {}));
        QCOMPARE(list.m_lstPatients[0]->GetKey(), key);
        QCOMPARE(list.FindPatient(key), list.m_lstPatients[0].get());
        QVERIFY(!list.FindPatient(key.toLower() + QLatin1Char(' ')));
    }

    void findsPatientsStudiesAndImages()
    {
        CPatientList list;
        list.m_lstPatients.push_back(Patient("DOE, JANE", "P1", 0, {"1.1", "1.2"}));
        list.m_lstPatients.push_back(Patient("DOE, JANE", "P1", 10, {"1.1"}));
        CPatientInfo* first = list.m_lstPatients[0].get();
        CPatientInfo* second = list.m_lstPatients[1].get();

        // By key the first of two equal patients; by record each its own
        QCOMPARE(list.FindPatient(QStringLiteral("DOE, JANE-P1")), first);
        QCOMPARE(list.FindPatientByRecord(10), second);
        QVERIFY(!list.FindPatientByRecord(5));
        QCOMPARE(first->FindStudy(QStringLiteral("1.2")), first->m_lstStudies[1].get());
        QVERIFY(!first->FindStudy(QStringLiteral("1.3")));
        QCOMPARE(second->FindStudyByRecord(11), second->m_lstStudies[0].get());
        QVERIFY(!second->FindStudyByRecord(1));
        QCOMPARE(first->GetStudyIndex(first->m_lstStudies[1].get()), 1);
        QCOMPARE(first->GetStudyIndex(second->m_lstStudies[0].get()), -1);

        CPatientInfo* patient = nullptr;
        CStudyInfo* study = nullptr;
        CSeriesInfo* series = nullptr;
        CImageInfo* image = nullptr;
        list.FindImage(QStringLiteral("/set/P1/1.2"), patient, study, series, image);
        QCOMPARE(patient, first);
        QCOMPARE(study, first->m_lstStudies[1].get());
        QCOMPARE(series, study->GetFirstSeries());
        QCOMPARE(image, series->GetImageAt(0));

        list.FindImage(QStringLiteral("/SET/P1/1.2"), patient, study, series, image);
        QVERIFY(!patient && !study && !series && !image);
    }

    void removesEverything()
    {
        CPatientList list;
        list.m_lstPatients.push_back(Patient("A", "1", 0, {"1", "2"}));
        list.m_lstPatients[0]->RemoveAllStudies();
        QVERIFY(list.m_lstPatients[0]->m_lstStudies.empty());
        list.m_lstPatients.push_back(Patient("B", "2", 3, {"3"}));
        list.RemoveAllPatients();
        QVERIFY(list.m_lstPatients.empty());
        QVERIFY(!list.FindPatient(QStringLiteral("B-2")));
    }
};

QTEST_GUILESS_MAIN(tst_CPatientList)
#include "tst_CPatientList.moc"
