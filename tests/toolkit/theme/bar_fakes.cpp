#include "bar_fakes.h"

#include <map>

namespace barfakes {

IMPLEMENT_DYNAMIC(ControlBar, CWnd)
IMPLEMENT_DYNAMIC(ToolBar, ControlBar)
IMPLEMENT_DYNAMIC(MenuBar, ToolBar)
IMPLEMENT_DYNAMIC(CExtStatusControlBar, ControlBar)
IMPLEMENT_DYNAMIC(DockOuterBar, ControlBar)
IMPLEMENT_DYNAMIC(MiniDockFrame, CWnd)
IMPLEMENT_DYNAMIC(BarButton, CObject)
IMPLEMENT_DYNAMIC(ExpandButton, BarButton)
IMPLEMENT_DYNAMIC(PopupMenu, CWnd)

namespace {

struct AnswerInfo
{
    Answer eAnswer = __ANSWER_NONE;
    COLORREF clr = 0;
    int nAsked = 0;
};

std::map<HWND, AnswerInfo>& Answers()
{
    static std::map<HWND, AnswerInfo> map;
    return map;
}

LRESULT CALLBACK FakeWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == CExtPaintManager::g_nMsgPaintInheritedBackground && wParam != 0)
    {
        AnswerInfo& info = Answers()[hWnd];
        info.nAsked++;
        CExtPaintManager::PAINTPARENTBACKGROUNDDATA* p =
            reinterpret_cast<CExtPaintManager::PAINTPARENTBACKGROUNDDATA*>(wParam);
        if (info.eAnswer == __ANSWER_CANCEL)
            p->m_bCancel = true;
        else if (info.eAnswer == __ANSWER_PAINT)
        {
            const RECT rc = p->GetTargetRect();
            p->m_pDC->FillSolidRect(&rc, info.clr);
            p->m_bPainted = true;
        }
        return 0;
    }
    return ::DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

ControlBar* Bar(CObject* p)
{
    return (p != NULL && p->IsKindOf(RUNTIME_CLASS(ControlBar))) ? static_cast<ControlBar*>(p)
                                                                     : NULL;
}

PopupMenu* Menu(CObject* p)
{
    return (p != NULL && p->IsKindOf(RUNTIME_CLASS(PopupMenu)))
               ? static_cast<PopupMenu*>(p)
               : NULL;
}

}  // namespace

