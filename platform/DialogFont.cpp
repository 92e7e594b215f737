#include "platform/DialogFont.h"

// Qt
#include <QWidget>

// Orvane
#include "platform/Gdi.h"

QFont DialogFont()
{
    QFont font = Gdi::PointFont(QStringLiteral("MS Sans Serif"), 80);
    // Controls draw their texts smoothed; the size stays that of the bitmap face
    font.setStyleStrategy(QFont::PreferDefault);
    return font;
}

void ApplyDialogFont(QWidget* dialog)
{
    if (dialog)
        dialog->setFont(DialogFont());
}
