#include "viewer/IViewMainWindow.h"

// std
#include <utility>

namespace {

IViewMainWindow* g_pWindow = nullptr;

} // namespace

IViewMainWindow* GetViewMainWindow()
{
    return g_pWindow;
}

IViewMainWindow* SetViewMainWindow(IViewMainWindow* window)
{
    return std::exchange(g_pWindow, window);
}
