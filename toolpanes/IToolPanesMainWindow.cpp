#include "toolpanes/IToolPanesMainWindow.h"

// std
#include <utility>

namespace {

IToolPanesMainWindow* g_pWindow = nullptr;

} // namespace

IToolPanesMainWindow* GetToolPanesMainWindow()
{
    return g_pWindow;
}

IToolPanesMainWindow* SetToolPanesMainWindow(IToolPanesMainWindow* window)
{
    return std::exchange(g_pWindow, window);
}
