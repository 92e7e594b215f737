#include "core/CChildFrmView.h"

// Qt
#include <QLayout>

CChildFrmView::CChildFrmView(QWidget* parent)
    : QWidget(parent)
{
}

CChildFrmView::~CChildFrmView() = default;

bool CChildFrmView::Create(CDocument*)
{
    if (parentWidget() && parentWidget()->layout())
        parentWidget()->layout()->addWidget(this);
    return true;
}
