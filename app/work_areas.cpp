#include "app/work_areas.h"

namespace
{
BOOL CALLBACK AddWorkArea(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoA(hMonitor, &info)) ((std::vector<RECT>*)lParam)->push_back(info.rcWork);
    return TRUE;
}
}  // namespace

bool CWorkAreas::Holds(const RECT& rcScreen)
{
    if (!m_bRead) {
        m_areas.clear();
        ::EnumDisplayMonitors(NULL, NULL, &AddWorkArea, (LPARAM)&m_areas);
        // No answer at all is asked again next time rather than kept.
        m_bRead = !m_areas.empty();
    }
    RECT rcPart;
    for (const RECT& rcWork : m_areas)
        if (::IntersectRect(&rcPart, &rcScreen, &rcWork)) return true;
    return false;
}
