// Qt
#include <QtTest>

// Orvane
#include "annotation/CFixedFontMetrics.h"
#include "viewer/ViewOverlay.h"

using namespace ViewOverlay;

namespace {

// Height 13, every character 7 wide
const CFixedFontMetrics kMetrics;
constexpr int h = 13;
constexpr int kWidth = 600;
constexpr int kHeight = 400;

int W(const QString& text)
{
    return int(text.size()) * 7;
}

Texts FullTexts()
{
    Texts t;
    t.strPatientName = QStringLiteral("Doe, John");
    t.strPatientID = QStringLiteral("ID7");
    t.strBirthDate = QStringLiteral("01-02-1970");
    t.strSex = QStringLiteral("Male");
    t.strStudyText = QStringLiteral("Study : 1");
    t.strSeriesText = QStringLiteral("Series  2/3");
    t.strImageText = QStringLiteral("Image  10/12");
    t.strFrameText = QStringLiteral("Frame: 1/2");
    t.strAccessionNo = QStringLiteral("A1");
    t.strStudyDescription = QStringLiteral("Chest");
    t.strDateTime = QStringLiteral("05-03-2024 14:30:00");
    t.strInstitutionName = QStringLiteral("General");
    t.strWindowWidthText = QStringLiteral("WW = 400");
    t.strWindowLevelText = QStringLiteral("WL = 40");
    t.strSeriesDescription = QStringLiteral("Axial");
    t.strModality = QStringLiteral("CT");
    t.strReferringPhysician = QStringLiteral("Who");
    return t;
}

// The line whose text starts with `start`, or a line at (-1, -1)
Line Find(const std::vector<Line>& lines, const QString& start)
{
    for (const Line& line : lines)
        if (line.text.startsWith(start))
            return line;
    return Line{-1, -1, QString()};
}

// Counts the measurements asked of it
class CountingMetrics : public CFixedFontMetrics
{
public:
    mutable int calls = 0;
    ShapeTextMetrics GetTextMetrics(const QFont& font) const override
    {
        ++calls;
        return CFixedFontMetrics::GetTextMetrics(font);
    }
    int GetTextWidth(const QFont& font, const QString& text) const override
    {
        ++calls;
        return CFixedFontMetrics::GetTextWidth(font, text);
    }
};

} // namespace

class tst_ViewOverlay : public QObject
{
    Q_OBJECT
private slots:
    void composesPatientName_data();
    void composesPatientName();
    void namesSex_data();
    void namesSex();
    void takesStudyDateWithoutContentDate();
    void composesPositionTexts();
    void placesEveryCorner();
    void leftOutBottomLinesTakeNoRoom();
    void topLinesKeepTheirPlace();
    void showsFrameLineForMultiFrameOnly();
    void centresWhyThereIsNoPicture();
    void showsLoadingTextOnlyWithBothFlags_data();
    void showsLoadingTextOnlyWithBothFlags();
    void keptLayoutFollowsEveryChange();
};

void tst_ViewOverlay::composesPatientName_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("name");
    QTest::newRow("all three") << "Doe" << "John" << "Q" << "Doe, John Q";
    QTest::newRow("last only") << "Doe" << "" << "" << "Doe";
    QTest::newRow("first only") << "" << "John" << "" << "John";
    QTest::newRow("last and middle") << "Doe" << "" << "Q" << "Doe Q";
    QTest::newRow("none") << "" << "" << "" << "Data Unavailable";
}

void tst_ViewOverlay::composesPatientName()
{
    QFETCH(QString, last);
    QFETCH(QString, first);
    QFETCH(QString, middle);
    QFETCH(QString, name);
    QCOMPARE(PatientName(last, first, middle), name);
}

void tst_ViewOverlay::namesSex_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("M") << "M" << "Male";
    QTest::newRow("F") << "F" << "Female";
    QTest::newRow("O") << "O" << "Others";
    QTest::newRow("empty") << "" << "Data Unavailable";
    QTest::newRow("other value") << "X" << "X";
    QTest::newRow("lower case") << "m" << "m";
}

