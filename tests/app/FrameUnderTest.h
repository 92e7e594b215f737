#pragma once
// The main window as the start-up builds it (document template, main frame, the new document's
// child frame), over a monitor rectangle the test chooses.

// Qt
#include <QRect>
#include <QWidget>

// std
#include <memory>

// Orvane
#include "app/CChildFrmView.h"
#include "app/CMainFrame.h"
#include "app/COstrevanApp.h"
#include "platform/CMultiDocTemplate.h"
#include "platform/MonitorProvider.h"
#include "res/resource.h"
#include "viewer/CVantrelDoc.h"

class FrameUnderTest
{
public:
    explicit FrameUnderTest(const QRect& monitor, bool withDocument = true)
        : m_oldProvider(SetMonitorRectProvider([monitor] { return monitor; }))
    {
        theApp.m_strTitle = QStringLiteral("Perlisk Orvane - 1.3.1.2");
        theApp.m_pDocTemplate = std::make_unique<CMultiDocTemplate>(
            IDR_TOLVANETYPE, QStringLiteral("\nTolvanel\nTolvane\n\n\nTolvane.Document\nTolvane Document"),
            [] { return new CVantrelDoc; },
            [](CDocument* document, QWidget* parent) -> QWidget* {
                auto* frame = new CChildFrmView(parent);
                if (!frame->Create(document)) {
                    delete frame;
                    return nullptr;
                }
                return frame;
            });
        m_frame = new CMainFrame;
        theApp.m_pMainWnd = m_frame;
        m_bLoaded = m_frame->LoadFrame(IDR_MAINFRAME);
        if (withDocument)
            m_document = theApp.m_pDocTemplate->OpenDocumentFile(QString(), m_frame->GetClientArea());
        m_frame->setGeometry(monitor);
        m_frame->show();
    }

    ~FrameUnderTest()
    {
        theApp.m_pMainWnd = nullptr;
        delete m_frame;
        theApp.m_pDocTemplate.reset();
        SetMonitorRectProvider(std::move(m_oldProvider));
    }

    FrameUnderTest(const FrameUnderTest&) = delete;
    FrameUnderTest& operator=(const FrameUnderTest&) = delete;

    CMainFrame* Frame() const { return m_frame; }
    CChildFrmView* Child() const { return m_frame->MDIGetActive(); }
    CDocument* Document() const { return m_document; }
    bool Loaded() const { return m_bLoaded; }

private:
    MonitorRectProvider m_oldProvider;
    CMainFrame* m_frame = nullptr;
    CDocument* m_document = nullptr;
    bool m_bLoaded = false;
};
