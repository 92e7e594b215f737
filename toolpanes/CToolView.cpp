#include "toolpanes/CToolView.h"

CToolView::CToolView(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
}

CToolView::~CToolView() = default;

int CToolView::OnRelayoutToolbar()
{
    return 1;
}

void CToolView::OnResetImage()
{
}

void CToolView::EnableProbeButton(BOOL)
{
}
