#pragma once
// Makes the thumbnail of one series key: the key's file opened with a DICOM object of its
// own and windowed as the view opens it, its first frame fitted into the thumbnail box (only
// the pixels the fitted picture keeps are rendered, the same picture the whole frame would
// give), and its label. A key whose
// picture cannot be made gets the placeholder picture, labelled with its number alone.

// Qt
#include <QImage>
#include <QSize>
#include <QString>

/// One thumbnail, as the worker hands it to the column.
struct ThumbnailResult
{
    int nIndex = -1;           ///< index of the key in the run's keys
    QImage image;              ///< the composed thumbnail (box size), never null
    QString strLabel;          ///< "<number>" or "<number>_<series description>"
    bool bPlaceholder = false; ///< the key's picture could not be made
};

/// Thread safe: every call uses its own DICOM object and touches no shared state.
class ThumbnailMaker
{
public:
    /// The thumbnail of the file `strPath` (key `nIndex`, labelled `nIndex` + 1) in a box of
    /// `box` pixels. Runs on the thumbnail worker.
    static ThumbnailResult Make(const QString& strPath, int nIndex, QSize box);
    /// The placeholder picture (resource 147); a grey square when the resource is missing.
    static QImage PlaceholderPicture();
};
