// CExtToolControlBar: the toolkit's toolbar, a control bar that owns bar buttons.
//
// control_bar.h includes this header where the class belongs among the bars, so the
// include comes before the guard: whichever header a file names first, the class is
// declared in the family's order.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_TOOLBAR_H_INCLUDED
#define TOOLKIT_BARS_TOOLBAR_H_INCLUDED

class CExtToolControlBar : public CExtControlBar
{
    DECLARE_DYNAMIC(CExtToolControlBar)
public:
    // The areas of a toolbar that lie under a child window, with their values, so that
    // the child can paint the toolbar's background beneath itself.
    struct ChildBkgndInfo_t
    {
        CArray<CRect, CRect&> m_arrRects;
        CArray<DWORD, DWORD> m_arrValues;
        CExtToolControlBar* m_pBar;
        CExtMiniDockFrameWnd* m_pMiniFrame;
        HWND m_hWndChild;

        ChildBkgndInfo_t();
        ~ChildBkgndInfo_t();
        bool Init(HWND hWndChild);
        void AreasToChildClient();
        void AreasToChildWindow();
        void PaintAreas(CDC& dc);
    };

    CExtToolControlBar();
    virtual ~CExtToolControlBar();
    // Non-zero for every toolbar of this system: the start of the bar stays square.
    virtual int OnQueryShape(int nReserved1, int nReserved2);

    // NULL when the index is outside 0 .. count - 1.
    CExtBarButton* GetButton(int nIndex);
    int m_nBtnIdxMenuTracking;  // -1 when no button's menu is open

    // True while the menu of a toolbar or menu-bar button tracks.
    static bool g_bButtonMenuTracking;
    // Clears that flag; toolbars drop their tracked button.
    static void CancelAllButtonMenuTracking();
    // The next button menu opens with its rarely used items shown.
    static bool g_bMenuTrackingExpanded;
};

#endif