void tst_ViewOverlay::namesSex()
{
    QFETCH(QString, value);
    QFETCH(QString, text);
    QCOMPARE(SexText(value), text);
}

void tst_ViewOverlay::takesStudyDateWithoutContentDate()
{
    QCOMPARE(DateTime("", "10:00:00", "05-03-2024", "14:30:00"), QStringLiteral("05-03-2024 14:30:00"));
    QCOMPARE(DateTime("06-03-2024", "09:15:00", "05-03-2024", "14:30:00"), QStringLiteral("06-03-2024 09:15:00"));
}

void tst_ViewOverlay::composesPositionTexts()
{
    Position p;
    p.nStudyIndex = 0;
    p.nSeriesIndex = 1;
    p.nSeriesCount = 3;
    p.nImageIndex = 9;
    p.nImageCount = 12;
    p.nCurrentFrame = 4;
    p.nFrameCount = 8;
    const Texts t = Compose(Attributes{}, p);
    QCOMPARE(t.strStudyText, QStringLiteral("Study : 1"));
    QCOMPARE(t.strSeriesText, QStringLiteral("Series  2/3"));
    QCOMPARE(t.strImageText, QStringLiteral("Image  10/12"));
    QCOMPARE(t.strFrameText, QStringLiteral("Frame: 5/8"));
    QCOMPARE(t.strPatientName, QStringLiteral("Data Unavailable"));
    QCOMPARE(t.strSex, QStringLiteral("Data Unavailable"));
    QCOMPARE(WindowWidthText(399.9), QStringLiteral("WW = 399"));
    QCOMPARE(WindowLevelText(-600.7), QStringLiteral("WL = -600"));
}

void tst_ViewOverlay::placesEveryCorner()
{
    const Texts t = FullTexts();
    const std::vector<Line> lines = Layout(t, false, kWidth, kHeight, QFont(), kMetrics);
    // Top left
    QCOMPARE(Find(lines, "Pat Name : ").y, 5);
    QCOMPARE(Find(lines, "Pat Name : ").text, QStringLiteral("Pat Name : Doe, John"));
    QCOMPARE(Find(lines, "Pat ID : ").y, h + 10);
    QCOMPARE(Find(lines, "Sex : ").y, h + 30);
    QCOMPARE(Find(lines, "DOB : ").y, h + 50);
    QCOMPARE(Find(lines, "DOB : ").x, 5);
    // Top right: the column of the wider of series and image, the study line not counted
    const int right = kWidth - 15 - W(t.strImageText);
    QCOMPARE(Find(lines, "Study : ").x, right);
    QCOMPARE(Find(lines, "Study : ").y, 5);
    QCOMPARE(Find(lines, "Series  ").y, h + 10);
    QCOMPARE(Find(lines, "Image  ").y, h + 30);
    QCOMPARE(Find(lines, "Image  ").x, right);
    // Bottom left, from the lowest line up
    QCOMPARE(Find(lines, "Date Time : ").y, kHeight - h - 5);
    QCOMPARE(Find(lines, "Study Description : ").y, kHeight - h - 5 - (5 + h));
    QCOMPARE(Find(lines, "AccessionNo : ").y, kHeight - h - 5 - 2 * (5 + h));
    QCOMPARE(Find(lines, "Modality : ").y, kHeight - h - 5 - 3 * (5 + h));
    QCOMPARE(Find(lines, "Modality : ").x, 5);
    // Bottom right, right-aligned 5 pixels before the edge
    QCOMPARE(Find(lines, "WL = ").y, kHeight - 5 - h);
    QCOMPARE(Find(lines, "WL = ").x, kWidth - 5 - W("WL = 40"));
    QCOMPARE(Find(lines, "WW = ").y, kHeight - 5 - h - (5 + h));
    QCOMPARE(Find(lines, "WW = ").x, kWidth - 5 - W("WW = 400"));
    QCOMPARE(Find(lines, "Ser Desc : ").y, kHeight - 5 - h - 2 * (5 + h));
    QCOMPARE(Find(lines, "Inst Name : ").y, kHeight - 5 - h - 3 * (5 + h));
    QCOMPARE(Find(lines, "Ref. Phy : ").y, kHeight - 5 - h - 4 * (5 + h));
    QCOMPARE(Find(lines, "Ref. Phy : ").x, kWidth - 5 - W("Ref. Phy : Who"));
}

