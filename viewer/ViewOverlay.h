#pragma once
// The texts a viewport shows in its four corners: how they are composed from the image's
// attributes and records, and where each goes. Plain functions over a font-metrics interface,
// so the layout can be checked whatever fonts are installed.

// Qt
#include <QFont>
#include <QStaticText>
#include <QString>

// std
#include <vector>

class IShapeFontMetrics;

namespace ViewOverlay {

/// The attributes of the shown image the texts are made of, as the queries give them.
struct Attributes
{
    QString strLastName, strFirstName, strMiddleName;
    QString strPatientID;
    QString strBirthDate;          ///< DD-MM-YYYY
    QString strSex;                ///< the attribute's value ("M", "F", "O", ...)
    QString strAccessionNo;
    QString strStudyDescription;
    QString strSeriesDescription;
    QString strContentDate, strContentTime;
    QString strStudyDate, strStudyTime;
    QString strInstitutionName;
    QString strReferringPhysician;
    QString strModality;
};

/// Where the shown image sits in its study, all counted from 0 (-1 when unknown).
struct Position
{
    int nStudyIndex = -1;
    int nSeriesIndex = -1;
    int nSeriesCount = 0;
    int nImageIndex = -1;
    int nImageCount = 0;
    int nCurrentFrame = 0;         ///< frame shown, from 0
    int nFrameCount = 1;           ///< Number of Frames of the file
};

/// The composed corner texts.
struct Texts
{
    QString strPatientName;
    QString strPatientID;
    QString strBirthDate;
    QString strSex;
    QString strStudyText;          ///< "Study : %d"
    QString strSeriesText;         ///< "Series  %d/%d"
    QString strImageText;          ///< "Image  %d/%d"
    QString strFrameText;          ///< "Frame: %d/%d"
    QString strAccessionNo;
    QString strStudyDescription;
    QString strDateTime;
    QString strInstitutionName;
    QString strWindowWidthText;    ///< "WW = %d"
    QString strWindowLevelText;    ///< "WL = %d"
    QString strSeriesDescription;
    QString strModality;
    QString strReferringPhysician;
    QString strNoPictureText;      ///< why the image shows no picture; empty when it shows one

    bool operator==(const Texts&) const = default;
};

/// "Last, First Middle", each part only when present ("First" alone without a comma);
/// "Data Unavailable" when all three are empty.
QString PatientName(const QString& last, const QString& first, const QString& middle);
/// "Male" for "M", "Female" for "F", "Others" for "O", "Data Unavailable" when empty, any
/// other value as it is.
QString SexText(const QString& sex);
/// "date time" of the content, or of the study when the content date is empty.
QString DateTime(const QString& contentDate, const QString& contentTime, const QString& studyDate,
                 const QString& studyTime);
/// "WW = %d" and "WL = %d" with the window truncated toward zero (0 when not finite).
QString WindowWidthText(double width);
QString WindowLevelText(double centre);

/// Every text but the two window texts, from the attributes and the position.
Texts Compose(const Attributes& attributes, const Position& position);

/// One text of the corners with its top-left corner in client pixels.
struct Line
{
    int x = 0;
    int y = 0;
    QString text;
};

/// The corner texts of a client area of `width` x `height` pixels in `font`, in drawing order
/// (top left, top right, bottom left from the lowest up, bottom right from the lowest up).
/// The frame text is shown only for a multi-frame file. Lines of the bottom corners that are
/// left out take no room; those of the top corners keep their fixed offsets. An image without
/// picture shows its no-picture text as one line centred in the client area, last, and no
/// window texts.
std::vector<Line> Layout(const Texts& texts, bool multiFrame, int width, int height, const QFont& font,
                         const IShapeFontMetrics& metrics);

/// The corner texts as Layout places them, laid out again only when something they depend on
/// changed (a text, the multi-frame flag, the client size, the font or the metrics).
class LayoutCache
{
public:
    /// The lines of Layout(texts, multiFrame, width, height, font, metrics); valid until the
    /// next call.
    const std::vector<Line>& Lines(const Texts& texts, bool multiFrame, int width, int height, const QFont& font,
                                   const IShapeFontMetrics& metrics);
    /// The ascent of the font of the last call.
    int Ascent() const { return m_nAscent; }
    /// Line `i` of the last call prepared for drawing in its font, once per layout.
    const QStaticText& StaticText(std::size_t i);

private:
    bool m_bValid = false;
    Texts m_texts;
    bool m_bMultiFrame = false;
    int m_nWidth = 0;
    int m_nHeight = 0;
    QFont m_font;
    const IShapeFontMetrics* m_pMetrics = nullptr;
    std::vector<Line> m_lines;
    std::vector<QStaticText> m_statics;
    int m_nAscent = 0;
};

/// The text an empty viewport shows: the loading text while both flags are set, else none.
QString EmptyPaneText(bool emptyViewText, bool showLoadingText);

} // namespace ViewOverlay
