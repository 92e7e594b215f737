#include "study/IStudyMainWindow.h"

// std
#include <utility>

namespace {

IStudyMainWindow* g_pWindow = nullptr;

} // namespace

IStudyMainWindow* GetStudyMainWindow()
{
    return g_pWindow;
}

IStudyMainWindow* SetStudyMainWindow(IStudyMainWindow* window)
{
    return std::exchange(g_pWindow, window);
}
