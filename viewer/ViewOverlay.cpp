#include "viewer/ViewOverlay.h"

// Qt
#include <QStringList>

// std
#include <algorithm>
#include <climits>
#include <cmath>

// Orvane
#include "annotation/IShapeFontMetrics.h"
#include "study/PersonName.h"

namespace ViewOverlay {

namespace {

int Truncated(double value)
{
    if (!std::isfinite(value))
        return 0;
    return int(std::clamp(std::trunc(value), double(INT_MIN), double(INT_MAX)));
}

} // namespace

QString PatientName(const QString& last, const QString& first, const QString& middle)
{
    const QString name = DisplayName(last, first, middle);
    return name.isEmpty() ? QStringLiteral("Data Unavailable") : name;
}

QString SexText(const QString& sex)
{
    if (sex == QLatin1String("M"))
        return QStringLiteral("Male");
    if (sex == QLatin1String("F"))
        return QStringLiteral("Female");
    if (sex == QLatin1String("O"))
        return QStringLiteral("Others");
    if (sex.isEmpty())
        return QStringLiteral("Data Unavailable");
    return sex;
}

QString DateTime(const QString& contentDate, const QString& contentTime, const QString& studyDate,
                 const QString& studyTime)
{
    if (contentDate.isEmpty())
        return studyDate + QLatin1Char(' ') + studyTime;
    return contentDate + QLatin1Char(' ') + contentTime;
}

QString WindowWidthText(double width)
{
    return QStringLiteral("WW = %1").arg(Truncated(width));
}

QString WindowLevelText(double centre)
{
    return QStringLiteral("WL = %1").arg(Truncated(centre));
}

Texts Compose(const Attributes& a, const Position& p)
{
    Texts t;
    t.strPatientName = PatientName(a.strLastName, a.strFirstName, a.strMiddleName);
    t.strPatientID = a.strPatientID;
    t.strBirthDate = a.strBirthDate;
    t.strSex = SexText(a.strSex);
    t.strStudyText = QStringLiteral("Study : %1").arg(p.nStudyIndex + 1);
    t.strSeriesText = QStringLiteral("Series  %1/%2").arg(p.nSeriesIndex + 1).arg(p.nSeriesCount);
    t.strImageText = QStringLiteral("Image  %1/%2").arg(p.nImageIndex + 1).arg(p.nImageCount);
    t.strFrameText = QStringLiteral("Frame: %1/%2").arg(p.nCurrentFrame + 1).arg(p.nFrameCount);
    t.strAccessionNo = a.strAccessionNo;
    t.strStudyDescription = a.strStudyDescription;
    t.strSeriesDescription = a.strSeriesDescription;
    t.strDateTime = DateTime(a.strContentDate, a.strContentTime, a.strStudyDate, a.strStudyTime);
    t.strInstitutionName = a.strInstitutionName;
    t.strReferringPhysician = a.strReferringPhysician;
    t.strModality = a.strModality;
    return t;
}

std::vector<Line> Layout(const Texts& t, bool multiFrame, int width, int height, const QFont& font,
                         const IShapeFontMetrics& metrics)
{
    std::vector<Line> lines;
    const int h = metrics.GetTextMetrics(font).nHeight;
    const auto w = [&](const QString& text) { return metrics.GetTextWidth(font, text); };

    // Top left: fixed offsets
    lines.push_back({5, 5, QStringLiteral("Pat Name : ") + t.strPatientName});
    lines.push_back({5, h + 10, QStringLiteral("Pat ID : ") + t.strPatientID});
    if (t.strSex != QLatin1String("<null>"))
        lines.push_back({5, h + 30, QStringLiteral("Sex : ") + t.strSex});
    if (t.strBirthDate != QLatin1String("<null>"))
        lines.push_back({5, h + 50, QStringLiteral("DOB : ") + t.strBirthDate});

    // Top right: one column as wide as its widest line, the study line not counted
    int widest = std::max(w(t.strSeriesText), w(t.strImageText));
    if (multiFrame)
        widest = std::max(widest, w(t.strFrameText));
    const int right = width - (15 + widest);
    lines.push_back({right, 5, t.strStudyText});
    lines.push_back({right, h + 10, t.strSeriesText});
    lines.push_back({right, h + 30, t.strImageText});
    if (multiFrame)
        lines.push_back({right, h + 50, t.strFrameText});

    // Bottom left, from the lowest line up; a line left out takes no room
    int y = height - h - 5;
    lines.push_back({5, y, QStringLiteral("Date Time : ") + t.strDateTime});
    const auto above = [&](int& row, const QString& text, bool rightAligned) {
        row -= 5 + h;
        lines.push_back({rightAligned ? width - 5 - w(text) : 5, row, text});
    };
    if (!t.strStudyDescription.isEmpty())
        above(y, QStringLiteral("Study Description : ") + t.strStudyDescription, false);
    if (!t.strAccessionNo.isEmpty())
        above(y, QStringLiteral("AccessionNo : ") + t.strAccessionNo, false);
    above(y, QStringLiteral("Modality : ") + t.strModality, false);

    // Bottom right, right-aligned 5 pixels before the edge, from the lowest line up
    QStringList rightTexts;
    const bool picture = t.strNoPictureText.isEmpty();
    if (picture && !t.strWindowLevelText.isEmpty())
        rightTexts << t.strWindowLevelText;
    if (picture && !t.strWindowWidthText.isEmpty())
        rightTexts << t.strWindowWidthText;
    if (!t.strSeriesDescription.isEmpty())
        rightTexts << QStringLiteral("Ser Desc : ") + t.strSeriesDescription;
    if (!t.strInstitutionName.isEmpty())
        rightTexts << QStringLiteral("Inst Name : ") + t.strInstitutionName;
    if (!t.strReferringPhysician.isEmpty())
        rightTexts << QStringLiteral("Ref. Phy : ") + t.strReferringPhysician;
    int yr = height - 5 - h + (5 + h); // the first line lands on height - 5 - h
    for (const QString& text : rightTexts)
        above(yr, text, true);

    // Why there is no picture, in the middle of the pane
    if (!picture)
        lines.push_back({(width - w(t.strNoPictureText)) / 2, (height - h) / 2, t.strNoPictureText});
    return lines;
}

const std::vector<Line>& LayoutCache::Lines(const Texts& texts, bool multiFrame, int width, int height, const QFont& font,
                                            const IShapeFontMetrics& metrics)
{
    if (m_bValid && multiFrame == m_bMultiFrame && width == m_nWidth && height == m_nHeight && &metrics == m_pMetrics
        && texts == m_texts && font == m_font)
        return m_lines;
    m_lines = Layout(texts, multiFrame, width, height, font, metrics);
    m_statics.assign(m_lines.size(), QStaticText());
    m_nAscent = metrics.GetTextMetrics(font).nAscent;
    m_texts = texts;
    m_bMultiFrame = multiFrame;
    m_nWidth = width;
    m_nHeight = height;
    m_font = font;
    m_pMetrics = &metrics;
    m_bValid = true;
    return m_lines;
}

const QStaticText& LayoutCache::StaticText(std::size_t i)
{
    QStaticText& text = m_statics[i];
    if (text.text().isEmpty() && !m_lines[i].text.isEmpty()) {
        text.setTextFormat(Qt::PlainText);
        text.setText(m_lines[i].text);
        text.prepare(QTransform(), m_font);
    }
    return text;
}

QString EmptyPaneText(bool emptyViewText, bool showLoadingText)
{
    if (emptyViewText && showLoadingText)
        return QStringLiteral(" LOADING IMAGES ....  PLEASE WAIT....");
    return QString();
}

} // namespace ViewOverlay
