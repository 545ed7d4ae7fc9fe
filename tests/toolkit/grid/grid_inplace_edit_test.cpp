#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/grid/grid_cell_string.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "support/message_pump.h"

namespace {

const UINT WM_SCRIPT_STEP = WM_APP + 77;

// A grid that runs scripted steps from inside its own modal editing loop and counts what
// the editors hand back.
class ScriptGrid : public CExtGridWnd
{
public:
    std::vector<std::function<void()>> m_steps;
    size_t m_nNext = 0;
    int m_nWaits = 0;
    int m_nApplied = 0;
    bool m_bLastApply = false;
    CString m_sLastApplied;

    void Run(std::vector<std::function<void()>> steps)
    {
        m_steps = std::move(steps);
        m_nNext = 0;
        m_nWaits = 0;
        PostMessage(WM_SCRIPT_STEP);
    }
    void OnInplaceControlApplied(CExtGridCell* pCell, HWND hWnd, LONG nColNo, LONG nRowNo, INT nColType,
                                 INT nRowType, LPCTSTR sText, bool bApply) override
    {
        m_nApplied++;
        m_bLastApply = bApply;
        m_sLastApplied = sText != NULL ? sText : _T("");
        CExtGridWnd::OnInplaceControlApplied(pCell, hWnd, nColNo, nRowNo, nColType, nRowType, sText, bApply);
    }
    void OnInplaceControlApplied(CExtGridCell* pCell, HWND hWnd, LONG nColNo, LONG nRowNo, INT nColType,
                                 INT nRowType, DWORD dwAddress, bool bApply) override
    {
        m_nApplied++;
        m_bLastApply = bApply;
        CExtGridWnd::OnInplaceControlApplied(pCell, hWnd, nColNo, nRowNo, nColType, nRowType, dwAddress, bApply);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_SCRIPT_STEP)
            return CExtGridWnd::WindowProc(message, wParam, lParam);
        // A step acts on the open editor: until one opens, the step waits (a few turns).
        if (GetSafeInplaceActiveHwnd() == NULL && m_nNext < m_steps.size() && m_nWaits++ < 50)
        {
            PostMessage(WM_SCRIPT_STEP);
            return 0;
        }
        if (m_nNext < m_steps.size())
        {
            size_t n = m_nNext++;
            // The next step is queued first: this one may enter a nested editing loop.
            if (m_nNext < m_steps.size())
                PostMessage(WM_SCRIPT_STEP);
            m_steps[n]();
        }
        return 0;
    }
};

// A string cell that refuses any text holding a digit.
class DigitlessCell : public CExtGridCellString
{
    DECLARE_DYNCREATE(DigitlessCell)
public:
    explicit DigitlessCell(CExtGridDataProvider* pOwner = NULL) : CExtGridCellString(pOwner) {}
    bool OnInplaceControlTextInputVerify(HWND, CExtGridWnd&, LONG, LONG, INT, INT, LPCTSTR, LPCTSTR,
                                         CString& sTextNew, bool) override
    {
        return sTextNew.FindOneOf(_T("0123456789")) < 0;
    }
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override
    {
        DigitlessCell* pCell = pMalloc != NULL ? new (pMalloc) DigitlessCell(GetOwner()) : new DigitlessCell(GetOwner());
        if (pCell != NULL)
            pCell->Assign(*this);
        return pCell;
    }
};
IMPLEMENT_DYNCREATE(DigitlessCell, CExtGridCellString)

struct GridInplaceEditTest : testing::Test
{
    HWND m_hParent = NULL;
    ScriptGrid m_grid;

