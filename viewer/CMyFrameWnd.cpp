#include "viewer/CMyFrameWnd.h"

CMyFrameWnd::CMyFrameWnd(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
}

CMyFrameWnd::~CMyFrameWnd() = default;
