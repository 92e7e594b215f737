#include "viewer/IViewToolBar.h"

// std
#include <utility>

namespace {

IViewToolBar* g_pToolBar = nullptr;

} // namespace

IViewToolBar* GetViewToolBar()
{
    return g_pToolBar;
}

IViewToolBar* SetViewToolBar(IViewToolBar* toolBar)
{
    return std::exchange(g_pToolBar, toolBar);
}
