#pragma once
// The main window over a chosen monitor with a study of generated images shown in its single
// view, as the study loader leaves it: series keys written, layout mode chosen, images loaded.

// Qt
#include <QCoreApplication>
#include <QTest>

// Orvane
#include "app/COstrevanApp.h"
#include "tests/app/FrameUnderTest.h"
#include "tests/viewer/ViewerTestStudy.h"
#include "toolpanes/CToolView.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"

class ShownStudy
{
public:
    explicit ShownStudy(const QString& folder, const QRect& monitor = QRect(0, 0, 1280, 1024))
        : m_study(folder)
        , m_frame(monitor)
    {
    }
    ~ShownStudy()
    {
        theApp.m_bImagesLoaded = 0;
        theApp.m_astrSeriesKeys.clear();
    }
    ShownStudy(const ShownStudy&) = delete;
    ShownStudy& operator=(const ShownStudy&) = delete;

    /// Shows the first series in one view, fitted and visible; the tools act from now on.
    /// `bEveryImage`: the keys list every image (XA).
    bool Show(int layoutMode = 1, bool bEveryImage = false)
    {
        QStringList keys;
        if (bEveryImage) {
            for (const auto& series : m_study.m_pStudy->m_lstSeries)
                for (const auto& image : series->m_lstImages)
                    keys << image->m_strFilePath;
        } else {
            keys = m_study.SeriesKeys();
        }
        theApp.m_astrSeriesKeys = keys;
        theApp.m_nLayoutMode = layoutMode;
        theApp.m_bNewStudyLoaded = 1;
        Grid()->DisplaySingleFrame(nullptr);
        theApp.m_bImagesLoaded = 1;
        // The refit is posted: the view shows once it ran
        return QTest::qWaitFor([this] { return View() && View()->isVisible() && View()->m_pDisplayImage; });
    }

    ViewerTestStudy& Study() { return m_study; }
    FrameUnderTest& Frame() { return m_frame; }
    CMyFrameWnd* Grid() const { return theApp.m_pViewGridFrame; }
    CVantrelView* View() const { return Grid() ? Grid()->GetSingleView() : nullptr; }
    CToolView* ToolBar() const { return m_frame.Child() ? m_frame.Child()->GetToolView() : nullptr; }

private:
    ViewerTestStudy m_study; // the records outlive the views
    FrameUnderTest m_frame;
};
