#pragma once
// The bare toolkit the benches compare against: a file read and decompressed once, with one
// DicomImage of every frame, rendered at a window to 8 bits.

// Qt
#include <QFile>
#include <QString>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmimgle/dcmimage.h>

// std
#include <memory>

namespace Bench {

struct Bare
{
    DcmFileFormat file;
    std::unique_ptr<DicomImage> image;

    explicit Bare(const char* path) { Load(path); }
    explicit Bare(const QString& path) { Load(QFile::encodeName(path).constData()); }

    /// `which` (the image or a copy made from it) at a window, to 8 bits.
    static void Render(DicomImage* which, double centre, double width)
    {
        which->setWindow(centre, width);
        which->getOutputData(8, 0, 0);
    }
    void Render(double centre, double width) { Render(image.get(), centre, width); }

private:
    void Load(const char* path)
    {
        file.loadFile(path);
        DcmDataset* data = file.getDataset();
        data->chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
        image = std::make_unique<DicomImage>(&file, data->getCurrentXfer(), CIF_AcrNemaCompatibility);
    }
};

} // namespace Bench