    void SetUp() override
    {
        m_hParent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 400, 200, NULL, NULL, NULL,
                                      NULL);
        ASSERT_TRUE(m_grid.Create(CWnd::FromHandle(m_hParent), CRect(0, 0, 380, 180), 1,
                                  CExtGridBaseWnd::GRID_SELECT_CELLS));
        m_grid.InsertColumns(-1, 3, false);
        m_grid.InsertRows(-1, 3, false);
        m_grid.SetDefaultColumnExtent(100, false);
        m_grid.SetDefaultRowExtent(20, false);
        for (LONG c = 0; c < 3; ++c)
            for (LONG r = 0; r < 3; ++r)
            {
                // The bottom-left cell is left for a test to give a kind of its own.
                if (c == 0 && r == 2)
                    continue;
                CString s;
                s.Format(_T("%c%ld"), (int)(_T('A') + c), r);
                m_grid.GridCellGet(c, r, 0, 0, RUNTIME_CLASS(CExtGridCellString))->TextSet(s);
            }
        m_grid.FocusSet(CPoint(1, 1), true, true, true, false);
        ::SetFocus(m_grid.m_hWnd);
    }
    void TearDown() override
    {
        if (m_grid.m_hWnd != NULL)
            m_grid.DestroyWindow();
        ::DestroyWindow(m_hParent);
    }
    CString CellText(LONG c, LONG r)
    {
        CString s;
        m_grid.GridCellGet(c, r)->TextGet(s);
        return s;
    }
    HWND Editor() { return m_grid.GetSafeInplaceActiveHwnd(); }
    CPoint CellCentre(LONG c, LONG r)
    {
        RECT rcExtra, rcCell;
        m_grid.GetCellRects(c, r, 0, 0, &rcExtra, &rcCell);
        return CPoint((rcCell.left + rcCell.right) / 2, (rcCell.top + rcCell.bottom) / 2);
    }
};

std::string Narrow(const CString& s) { return std::string((LPCSTR)s); }

}  // namespace

