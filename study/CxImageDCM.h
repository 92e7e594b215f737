#pragma once
// One DICOM image file opened for display: it renders any frame to an 8-bit grey or 24-bit
// red-green-blue bitmap at the file's own window or a given one, and answers attribute queries.
//
// Thread contract: not thread safe. One object is used by one thread at a time: each view
// has its own, and the cine and thumbnail workers make their own objects. Different objects
// may decode on different threads at once; the toolkit's decoders are registered once per
// process (study/DicomCodecs.h) and are never registered or removed here.

// Qt
#include <QList>
#include <QString>

// Orvane
#include "platform/WinTypes.h"

// std
#include <initializer_list>
#include <vector>

class CxImage;
class DcmDataset;
class DcmFileFormat;
class DcmTagKey;
class DicomImage;

/// A DICOM image file opened for display. Frames count from 1 in m_nCurrentFrame and from 0
/// in every frame index handed in. Window values pass width first, centre second.
///
/// A single-frame file is read into memory and decompressed once, into the data set; once
/// m_pDicomImage holds the pixels the data set's Pixel Data is emptied (kept when overlay
/// planes are embedded in it), so pixel values are read from m_pDicomImage or the file. A
/// multi-frame file keeps its pixel data in the file, as the file encodes it: each frame is
/// read and decoded when it is shown, and m_pDicomImage then holds that frame only. The file
/// must stay readable while the object lives; a frame that cannot be read is not shown.
class CxImageDCM
{
public:
    CxImageDCM();
    virtual ~CxImageDCM();
    CxImageDCM(const CxImageDCM&) = delete;
    CxImageDCM& operator=(const CxImageDCM&) = delete;

    // --- Opening and rendering (CxImageDCM.cpp, CxImageDCMRender.cpp)

    /// Opens `path`, chooses the window from the bit depth, renders the first frame (the last
    /// with `atLastFrame`) to a new bitmap and appends it to `images`; the caller owns it.
    /// Returns 1 when a bitmap was appended, 0 when the file cannot be read, has a transfer
    /// syntax without a decoder (JPEG-LS, JPEG 2000, JPEG processes 3 and 5), or holds no image
    /// the toolkit can set up.
    int LoadDCM(const char* path, QList<CxImage*>* images, BOOL atLastFrame);
    /// Renders the current frame at the window (`width`, `centre`) into a new bitmap the caller
    /// owns; NULL without an image. 8-bit colour images get the window on every sample.
    CxImage* WindowLevelling(int width, int centre);
    /// As WindowLevelling, into `target`: its picture is reused when it is its own and of the
    /// rendered size and depth. FALSE without an image; `target` is then left as it was, or
    /// empty when the toolkit failed while writing it.
    BOOL WindowLevellingInto(CxImage* target, int width, int centre);
    /// Renders frame `pos` (0-based; past the last frame means 0) into `image` and makes it the
    /// current frame. `image` is left as it was when the frame could not be read.
    void GetCxImageByPos(CxImage* image, int pos);
    /// Steps one frame forward (not past the last) and renders it into `image`.
    void GetMultiFrameNextImage(CxImage* image);
    /// Steps one frame back (not before the first) and renders it into `image`.
    void GetMultiframePrevImage(CxImage* image);
    /// Frames the image holds: Number of Frames clamped to the frames the pixel data really
    /// has; 0 when the toolkit could not set up the image, -1 when no image exists.
    int GetFrameCount();
    /// The current frame (from 1) and the frame count (0 when there is no usable image).
    void GetFramePosition(short* current, short* count);
    BOOL IsMultiFrame() const { return m_bMultiFrame; }
    void SetCineRunning(BYTE running) { m_bCineRunning = running; }
    BYTE IsCineRunning() const { return m_bCineRunning; }
    /// Releases the file and every DicomImage; afterwards the object answers as one that never
    /// loaded a file.
    void DestroyImageObject();
    QString GetFilePath() const { return m_strFilePath; }
    /// Why the last LoadDCM showed no picture, as one line for the pane ("JPEG 2000 images are
    /// not shown", "The pixel data could not be read", ...); empty after a load that showed one
    /// and before any load.
    QString GetLoadFailure() const { return m_strLoadFailure; }

    // --- Attribute queries (CxImageDCMQueries.cpp). A text query writes `text` only when the
    // attribute has a value; every query does nothing without a file.

    void GetImageModality(QString* text);
    void GetPatientID(QString* text);
    void GetPatienrSex(QString* text);
    void GetStudyDescr(QString* text);
    void GetSeriesDescription(QString* text);
    /// The image key.
    void GetSOPInstanceUID(QString* text);
    void GetAccessionNo(QString* text);
    void GetStudyInstitutionName(QString* text);
    /// Dates as DD-MM-YYYY from YYYYMMDD (or YYYY.MM.DD); empty for a value that is no date.
    void GetStudyDate(QString* text);
    void GetPatientBirthDate(QString* text);
    void GetContentDate(QString* text);
    /// Times as HH:MM:SS from HHMMSS.FFF and its shorter and older forms, any fraction
    /// dropped; empty for a value that is no time.
    void GetStudyTime(QString* text);
    void GetContentTime(QString* text);
    /// "Last, First Middle" composed onto `text` (see the implementation for the rule).
    void GetReferringPhysiciansName(QString* text);
    /// The five components of the first name group of Patient's Name.
    void GetPatientName(QString* first, QString* last, QString* middle, QString* prefix, QString* suffix);

