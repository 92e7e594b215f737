#pragma once
// The import of a Grayscale Softcopy Presentation State: the graphic annotations of its layers
// "LINEAR", "ANGLE", "LINE", "TEXT" and "ELLIPSE" become shapes of the images they refer to,
// and the layer "WINDOWCENTER" a window of their series. The state is read, never written, and
// no image is opened beyond its header.

// Qt
#include <QString>

// std
#include <memory>
#include <vector>

// Orvane
#include "platform/WinTypes.h"

class CFont;
class CShapeCollection;
class DcmDataset;

/// Reads presentation-state files into shapes and series windows. Holds no state between
/// calls. UI thread only (the shapes it makes are the UI thread's).
class CPresentationStateHandler
{
public:
    /// One image of the study, as the import needs it.
    struct ImageDescription
    {
        QString strKey;             ///< the image key: the file's SOP Instance UID, the record's when the file has none
        QString strFilePath;
        int nSeries = -1;           ///< the caller's identifier of the image's series
        int nColumns = 0;           ///< Columns of the file; 0 when unknown
        int nRows = 0;              ///< Rows of the file; 0 when unknown
        BOOL bSpacingKnown = FALSE; ///< Pixel Spacing or Imager Pixel Spacing holds usable values
        double dRowSpacing = 1.0;   ///< mm per pixel along y
        double dColumnSpacing = 1.0; ///< mm per pixel along x
    };

    /// The window a state gives a series: the last applicable "WINDOWCENTER" object.
    struct SeriesWindow
    {
        int nSeries = -1;
        float fWidth = 0.0f;
        float fCentre = 0.0f;
    };

    /// What one presentation state gives.
    struct Result
    {
        std::vector<std::unique_ptr<CShapeCollection>> shapes; ///< keyed and tagged, in image order
        std::vector<SeriesWindow> windows;                      ///< one per series, in the order first set
    };

    /// A read presentation state; used inside the import only.
    class State;

    CPresentationStateHandler();
    virtual ~CPresentationStateHandler();
    CPresentationStateHandler(const CPresentationStateHandler&) = delete;
    CPresentationStateHandler& operator=(const CPresentationStateHandler&) = delete;

    /// Reads the header of the image file at `path` up to its pixel data: the key (the file's
    /// SOP Instance UID, else `recordUid`), columns, rows and pixel spacing (Pixel Spacing,
    /// else Imager Pixel Spacing; a zero value counts as 1.0 mm, a negative one as none).
    /// A file that can't be read keeps `recordUid` and the defaults.
    static ImageDescription DescribeImage(const QString& path, const QString& recordUid, int nSeries);

    /// Reads the presentation-state file at `path` and applies it to `images` (the study's, in
    /// series and instance order). Shapes get `tag` and, for lengths, texts and ellipses,
    /// `pTextFont` (borrowed). A file that can't be read or is no grayscale presentation state
    /// gives nothing, without a message.
    Result LoadPresentationState(const char* path, const std::vector<ImageDescription>& images, const QString& tag,
                                 CFont* pTextFont);

private:
    /// Applies a read presentation-state data set to the images it references.
    Result ApplyPresentationState(DcmDataset* dataset, const std::vector<ImageDescription>& images, const QString& tag,
                                  CFont* pTextFont);

    // The layer imports for one image, in this order.
    void ImportLinearLayer(State& state, const ImageDescription& image, const QString& tag, CFont* pTextFont, Result& result);
    void ImportAngleLayer(State& state, const ImageDescription& image, const QString& tag, Result& result);
    void ImportLineLayer(State& state, const ImageDescription& image, const QString& tag, Result& result);
    void ImportTextLayer(State& state, const ImageDescription& image, const QString& tag, CFont* pTextFont, Result& result);
    void ImportEllipseLayer(State& state, const ImageDescription& image, const QString& tag, CFont* pTextFont, Result& result);
    void ImportWindowCenterLayer(State& state, const ImageDescription& image, Result& result);
};
