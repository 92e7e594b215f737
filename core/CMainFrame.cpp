#include "core/CMainFrame.h"

// Qt
#include <QCloseEvent>
#include <QCoreApplication>
#include <QVBoxLayout>

// Orvane
#include "core/COstrevanApp.h"
#include "core/ReportSystemError.h"
#include "platform/CDocument.h"
#include "platform/CMultiDocTemplate.h"
#include "platform/Gdi.h"
#include "platform/MonitorProvider.h"

CMainFrame::CMainFrame(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint)
{
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::LoadFrame(int)
{
    theApp.m_rcMonitor = Gdi::FromQRect(FirstMonitorRect());
    setWindowTitle(theApp.m_strTitle);
    m_pClient = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pClient);
    new QVBoxLayout(m_pClient);
    m_pClient->layout()->setContentsMargins(0, 0, 0, 0);
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    try {
        if (theApp.m_pDocTemplate) {
            const auto documents = theApp.m_pDocTemplate->GetDocuments();
            for (CDocument* d : documents)
                theApp.m_pDocTemplate->RemoveDocument(d);
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CMainFrame::OnClose");
    }
    event->accept();
    QCoreApplication::quit();
}
