#include "toolpanes/ThumbnailMaker.h"

// Qt
#include <QFile>
#include <QList>

// std
#include <memory>

// Orvane
#include "platform/CxImage.h"
#include "platform/LastError.h"
#include "platform/ReportSystemError.h"
#include "study/CxImageDCM.h"
#include "toolpanes/ThumbnailGeometry.h"

ThumbnailResult ThumbnailMaker::Make(const QString& strPath, int nIndex, QSize box)
{
    // Runs on the thumbnail worker
    ThumbnailResult result;
    result.nIndex = nIndex;
    QImage picture;
    QString description;
    try {
        CxImageDCM dicom;
        QList<CxImage*> images;
        const QByteArray path = QFile::encodeName(strPath);
        if (dicom.LoadDCM(path.constData(), &images, FALSE) && !images.isEmpty() && images.front())
            picture = images.front()->GetQImage();
        for (CxImage* image : images)
            delete image;
        // Only a key whose picture is shown names its series
        if (!picture.isNull())
            dicom.GetSeriesDescription(&description);
    } catch (...) {
        ReportSystemError(GetLastError(), "ThumbnailMaker::Make");
        picture = QImage();
    }
    if (picture.isNull()) {
        result.bPlaceholder = true;
        description.clear();
        picture = PlaceholderPicture();
    }
    result.image = ComposeThumbnail(picture, box.width(), box.height());
    result.strLabel = ThumbnailLabel(nIndex + 1, description);
    return result;
}

QImage ThumbnailMaker::PlaceholderPicture()
{
    QImage picture(QStringLiteral(":/bmp/147.png"));
    if (picture.isNull()) {
        picture = QImage(64, 64, QImage::Format_RGB32);
        picture.fill(QColor(64, 64, 64));
    }
    return picture;
}
