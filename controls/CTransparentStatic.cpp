#include "controls/CTransparentStatic.h"

CTransparentStatic::CTransparentStatic(QWidget* parent)
    : QLabel(parent)
{
    setAutoFillBackground(false);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
}

CTransparentStatic::~CTransparentStatic() = default;

void CTransparentStatic::SetWindowText(const QString& text)
{
    setText(text);
    if (QWidget* parent = parentWidget())
        parent->repaint(geometry());
}
