#include "toolpanes/CThumbNailLeft.h"

CThumbNailLeft::CThumbNailLeft(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
}

CThumbNailLeft::~CThumbNailLeft() = default;