// Every way of starting an edit opens the text editor over the focused cell with its
// whole text selected; Enter keeps the typed text, Escape the old one.
TEST_F(GridInplaceEditTest, StartedByKeyOrMouseAndEndedByEnterOrEscape)
{
    enum { START_ENTER, START_F2, START_DBLCLICK, START_CLICK };
    struct Case { const char* name; int nStart; UINT nEndKey; const char* expected; };
    const Case cases[] = {
        {"Enter, Enter", START_ENTER, VK_RETURN, "typed"}, {"F2, Escape", START_F2, VK_ESCAPE, "B1"},
        {"F2, Enter", START_F2, VK_RETURN, "typed"},       {"double click, Escape", START_DBLCLICK, VK_ESCAPE, "B1"},
        {"click, Enter", START_CLICK, VK_RETURN, "typed"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_grid.GridCellGet(1, 1)->TextSet(_T("B1"));
        m_grid.m_nApplied = 0;
        CString sSeen;
        DWORD dwSel = 0;
        bool bIsTextEditor = false;
        m_grid.Run({[&] {
            HWND hEditor = Editor();
            bIsTextEditor = dynamic_cast<CExtGridInplaceEdit*>(CWnd::FromHandlePermanent(hEditor)) != NULL;
            CWnd::FromHandle(hEditor)->GetWindowText(sSeen);
            dwSel = (DWORD)::SendMessage(hEditor, EM_GETSEL, 0, 0);
            ::SendMessage(hEditor, WM_SETTEXT, 0, (LPARAM) "typed");
            ::SendMessage(hEditor, WM_KEYDOWN, c.nEndKey, 0);
        }});
        CPoint pt = CellCentre(1, 1);
        LPARAM lPt = MAKELPARAM(pt.x, pt.y);
        switch (c.nStart)
        {
        case START_ENTER:
        case START_F2:
            ::SendMessage(m_grid.m_hWnd, WM_KEYDOWN, c.nStart == START_ENTER ? VK_RETURN : VK_F2, 0);
            break;
        case START_DBLCLICK:
            // Only the double click may edit here: the first click's release must not.
            m_grid.ModifyBehaviorStyle(0, CExtGridWnd::__EGBS_EDIT_ON_CLICK, false);
            ::SendMessage(m_grid.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lPt);
            ::SendMessage(m_grid.m_hWnd, WM_LBUTTONUP, 0, lPt);
            ::SendMessage(m_grid.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, lPt);
            ::SendMessage(m_grid.m_hWnd, WM_LBUTTONUP, 0, lPt);
            m_grid.ModifyBehaviorStyle(CExtGridWnd::__EGBS_EDIT_ON_CLICK, 0, false);
            break;
        case START_CLICK:
            ::SendMessage(m_grid.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lPt);
            ::SendMessage(m_grid.m_hWnd, WM_LBUTTONUP, 0, lPt);
            break;
        }
        testsupport::PumpPending();
        EXPECT_TRUE(bIsTextEditor);
        EXPECT_EQ("B1", Narrow(sSeen));
        EXPECT_EQ(MAKELONG(0, 2), (LONG)dwSel);
        EXPECT_EQ(NULL, Editor());
        EXPECT_EQ(1, m_grid.m_nApplied);
        EXPECT_EQ(c.nEndKey == VK_RETURN, m_grid.m_bLastApply);
        EXPECT_EQ(c.expected, Narrow(CellText(1, 1)));
    }
}

// The arrow keys leave an inner cell's editor for the neighbour (applying first) only
// where the caret stands at that side; the new editor keeps the caret on the side the
// user came from.
TEST_F(GridInplaceEditTest, ArrowKeysLeaveForTheNeighbouringCell)
{
    struct Case { const char* name; UINT nKey; int nCaret; POINT ptFocus; LONG nSelStart, nSelEnd; };
    const Case cases[] = {
        {"Right at the end", VK_RIGHT, 2, {2, 1}, 0, 0},
        {"Left at the start", VK_LEFT, 0, {0, 1}, 2, 2},
        {"Down anywhere", VK_DOWN, 1, {1, 2}, 0, 2},
        {"Up anywhere", VK_UP, 1, {1, 0}, 0, 2},
        {"Right inside the text", VK_RIGHT, 0, {1, 1}, 1, 1},
        {"Left inside the text", VK_LEFT, 2, {1, 1}, 1, 1},
    };
    m_grid.ModifyBehaviorStyle(0x20 | 0x40, 0, false);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_grid.FocusSet(CPoint(1, 1), true, true, true, false);
        m_grid.GridCellGet(1, 1)->TextSet(_T("B1"));
        POINT ptSeen = {-1, -1};
        DWORD dwSel = 0;
        HWND hFirst = NULL;
        m_grid.Run({[&] {
                        hFirst = Editor();
                        ::SendMessage(hFirst, WM_SETTEXT, 0, (LPARAM) "xy");
                        ::SendMessage(hFirst, EM_SETSEL, c.nCaret, c.nCaret);
                        ::SendMessage(hFirst, WM_KEYDOWN, c.nKey, 0);
                    },
                    [&] {
                        ptSeen = m_grid.FocusGet();
                        dwSel = (DWORD)::SendMessage(Editor(), EM_GETSEL, 0, 0);
                        ::SendMessage(Editor(), WM_KEYDOWN, VK_ESCAPE, 0);
                    }});
        ::SendMessage(m_grid.m_hWnd, WM_KEYDOWN, VK_F2, 0);
        testsupport::PumpPending();
        EXPECT_EQ(c.ptFocus.x, ptSeen.x);
        EXPECT_EQ(c.ptFocus.y, ptSeen.y);
        EXPECT_EQ(c.nSelStart, (LONG)LOWORD(dwSel));
        EXPECT_EQ(c.nSelEnd, (LONG)HIWORD(dwSel));
        bool bLeft = c.ptFocus.x != 1 || c.ptFocus.y != 1;
        // Leaving applies the first cell's text; staying ends with Escape and keeps it.
        EXPECT_EQ(bLeft ? "xy" : "B1", Narrow(CellText(1, 1)));
        EXPECT_EQ(NULL, Editor());
    }
}