    /// Rows and Columns as 16-bit numbers; unchanged when absent.
    void GetImageRow(unsigned short* rows);
    void GetImageColummn(unsigned short* columns);
    int GetBitsAllocated();
    int GetBitsStored();
    int GetHighBit();
    /// 0 unsigned, 1 signed.
    int GetPixelRepresentation();
    double GetSmallestPixelValue();
    double GetLargestPixelValue();
    /// The file's window, width then centre; TRUE when both were read.
    BOOL GetWindowFromDataset(double* width, double* centre);
    /// Number of Frames (0028,0008); 1 when absent or not above 0.
    int GetNumberOfFrames();
    /// Milliseconds between cine frames from Recommended Display Frame Rate, Frame Time, Cine
    /// Rate (in that order; each only when positive), else 33. Cached; 0 without a file.
    int GetFrameInterval();
    /// TRUE when Imager Pixel Spacing or Pixel Spacing has a value.
    BOOL IsImagePixelSpacingExists();
    /// Pixel Spacing in mm, row spacing first, for measurements; needs a Modality. Every value
    /// not above 0, the caller's too, becomes 1.0.
    void GetPixelSpacing(double spacing[2]);
    /// Imager Pixel Spacing, else Pixel Spacing, in mm, for the view's scale; zeros become 1.0,
    /// an attribute with a negative value counts as absent. Unchanged when none is usable.
    void GetImagerPixelSpacing(double spacing[2]);
    /// Pixel Spacing, else (an image without one) Imager Pixel Spacing, in mm, row spacing
    /// first: what lengths, areas and the view's scale use, so that they always agree. Zeros
    /// become 1.0, an attribute with a negative value counts as absent; unchanged and FALSE
    /// when none is usable.
    BOOL GetMeasurementSpacing(double spacing[2]);

    // --- Members the view reads and writes directly

    BYTE m_bCineRunning = FALSE;       ///< a cine loop cycles through this image's frames
    int m_nFrameInterval = 0;          ///< cached cine frame interval in ms; 0 not computed
    double m_dMeasureScale = 1.0;      ///< scale handed to every shape drawn on this image
    BOOL m_bMultiFrame = FALSE;        ///< the file has more than one frame
    int m_nCurrentFrame = 0;           ///< frame last rendered, from 1; 0 before the first
    DcmDataset* m_pDataset = nullptr;  ///< data set of the loaded file, owned by m_pFileFormat
    double m_dLimitHigh = 0.0;         ///< upper window limit chosen at load
    double m_dLimitLow = 0.0;          ///< lower window limit chosen at load
    double m_dMaxValue = 0.0;          ///< largest pixel value (upper bound of the level drag)
    double m_dMinValue = 0.0;          ///< smallest pixel value (lower bound of the level drag)
    double m_dWindowWidth = 0.0;       ///< window width chosen at load
    double m_dWindowCenter = 0.0;      ///< window centre chosen at load
    DcmFileFormat* m_pFileFormat = nullptr; ///< the loaded file, owned
    /// The image every rendering uses, owned. The view may point it at m_pFullDicomImage or
    /// m_pReducedDicomImage; the object deletes each of the three exactly once.
    DicomImage* m_pDicomImage = nullptr;
    DicomImage* m_pFullDicomImage = nullptr;    ///< full-size image while a reduced one is current
    DicomImage* m_pReducedDicomImage = nullptr; ///< reduced copy made by the view for large images
    QString m_strFilePath;             ///< path of the loaded file
    QString m_strLoadFailure;          ///< why the last load showed no picture; empty when it did

private:
    // Loading (CxImageDCM.cpp)
    void ReleaseImages();
    void ReleaseFile();
    void ChooseWindow(int bitsStored, int bitsAllocated);
    bool ValueRange(double* minValue, double* maxValue);
    int AvailableFrames(int declared) const;
    BOOL ReadNumber(const DcmTagKey& tag, double* value) const;
    BOOL ReadInt(const DcmTagKey& tag, int* value) const;

    // Rendering (CxImageDCMRender.cpp)
    DicomImage* NewFrameImage(int frame) const;
    DicomImage* ImageForFrame(int frame);
    void ApplyWindow(double centre, double width);
    bool Render(int frame, CxImage* target, bool colourWindow, int width, int centre);
    void RenderStep(CxImage* image, int frame, const char* where);

    // Queries (CxImageDCMQueries.cpp)
    bool ReadText(const DcmTagKey& tag, QString* text) const;
    bool ReadNameComponents(const DcmTagKey& tag, QString parts[5]) const;
    bool ReadSpacing(const DcmTagKey& tag, double values[2]) const;
    // The first of the attributes whose values are usable spacings; false when none is.
    bool ReadFirstSpacing(std::initializer_list<DcmTagKey> tags, double spacing[2]) const;

    int m_nFrames = 0;            ///< frames the image holds (Number of Frames, clamped)
    bool m_bPerFrame = false;     ///< m_pDicomImage holds one frame only, decoded when shown
    int m_nImageFrame = 0;        ///< file frame index of the first frame of m_pDicomImage
    bool m_bWindowSet = false;    ///< a window was handed to the toolkit (kept for new frames)
    double m_dToolkitCentre = 0.0;
    double m_dToolkitWidth = 0.0;
};