void tst_ViewOverlay::leftOutBottomLinesTakeNoRoom()
{
    Texts t = FullTexts();
    t.strStudyDescription.clear();
    t.strAccessionNo.clear();
    t.strWindowLevelText.clear();
    t.strSeriesDescription.clear();
    t.strReferringPhysician.clear();
    const std::vector<Line> lines = Layout(t, false, kWidth, kHeight, QFont(), kMetrics);
    QCOMPARE(Find(lines, "Study Description").y, -1);
    QCOMPARE(Find(lines, "AccessionNo").y, -1);
    QCOMPARE(Find(lines, "Modality : ").y, kHeight - h - 5 - (5 + h));
    QCOMPARE(Find(lines, "WW = ").y, kHeight - 5 - h);
    QCOMPARE(Find(lines, "Inst Name : ").y, kHeight - 5 - h - (5 + h));
    QCOMPARE(Find(lines, "Ref. Phy").y, -1);
    // The date and the modality lines are always there, also empty
    t.strDateTime.clear();
    t.strModality.clear();
    const std::vector<Line> empty = Layout(t, false, kWidth, kHeight, QFont(), kMetrics);
    QCOMPARE(Find(empty, "Date Time : ").text, QStringLiteral("Date Time : "));
    QCOMPARE(Find(empty, "Modality : ").text, QStringLiteral("Modality : "));
}

void tst_ViewOverlay::topLinesKeepTheirPlace()
{
    Texts t = FullTexts();
    t.strSex = QStringLiteral("<null>");
    const std::vector<Line> lines = Layout(t, false, kWidth, kHeight, QFont(), kMetrics);
    QCOMPARE(Find(lines, "Sex : ").y, -1);
    QCOMPARE(Find(lines, "DOB : ").y, h + 50);
    t.strBirthDate = QStringLiteral("<null>");
    QCOMPARE(Find(Layout(t, false, kWidth, kHeight, QFont(), kMetrics), "DOB : ").y, -1);
}

void tst_ViewOverlay::showsFrameLineForMultiFrameOnly()
{
    Texts t = FullTexts();
    t.strFrameText = QStringLiteral("Frame: 100/120 wide");
    const std::vector<Line> single = Layout(t, false, kWidth, kHeight, QFont(), kMetrics);
    QCOMPARE(Find(single, "Frame: ").y, -1);
    // Its width does not count for a single frame
    QCOMPARE(Find(single, "Series  ").x, kWidth - 15 - W(t.strImageText));
    const std::vector<Line> multi = Layout(t, true, kWidth, kHeight, QFont(), kMetrics);
    const int right = kWidth - 15 - W(t.strFrameText);
    QCOMPARE(Find(multi, "Frame: ").y, h + 50);
    QCOMPARE(Find(multi, "Frame: ").x, right);
    QCOMPARE(Find(multi, "Study : ").x, right);
}

void tst_ViewOverlay::centresWhyThereIsNoPicture()
{
    Texts t = FullTexts();
    t.strNoPictureText = QStringLiteral("JPEG 2000 images are not shown");
    const std::vector<Line> lines = Layout(t, false, kWidth, kHeight, QFont(), kMetrics);
    const Line centre = Find(lines, t.strNoPictureText);
    QCOMPARE(centre.x, (kWidth - W(t.strNoPictureText)) / 2);
    QCOMPARE(centre.y, (kHeight - h) / 2);
    // No window over no picture; the patient, study and image texts stay where they were
    QCOMPARE(Find(lines, "WW = ").y, -1);
    QCOMPARE(Find(lines, "WL = ").y, -1);
    QCOMPARE(Find(lines, "Ser Desc : ").y, kHeight - 5 - h);
    const std::vector<Line> withPicture = Layout(FullTexts(), false, kWidth, kHeight, QFont(), kMetrics);
    for (const char* start : {"Pat Name : ", "Pat ID : ", "Study : ", "Image  ", "Date Time : ", "Modality : "})
        QCOMPARE(Find(lines, start).y, Find(withPicture, start).y);
    QCOMPARE(lines.size(), withPicture.size() - 1);
}

