#include "study/CStudyList.h"

// Qt
#include <QGuiApplication>
#include <QScreen>

CStudyList::CStudyList(QWidget* parent)
    : QDialog(parent)
{
}

CStudyList::~CStudyList() = default;

BOOL CStudyList::Create(int, QWidget*)
{
    setWindowTitle(QStringLiteral("Study List"));
    resize(640, 400);
    return TRUE;
}

void CStudyList::CenterWindow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}