// A change the cell refuses is taken back with the selection as it was.
TEST_F(GridInplaceEditTest, RefusedInputKeepsTextAndSelection)
{
    ASSERT_TRUE(m_grid.GridCellGet(0, 2, 0, 0, RUNTIME_CLASS(DigitlessCell)) != NULL);
    m_grid.FocusSet(CPoint(0, 2), true, true, true, false);
    struct Case { const char* name; UINT msg; WPARAM w; LPARAM l; const char* expected; };
    const Case cases[] = {
        {"digit typed", WM_CHAR, '5', 0, "abc"},
        {"digits replaced in", EM_REPLACESEL, TRUE, (LPARAM) "x9", "abc"},
        {"letter typed", WM_CHAR, 'z', 0, "azc"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CString sSeen;
        DWORD dwSel = 0;
        m_grid.Run({[&] {
            HWND hEditor = Editor();
            ::SendMessage(hEditor, WM_SETTEXT, 0, (LPARAM) "abc");
            ::SendMessage(hEditor, EM_SETSEL, 1, 2);
            ::SendMessage(hEditor, c.msg, c.w, c.l);
            CWnd::FromHandle(hEditor)->GetWindowText(sSeen);
            dwSel = (DWORD)::SendMessage(hEditor, EM_GETSEL, 0, 0);
            ::SendMessage(hEditor, WM_KEYDOWN, VK_ESCAPE, 0);
        }});
        ::SendMessage(m_grid.m_hWnd, WM_KEYDOWN, VK_F2, 0);
        testsupport::PumpPending();
        EXPECT_EQ(c.expected, Narrow(sSeen));
        if (std::string(c.expected) == "abc")
        {
            EXPECT_EQ(MAKELONG(1, 2), (LONG)dwSel);
        }
    }
}

// The address editor: the process-wide pointer names it while it lives and is cleared
// however it goes; its value reaches the cell once, and a second end does nothing.
TEST_F(GridInplaceEditTest, AddressEditorPointerIsClearedWhenItGoes)
{
    CExtGridCell* pCell = m_grid.GridCellGet(2, 2);
    RECT rcExtra, rcCell;
    ASSERT_TRUE(m_grid.GetCellRects(2, 2, 0, 0, &rcExtra, &rcCell));
    for (int nWay = 0; nWay < 3; ++nWay)
    {
        SCOPED_TRACE(nWay == 0 ? "Enter in a field" : (nWay == 1 ? "window destroyed" : "ended twice"));
        m_grid.m_nApplied = 0;
        auto* pEditor = new CExtGridInplaceEditIPAddress(m_grid, *pCell, 2, 2, 2, 2, 0, 0, rcExtra, rcCell,
                                                         rcCell, -1, -1);
        ASSERT_TRUE(pEditor->Create(0x0A000001));
        HWND hEditor = pEditor->m_hWnd;
        EXPECT_EQ(pEditor, CExtGridInplaceEditIPAddress::g_pCurrentEditor);
        HWND hField = pEditor->m_arrFieldWnds[0];
        ASSERT_TRUE(hField != NULL);
        EXPECT_TRUE(pEditor->m_arrFieldWnds[3] != NULL);
        if (nWay == 0)
            ::SendMessage(hField, WM_KEYDOWN, VK_RETURN, 0);
        else if (nWay == 1)
            ::DestroyWindow(hEditor);
        else
        {
            EXPECT_TRUE(CExtGridInplaceControl::stat_EndEdit(hEditor, true));
            EXPECT_FALSE(CExtGridInplaceControl::stat_EndEdit(hEditor, true));
        }
        EXPECT_FALSE(::IsWindow(hEditor));
        EXPECT_EQ(NULL, CExtGridInplaceEditIPAddress::g_pCurrentEditor);
        EXPECT_EQ(nWay == 1 ? 0 : 1, m_grid.m_nApplied);
        if (nWay != 1)
        {
            EXPECT_EQ("10.0.0.1", Narrow(CellText(2, 2)));
        }
        pCell->TextSet(_T("C2"));
    }
}

// The slider and date-time editors hand their value back as text on Enter and leave the
// cell alone on Escape; a cell that asks for no border gets none, the margins stay.
TEST_F(GridInplaceEditTest, SliderAndDateTimeEditorsApplyOrCancel)
{
    CExtGridCell* pCell = m_grid.GridCellGet(0, 0);
    RECT rcExtra, rcCell;
    ASSERT_TRUE(m_grid.GetCellRects(0, 0, 0, 0, &rcExtra, &rcCell));
    struct Case { const char* name; bool bSlider; UINT nKey; bool bNoBorder; const char* expected; };
    const COleDateTime dt(2024, 2, 29, 13, 45, 0);
    // The date-time text as the system's VARIANT conversion writes it for the user's language.
    BSTR bstrDate = NULL;
    ASSERT_EQ(S_OK, ::VarBstrFromDate((DATE)dt, LANG_USER_DEFAULT, 0, &bstrDate));
    const std::string sDate = Narrow(CString(bstrDate));
    ::SysFreeString(bstrDate);
    const Case cases[] = {
        {"slider, Enter", true, VK_RETURN, false, "41"},
        {"slider, Escape", true, VK_ESCAPE, true, "A0"},
        {"date-time, Enter", false, VK_RETURN, true, sDate.c_str()},
        {"date-time, Escape", false, VK_ESCAPE, false, "A0"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        pCell->TextSet(_T("A0"));
        const DWORD dwNoBorder = CExtGridCell::__EGCS_EX_NO_INPLACE_CONTROL_BORDER;
        pCell->ModifyStyleEx(c.bNoBorder ? dwNoBorder : 0, c.bNoBorder ? 0 : dwNoBorder);
        HWND hEditor = NULL;
        DWORD dwFlags = 0;
        CRect rcNc;
        if (c.bSlider)
        {
            auto* p = new CExtGridInplaceSlider(m_grid, *pCell, 0, 0, 0, 0, 0, 0, rcExtra, rcCell, rcCell, -1, -1);
            ASSERT_TRUE(p->Create(1, 20, 0, 100, 40));
            hEditor = p->m_hWnd;
            dwFlags = p->m_dwGieFlags;
            rcNc = p->m_rcNcMargins;
            ::SendMessage(hEditor, WM_KEYDOWN, VK_RIGHT, 0);
            EXPECT_EQ(41, p->m_nPosAccepted);
        }
        else
        {
            auto* p = new CExtGridInplaceDateTime(m_grid, *pCell, 0, 0, 0, 0, 0, 0, rcExtra, rcCell, rcCell, -1,
                                                  -1);
            const bool arrVisible[7] = {true, true, true, true, true, true, true};
            ASSERT_TRUE(p->Create(dt, 0, 2, arrVisible));
            hEditor = p->m_hWnd;
            dwFlags = p->m_dwGieFlags;
            rcNc = p->m_rcNcMargins;
        }
        EXPECT_EQ(c.bNoBorder, (dwFlags & 1) == 0);
        EXPECT_EQ(CRect(3, 2, 2, 2), rcNc);
        CRect rcWnd, rcClient;
        ::GetWindowRect(hEditor, &rcWnd);
        ::GetClientRect(hEditor, &rcClient);
        EXPECT_EQ(rcWnd.Width() - 5, rcClient.Width());
        EXPECT_EQ(rcWnd.Height() - 4, rcClient.Height());
        ::SendMessage(hEditor, WM_KEYDOWN, c.nKey, 0);
        EXPECT_FALSE(::IsWindow(hEditor));
        EXPECT_EQ(c.expected, Narrow(CellText(0, 0)));
    }
}

// The text editor takes its look from the cell: colours of the colour layer (state 0
// before state 1), read-only, password and multi-line cells, the cell's alignment.
TEST_F(GridInplaceEditTest, TextEditorFollowsTheCellsTraits)
{
    const COLORREF clrWindow = m_grid.GetColor(COLOR_WINDOW);
    struct Case
    {
        const char* name;
        bool bPassword;
        DWORD dwStyle, dwStyleEx;
        COLORREF clrBack0, clrBack1, clrText1;
        DWORD dwEditStyleMask, dwEditStyle;
        COLORREF clrBackExpected, clrTextExpected;
    };
    const Case cases[] = {
        {"colours", false, 0, 0, RGB(1, 2, 3), RGB(9, 9, 9), RGB(4, 5, 6), ES_READONLY | ES_PASSWORD, 0,
         RGB(1, 2, 3), RGB(4, 5, 6)},
        {"read-only", false, CExtGridCell::__EGCS_READ_ONLY, 0, CLR_NONE, CLR_NONE, CLR_NONE, ES_READONLY,
         ES_READONLY, clrWindow, CLR_NONE},
        {"password", true, 0, 0, CLR_NONE, CLR_NONE, CLR_NONE, ES_PASSWORD | ES_READONLY, ES_PASSWORD, CLR_NONE,
         CLR_NONE},
        {"wrapped, right", false, CExtGridCell::__EGCS_TA_HORZ_RIGHT, CExtGridCell::__EGCS_EX_WRAP_TEXT, CLR_NONE,
         CLR_NONE, CLR_NONE, ES_MULTILINE | ES_RIGHT | ES_AUTOHSCROLL, ES_MULTILINE | ES_RIGHT, CLR_NONE,
         CLR_NONE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LONG nCol = c.bPassword ? 0 : 1, nRow = c.bPassword ? 2 : 1;
        CExtGridCell* pCell = m_grid.GridCellGet(nCol, nRow, 0, 0, RUNTIME_CLASS(CExtGridCellPassword));
        ASSERT_TRUE(pCell != NULL);
        pCell->TextSet(_T("s3cret"));
        pCell->ModifyStyle(c.dwStyle, CExtGridCell::__EGCS_READ_ONLY | CExtGridCell::__EGCS_TA_HORZ_MASK);
        pCell->ModifyStyleEx(c.dwStyleEx, CExtGridCell::__EGCS_EX_WRAP_TEXT);
        pCell->BackColorSet(CExtGridCell::__ECS_ALL, c.clrBack0);
        pCell->BackColorSet(CExtGridCell::__ECS_NORMAL, c.clrBack1);
        pCell->TextColorSet(CExtGridCell::__ECS_NORMAL, c.clrText1);
        RECT rcExtra, rcCell;
        ASSERT_TRUE(m_grid.GetCellRects(nCol, nRow, 0, 0, &rcExtra, &rcCell));
        HWND hEditor = pCell->OnInplaceControlCreate(m_grid, nCol, nRow, nCol, nRow, 0, 0, rcExtra, rcCell, rcCell,
                                                     -1, -1);
        auto* pEdit = dynamic_cast<CExtGridInplaceEdit*>(CWnd::FromHandlePermanent(hEditor));
        ASSERT_TRUE(pEdit != NULL);
        EXPECT_EQ(c.dwEditStyle, (DWORD)::GetWindowLong(hEditor, GWL_STYLE) & c.dwEditStyleMask);
        EXPECT_EQ(c.clrBackExpected, pEdit->m_clrBackground);
        EXPECT_EQ(c.clrTextExpected, pEdit->m_clrText);
        CString sText;
        pEdit->GetWindowText(sText);
        EXPECT_EQ("s3cret", Narrow(sText));
        if (c.bPassword)
        {
            EXPECT_EQ('*', (int)::SendMessage(hEditor, EM_GETPASSWORDCHAR, 0, 0));
        }
        EXPECT_TRUE(CExtGridInplaceControl::stat_EndEdit(hEditor, false));
        EXPECT_FALSE(::IsWindow(hEditor));
        pCell->BackColorSet(CExtGridCell::__ECS_ALL, CLR_NONE);
        pCell->BackColorSet(CExtGridCell::__ECS_NORMAL, CLR_NONE);
        pCell->TextColorSet(CExtGridCell::__ECS_NORMAL, CLR_NONE);
    }
}

TEST(GridCellExCursor, LoadsSystemCursorsAsOwnCopiesAndClears)
{
    CExtGridCellEx cell;
    EXPECT_TRUE(cell.CursorLoad((UINT)(UINT_PTR)IDC_HAND));
    EXPECT_TRUE(cell.CursorGet() != NULL);
    EXPECT_TRUE(cell.CursorGet() != ::LoadCursor(NULL, IDC_HAND));
    EXPECT_TRUE(cell.CursorLoad(UINT(-1)));
    EXPECT_EQ(NULL, cell.CursorGet());
    EXPECT_FALSE(cell.CursorLoad(12345));
    EXPECT_EQ(NULL, cell.CursorGet());
}
