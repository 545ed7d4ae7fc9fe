// The monitors' work areas, as the program list's on-screen question needs them: read at
// the first question after a change of the displays, since every command state asks
// whether the list is on screen (a menu opened asks once per item) and asking the system
// for its monitors each time is felt.
#pragma once
#include "framework/framework.h"
#include <vector>

class CWorkAreas
{
public:
    // Some of the rectangle (screen coordinates) lies in a monitor's work area.
    bool Holds(const RECT& rcScreen);
    // The displays or the system's settings changed (the main window's WM_DISPLAYCHANGE
    // and WM_SETTINGCHANGE, which also come when the taskbar moves): the work areas are
    // read again at the next question.
    void DisplaysChanged() { m_bRead = false; }

private:
    std::vector<RECT> m_areas;
    bool m_bRead = false;
};