Scene::Scene()
{
    static bool bRegistered = false;
    if (!bRegistered)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = FakeWndProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "BarFakesWnd";
        ::RegisterClassA(&wc);
        bRegistered = true;
    }
    m_savedBars = CExtPmNeighbours::g_bars;
    m_savedMenus = CExtPmNeighbours::g_menus;
    CExtPmNeighbours::BarQueries& b = CExtPmNeighbours::g_bars;
    b.pfnOptionFlags = [](CObject* p) -> BYTE { return Bar(p) ? Bar(p)->m_nOptionFlags : 0; };
    b.pfnOptionFlags2 = [](CObject* p) -> DWORD { return Bar(p) ? Bar(p)->m_dwOptionFlags2 : 0; };
    b.pfnBarStyle = [](CObject* p) -> DWORD { return Bar(p) ? Bar(p)->m_dwStyle : 0; };
    b.pfnDockSite = [](CObject* p) -> CWnd* { return Bar(p) ? Bar(p)->m_pDockSite : NULL; };
    b.pfnDockBar = [](CObject* p) -> CWnd* { return Bar(p) ? Bar(p)->m_pDockBar : NULL; };
    b.pfnIsDockedVertically = [](CObject* p) { return Bar(p) && Bar(p)->m_bVertical; };
    b.pfnIsDockedHorizontally = [](CObject* p) {
        return Bar(p) && Bar(p)->m_pDockBar != NULL && !Bar(p)->m_bVertical && !Bar(p)->m_bFloating;
    };
    b.pfnIsDockedAtFrameSide = [](CObject* p) { return Bar(p) && !Bar(p)->m_bFloating; };
    b.pfnIsFloating = [](CObject* p) { return Bar(p) && Bar(p)->m_bFloating; };
    b.pfnIsFixedMode = [](CObject* p) { return Bar(p) && Bar(p)->m_bFixed; };
    b.pfnToolbarShape = [](CObject*) { return 1; };
    b.pfnToolbarTrackedButton = [](CObject* p) -> CObject* {
        return Bar(p) ? Bar(p)->m_pTrackedButton : NULL;
    };
    b.pfnMiniFrameControlBar = [](CObject* p) -> CObject* {
        return (p != NULL && p->IsKindOf(RUNTIME_CLASS(MiniDockFrame)))
                   ? static_cast<MiniDockFrame*>(p)->m_pBar
                   : NULL;
    };
    b.pfnButtonBar = [](CObject* p) -> CObject* {
        return (p != NULL && p->IsKindOf(RUNTIME_CLASS(BarButton)))
                   ? static_cast<BarButton*>(p)->m_pBar
                   : NULL;
    };
    b.pfnPaintChildAreas = NULL;
    b.pControlBarClass = RUNTIME_CLASS(ControlBar);
    b.pToolBarClass = RUNTIME_CLASS(ToolBar);
    b.pBarButtonClass = RUNTIME_CLASS(BarButton);
    b.pMenuBarClass = RUNTIME_CLASS(MenuBar);
    b.pDockOuterBarClass = RUNTIME_CLASS(DockOuterBar);
    b.pMiniDockFrameClass = RUNTIME_CLASS(MiniDockFrame);
    b.pExpandButtonClass = RUNTIME_CLASS(ExpandButton);
    CExtPmNeighbours::MenuQueries& m = CExtPmNeighbours::g_menus;
    m.pPopupMenuClass = RUNTIME_CLASS(PopupMenu);
    m.pfnIsLayoutRTL = [](CObject* p) { return Menu(p) && Menu(p)->m_bRTL; };
    m.pfnGetCombinedObject = [](CObject* p) -> CObject* { return Menu(p) ? Menu(p)->m_pCombined : NULL; };
    m.pfnUsesDefaultCombinePainter = [](CObject* p) {
        return Menu(p) && Menu(p)->m_bDefaultCombinePainter;
    };
    m.pfnLastItem = [](CObject* p, int& nLeft, DWORD& dwFlags) {
        if (Menu(p) == NULL || Menu(p)->m_nItems <= 0)
            return false;
        nLeft = Menu(p)->m_nLastLeftArea;
        dwFlags = Menu(p)->m_dwLastFlags;
        return true;
    };
}

Scene::~Scene()
{
    for (size_t i = m_objects.size(); i-- > 0;)
    {
        HWND hWnd = m_objects[i]->Detach();
        Answers().erase(hWnd);
        if (hWnd != NULL && ::IsWindow(hWnd))
            ::DestroyWindow(hWnd);
    }
    CExtPmNeighbours::g_bars = m_savedBars;
    CExtPmNeighbours::g_menus = m_savedMenus;
}

HWND Scene::CreateRaw(DWORD dwStyle, HWND hWndParent, int nID, int x, int y, int cx, int cy)
{
    return ::CreateWindowExA(0, "BarFakesWnd", "", dwStyle, x, y, cx, cy, hWndParent,
                             (HMENU)(UINT_PTR)nID, ::GetModuleHandleA(NULL), NULL);
}

void Scene::SetAnswer(CWnd* pWnd, Answer eAnswer, COLORREF clr)
{
    AnswerInfo& info = Answers()[pWnd->m_hWnd];
    info.eAnswer = eAnswer;
    info.clr = clr;
}

int Scene::AskedCount(CWnd* pWnd)
{
    std::map<HWND, AnswerInfo>::iterator it = Answers().find(pWnd->m_hWnd);
    return (it == Answers().end()) ? 0 : it->second.nAsked;
}

}  // namespace barfakes
