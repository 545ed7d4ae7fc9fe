// Stand-ins for the bars and menus that the bar and menu painting reads: classes that the
// query tables name (the status bar still with the run-time class name of the real one),
// real windows bound to them (or to the framework's own frame, edit and combo box
// classes), and query tables that answer from the stand-ins' fields. A window of these classes can also
// answer the parent-background request with a colour of its own, or cancel it.
#pragma once
#include "theme_test_support.h"
#include "toolkit/theme/pm_bar_parts.h"
#include "toolkit/theme/pm_neighbours.h"

#include <memory>
#include <vector>

namespace barfakes {

class ControlBar : public CWnd
{
    DECLARE_DYNAMIC(ControlBar)
public:
    DWORD m_dwStyle = 0;
    CWnd* m_pDockSite = NULL;
    CWnd* m_pDockBar = NULL;
    BYTE m_nOptionFlags = 0;
    DWORD m_dwOptionFlags2 = 0;
    bool m_bFloating = false;
    bool m_bVertical = false;  // docked at the left or right
    bool m_bFixed = false;
    CObject* m_pTrackedButton = NULL;
};

class ToolBar : public ControlBar
{
    DECLARE_DYNAMIC(ToolBar)
};

class MenuBar : public ToolBar
{
    DECLARE_DYNAMIC(MenuBar)
};

class CExtStatusControlBar : public ControlBar
{
    DECLARE_DYNAMIC(CExtStatusControlBar)
};

class DockOuterBar : public ControlBar
{
    DECLARE_DYNAMIC(DockOuterBar)
};

class MiniDockFrame : public CWnd
{
    DECLARE_DYNAMIC(MiniDockFrame)
public:
    ControlBar* m_pBar = NULL;
};

class BarButton : public CObject
{
    DECLARE_DYNAMIC(BarButton)
public:
    ControlBar* m_pBar = NULL;
};

class ExpandButton : public BarButton
{
    DECLARE_DYNAMIC(ExpandButton)
};

class PopupMenu : public CWnd
{
    DECLARE_DYNAMIC(PopupMenu)
public:
    bool m_bRTL = false;
    CObject* m_pCombined = NULL;
    bool m_bDefaultCombinePainter = true;
    int m_nItems = 0;
    int m_nLastLeftArea = 0;
    DWORD m_dwLastFlags = 0;
};

// How a stand-in window answers the parent-background request.
enum Answer
{
    __ANSWER_NONE = 0,
    __ANSWER_PAINT = 1,   // fills the target rectangle with its colour, sets painted
    __ANSWER_CANCEL = 2,  // sets cancel
};

// Owns the stand-in windows (a window class of its own that can answer the request) and
// fills the query tables while it lives.
class Scene
{
public:
    Scene();
    ~Scene();

    template <class T>
    T* Top(int x, int y, int cx, int cy)
    {
        // Hidden: showing a top-level window waits for the display to map it.
        return Make<T>(WS_POPUP, NULL, 0, x, y, cx, cy);
    }
    template <class T>
    T* Child(CWnd* pParent, int nID, int x, int y, int cx, int cy)
    {
        return Make<T>(WS_CHILD | WS_VISIBLE, pParent, nID, x, y, cx, cy);
    }

    // Makes a window answer the request; each answer is counted.
    static void SetAnswer(CWnd* pWnd, Answer eAnswer, COLORREF clr = 0);
    static int AskedCount(CWnd* pWnd);

private:
    template <class T>
    T* Make(DWORD dwStyle, CWnd* pParent, int nID, int x, int y, int cx, int cy)
    {
        T* p = new T;
        p->Attach(CreateRaw(dwStyle, pParent ? pParent->m_hWnd : NULL, nID, x, y, cx, cy));
        m_objects.emplace_back(p);
        return p;
    }
    static HWND CreateRaw(DWORD dwStyle, HWND hWndParent, int nID, int x, int y, int cx, int cy);
    std::vector<std::unique_ptr<CWnd>> m_objects;
    CExtPmNeighbours::BarQueries m_savedBars;
    CExtPmNeighbours::MenuQueries m_savedMenus;
};

// Turns the parent-background option of the current paint manager on while it lives.
class ParentBackgroundOn
{
public:
    ParentBackgroundOn() { g_CurrentPaintManager->m_nOptionFlags |= 0x02; }
    ~ParentBackgroundOn() { g_CurrentPaintManager->m_nOptionFlags &= ~0x02; }
};

}  // namespace barfakes