void tst_ViewOverlay::showsLoadingTextOnlyWithBothFlags_data()
{
    QTest::addColumn<bool>("emptyViewText");
    QTest::addColumn<bool>("showLoadingText");
    QTest::addColumn<bool>("shown");
    QTest::newRow("both") << true << true << true;
    QTest::newRow("empty view text only") << true << false << false;
    QTest::newRow("loading text only") << false << true << false;
    QTest::newRow("neither") << false << false << false;
}

void tst_ViewOverlay::showsLoadingTextOnlyWithBothFlags()
{
    QFETCH(bool, emptyViewText);
    QFETCH(bool, showLoadingText);
    QFETCH(bool, shown);
    const QString text = EmptyPaneText(emptyViewText, showLoadingText);
    QCOMPARE(!text.isEmpty(), shown);
    if (shown)
        QCOMPARE(text, QStringLiteral(" LOADING IMAGES ....  PLEASE WAIT...."));
}

void tst_ViewOverlay::keptLayoutFollowsEveryChange()
{
    const auto same = [](const std::vector<Line>& a, const std::vector<Line>& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].text != b[i].text)
                return false;
        return true;
    };
    LayoutCache kept;
    Texts t = FullTexts();
    QFont font;
    QVERIFY(same(kept.Lines(t, false, kWidth, kHeight, font, kMetrics), Layout(t, false, kWidth, kHeight, font, kMetrics)));
    QCOMPARE(kept.Ascent(), 10);
    // A window drag changes the window texts only
    t.strWindowWidthText = QStringLiteral("WW = 123456");
    QVERIFY(same(kept.Lines(t, false, kWidth, kHeight, font, kMetrics), Layout(t, false, kWidth, kHeight, font, kMetrics)));
    QCOMPARE(Find(kept.Lines(t, false, kWidth, kHeight, font, kMetrics), "WW = ").x, kWidth - 5 - W("WW = 123456"));
    // Paging: the image text widens the top-right column
    t.strImageText = QStringLiteral("Image  1000/1200");
    QCOMPARE(Find(kept.Lines(t, false, kWidth, kHeight, font, kMetrics), "Study : ").x, kWidth - 15 - W(t.strImageText));
    // Why there is no picture
    t.strNoPictureText = QStringLiteral("No picture");
    QVERIFY(same(kept.Lines(t, false, kWidth, kHeight, font, kMetrics), Layout(t, false, kWidth, kHeight, font, kMetrics)));
    t.strNoPictureText.clear();
    // The frame line of a multi-frame file, a new client size, other metrics
    QVERIFY(same(kept.Lines(t, true, kWidth, kHeight, font, kMetrics), Layout(t, true, kWidth, kHeight, font, kMetrics)));
    QVERIFY(same(kept.Lines(t, true, 333, 222, font, kMetrics), Layout(t, true, 333, 222, font, kMetrics)));
    const CFixedFontMetrics larger(ShapeTextMetrics{20, 16, 0, 9});
    QVERIFY(same(kept.Lines(t, true, 333, 222, font, larger), Layout(t, true, 333, 222, font, larger)));
    QCOMPARE(kept.Ascent(), 16);
    // Another font is measured anew
    CountingMetrics counting;
    QFont bold = font;
    bold.setBold(true);
    kept.Lines(t, true, 333, 222, font, counting);
    const int measured = counting.calls;
    kept.Lines(t, true, 333, 222, font, counting);
    QCOMPARE(counting.calls, measured); // nothing changed: no measuring
    kept.Lines(t, true, 333, 222, bold, counting);
    QVERIFY(counting.calls > measured);
}

QTEST_MAIN(tst_ViewOverlay)
#include "tst_ViewOverlay.moc"
