// A tab strip with fixed geometry for the tab window tests: item sizes come from the
// item's LPARAM (MAKELPARAM(cx, cy)), the tab metrics are 4, 2, 2, the buttons 14 pixels,
// and the notifications are recorded.
#pragma once
#include <gtest/gtest.h>
#include "toolkit/dialogs/tab_wnd.h"
#include "support/msg_recorder.h"
#include <ostream>

#include <string>

// Rectangles compare as text so that a failure shows both.
inline std::string RectText(const RECT& rc)
{
    return "(" + std::to_string(rc.left) + ", " + std::to_string(rc.top) + ", " + std::to_string(rc.right) +
           ", " + std::to_string(rc.bottom) + ")";
}
#define EXPECT_RECT(a, b) EXPECT_EQ(RectText(a), RectText(b))

enum
{
    kNoteSelPre = WM_APP + 1,
    kNoteSelPost = WM_APP + 2,
    kNoteInsert = WM_APP + 3,
    kNoteRemovePre = WM_APP + 4,
    kNoteRemovePost = WM_APP + 5,
    kNoteMoved = WM_APP + 6,
    kNoteDrawItem = WM_APP + 7,
};

class TestTabStrip : public CExtTabWnd
{
public:
    testsupport::MsgRecorder* m_pRec = nullptr;
    int m_nVetoSelection = -1;  // refused as a new selection in the pre-test
    std::vector<std::pair<int, CRect>> m_drawn;

    void OnTabWndUpdateItemMeasure(TAB_ITEM_INFO* pTii, CDC&, CSize& size) override
    {
        if (pTii->LParamGet() != 0)
            size = CSize(LOWORD(pTii->LParamGet()), HIWORD(pTii->LParamGet()));
    }
    void OnTabWndQueryMetrics(int& m1, int& m2, int& m3) override
    {
        m1 = 4;
        m2 = 2;
        m3 = 2;
    }
    CSize OnTabWndQueryButtonSize() const override { return CSize(14, 14); }
    bool OnTabWndSelectionChange(int nOld, int nNew, bool bPre) override
    {
        if (m_pRec != nullptr)
            m_pRec->Record(bPre ? kNoteSelPre : kNoteSelPost, (WPARAM)nOld, (LPARAM)nNew, m_hWnd, "tabs");
        if (bPre && nNew == m_nVetoSelection)
            return false;
        return CExtTabWnd::OnTabWndSelectionChange(nOld, nNew, bPre);
    }
    void OnTabWndItemInsert(int nIndex, TAB_ITEM_INFO*) override
    {
        if (m_pRec != nullptr)
            m_pRec->Record(kNoteInsert, (WPARAM)nIndex, 0, m_hWnd, "tabs");
    }
    void OnTabWndRemoveItem(int nIndex, int nCount, bool bPre) override
    {
        if (m_pRec != nullptr)
            m_pRec->Record(bPre ? kNoteRemovePre : kNoteRemovePost, (WPARAM)nIndex, (LPARAM)nCount, m_hWnd, "tabs");
    }
    void OnTabWndItemPosChanged(int nOld, int nNew) override
    {
        if (m_pRec != nullptr)
            m_pRec->Record(kNoteMoved, (WPARAM)nOld, (LPARAM)nNew, m_hWnd, "tabs");
    }
    void OnTabWndDrawItem(CDC& dc, const RECT& rcArea, int nIndex, TAB_ITEM_INFO* pTii, bool bTopLeft,
                          bool bHorz, bool bSelected, bool bCentered, bool bGrouped, bool bActive,
                          bool bInverted, const RECT& rcItem, CSize sizeText, CFont* pFont, LPCTSTR sText,
                          CExtCmdIcon* pIcon) override
    {
        m_drawn.push_back(std::make_pair(nIndex, CRect(rcItem)));
        CExtTabWnd::OnTabWndDrawItem(dc, rcArea, nIndex, pTii, bTopLeft, bHorz, bSelected, bCentered, bGrouped,
                                     bActive, bInverted, rcItem, sizeText, pFont, sText, pIcon);
    }
};

// A top-level host window for strips, shown without activation.
class TabHost
{
public:
    TabHost(int cx = 600, int cy = 400)
    {
        m_hWnd = ::CreateWindowEx(0, _T("STATIC"), _T("tab host"), WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                  10, 10, cx, cy, NULL, NULL, ::GetModuleHandle(NULL), NULL);
    }
    ~TabHost()
    {
        if (m_hWnd != NULL)
            ::DestroyWindow(m_hWnd);
    }
    CWnd* Wnd() { return CWnd::FromHandle(m_hWnd); }
    HWND m_hWnd;
};

inline LPARAM ItemSize(int cx, int cy) { return MAKELPARAM(cx, cy); }
