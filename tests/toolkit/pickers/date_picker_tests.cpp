#include <gtest/gtest.h>

#include <vector>

#include "support/dib_canvas.h"
#include "support/message_pump.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/pickers/date_picker_header_popup.h"
#include "toolkit/pickers/date_picker_wnd.h"

namespace {

// English names and a pinned first day of the week, whatever the machine's locale.
class PinnedLocale : public CExtResourceManager
{
public:
    explicit PinnedLocale(const char* pszFirstDay) : m_pszFirstDay(pszFirstDay) {}
    int GetLocaleInfo(LCTYPE t, LPTSTR p, int cch) override
    {
        static const char* const s_months[12] = {"January", "February", "March", "April",
                                                 "May", "June", "July", "August",
                                                 "September", "October", "November", "December"};
        static const char* const s_days[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
        const char* psz = NULL;
        if (t >= LOCALE_SMONTHNAME1 && t <= LOCALE_SMONTHNAME12)
            psz = s_months[t - LOCALE_SMONTHNAME1];
        else if (t >= LOCALE_SABBREVDAYNAME1 && t <= LOCALE_SABBREVDAYNAME7)
            psz = s_days[t - LOCALE_SABBREVDAYNAME1];
        else if (t == LOCALE_IFIRSTDAYOFWEEK)
            psz = m_pszFirstDay;
        if (psz == NULL)
            return CExtResourceManager::GetLocaleInfo(t, p, cch);
        lstrcpynA(p, psz, cch);
        return lstrlenA(p) + 1;
    }
    const char* m_pszFirstDay;
};

struct Note {
    COleDateTime begin, end;
    bool bFinal, bClose;
};
std::vector<Note> g_notes;
int g_nCancelModes = 0;

LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == CExtDatePickerWnd::g_nMsgSelectionNotification) {
        auto* p = reinterpret_cast<CExtDatePickerWnd::SELECTIONNOTIFICATION*>(w);
        g_notes.push_back({p->m_dtBegin, p->m_dtEnd, p->m_bFinalSelectionChanging,
                           p->m_bAllowFinalParentCancelMode});
        return 0;
    }
    if (m == WM_CANCELMODE)
        ++g_nCancelModes;
    return ::DefWindowProcA(h, m, w, l);
}

// Today is pinned so that framing and the Today button do not depend on the clock.
class PinnedPicker : public CExtDatePickerWnd
{
public:
    COleDateTime GetTodayDate() const override { return COleDateTime(2024, 5, 15, 9, 30, 0); }
};

std::string Ymd(const COleDateTime& dt)
{
    if (dt.GetStatus() != COleDateTime::valid)
        return dt.GetStatus() == COleDateTime::null ? "null" : "invalid";
    char sz[32];
    wsprintfA(sz, "%04d-%02d-%02d", dt.GetYear(), dt.GetMonth(), dt.GetDay());
    return sz;
}

class DatePickerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_CurrentResourceManager.InstallResourceManager(new PinnedLocale("0"));
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "DatePickerTestHost";
        ::RegisterClassA(&wc);
        m_hHost = ::CreateWindowExA(0, "DatePickerTestHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 700,
                                    500, NULL, NULL, wc.hInstance, NULL);
        ASSERT_NE(nullptr, m_hHost);
        g_notes.clear();
        g_nCancelModes = 0;
    }
    void TearDown() override
    {
        if (m_picker.GetSafeHwnd() != NULL)
            m_picker.DestroyWindow();
        ::DestroyWindow(m_hHost);
        g_CurrentResourceManager.InstallResourceManager(NULL);
    }
    void Make(int cols, int rows, DWORD dwStyle = CExtDatePickerWnd::__EDPWS_DEFAULT,
              int maxCols = 0, int maxRows = 0, CRect rc = CRect(0, 0, 600, 450))
    {
        ASSERT_TRUE(m_picker.Create(CWnd::FromHandle(m_hHost), rc, 100, cols, rows, maxCols,
                                    maxRows, WS_CHILD | WS_VISIBLE, dwStyle));
        m_picker.SetCurrentDate(COleDateTime(2024, 5, 1, 0, 0, 0), false);
        g_notes.clear();
    }
    CPoint CellCentre(int nMonth, int nCell)
    {
        return m_picker.GetMonthAt(nMonth)->GetCell(nCell).GetRect().CenterPoint();
    }
    void Click(CPoint pt)
    {
        m_picker.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        m_picker.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    HWND m_hHost = NULL;
    PinnedPicker m_picker;
};

TEST_F(DatePickerTest, MonthsWeeksAndDisplayedRange)
{
    Make(2, 1);
    ASSERT_EQ(2, m_picker.GetMonthCount());
    COleDateTime first, last;
    m_picker.GetDisplayedRange(first, last);
    EXPECT_EQ("2024-05-01", Ymd(first));
    EXPECT_EQ("2024-06-30", Ymd(last));
    // Monday first; 1 May 2024 was a Wednesday. With 0x400 only the first month shows
    // leading days and only the last its trailing ones.
    struct { int month, cell; const char* ymd; } cases[] = {
        {0, 0, "2024-04-29"}, {0, 2, "2024-05-01"}, {0, 32, "2024-05-31"}, {0, 33, "null"},
        {1, 0, "null"},       {1, 5, "2024-06-01"}, {1, 34, "2024-06-30"}, {1, 41, "2024-07-07"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.ymd, Ymd(m_picker.GetMonthAt(c.month)->GetCell(c.cell).GetDate()))
            << "month " << c.month << " cell " << c.cell;
    CSize s = m_picker.GetMonthSize();
    EXPECT_GE(s.cx, 143);
    EXPECT_GE(s.cy, 125);
    EXPECT_EQ(CRect(4, 4, 4 + s.cx, 4 + s.cy), m_picker.GetMonthAt(0)->GetRect());
    EXPECT_EQ(m_picker.CalcSize(CSize(2, 1)).cx, 2 * s.cx + 8);
}

TEST_F(DatePickerTest, YearOneHundredKeepsItsTrueWeekdays)
{
    Make(1, 1);
    m_picker.SetCurrentDate(COleDateTime(100, 1, 10, 0, 0, 0), false);
    const CExtDatePickerWnd::MONTH_INFO* pMonth = m_picker.GetMonthAt(0);
    // 1 January 100 was a Friday: column 4 under Monday first; the cells before it stay empty.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ("null", Ymd(pMonth->GetCell(i).GetDate())) << "cell " << i;
    EXPECT_EQ("0100-01-01", Ymd(pMonth->GetCell(4).GetDate()));
    EXPECT_EQ(6, pMonth->GetCell(4).GetDate().GetDayOfWeek());
    m_picker.SetCurrentDate(COleDateTime(100, 2, 1, 0, 0, 0), false);
    EXPECT_EQ("0100-03-01", Ymd(m_picker.GetMonthAt(0)->GetCell(35).GetDate()));
}

TEST_F(DatePickerTest, MouseSelectionNotifiesFinalAndClose)
{
    Make(1, 1);
    Click(CellCentre(0, 11));  // Friday 10 May
    COleDateTime b, e;
    m_picker.SelectionGet(b, e);
    EXPECT_EQ("2024-05-10", Ymd(b));
    EXPECT_EQ("2024-05-10", Ymd(e));
    ASSERT_GE(g_notes.size(), 2u);
    EXPECT_FALSE(g_notes.front().bFinal);
    EXPECT_TRUE(g_notes.back().bFinal);
    EXPECT_TRUE(g_notes.back().bClose);
    EXPECT_EQ("2024-05-10", Ymd(g_notes.back().begin));
    // The same selection set again sends nothing.
    size_t n = g_notes.size();
    m_picker.SelectionSet(b, e, false, false);
    EXPECT_EQ(n, g_notes.size());
    // The Today button selects the pinned today and shows it.
    m_picker.SetCurrentDate(COleDateTime(2020, 1, 1, 0, 0, 0), false);
    Click(m_picker.GetButtonTodayRect().CenterPoint());
    m_picker.SelectionGet(b, e);
    EXPECT_EQ("2024-05-15", Ymd(b));
    EXPECT_EQ("2024-05-15", Ymd(m_picker.GetCurrentDate()));
}

TEST_F(DatePickerTest, KeysMoveTheSelectionAndReturnCloses)
{
    Make(1, 1);
    m_picker.SelectionSet(COleDateTime(2024, 5, 31, 0, 0, 0), COleDateTime(2024, 5, 31, 0, 0, 0),
                          false, false);
    struct { UINT vk; const char* ymd; const char* current; } cases[] = {
        {VK_LEFT, "2024-05-30", "2024-05-01"}, {VK_RIGHT, "2024-05-31", "2024-05-01"},
        {VK_DOWN, "2024-06-07", "2024-06-07"}, {VK_UP, "2024-05-31", "2024-05-31"}};
    for (const auto& c : cases) {
        m_picker.SendMessage(WM_KEYDOWN, c.vk, 1);
        COleDateTime b, e;
        m_picker.SelectionGet(b, e);
        EXPECT_EQ(c.ymd, Ymd(b)) << "key " << c.vk;
        EXPECT_EQ(c.ymd, Ymd(e)) << "key " << c.vk;
        EXPECT_EQ(c.current, Ymd(m_picker.GetCurrentDate())) << "key " << c.vk;
    }
    g_notes.clear();
    m_picker.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    testsupport::PumpPending();
    ASSERT_EQ(1u, g_notes.size());
    EXPECT_TRUE(g_notes[0].bFinal);
    EXPECT_GE(g_nCancelModes, 1);
}

TEST_F(DatePickerTest, DimensionsArrowsAndStyles)
{
    Make(1, 1, CExtDatePickerWnd::__EDPWS_DEFAULT | CExtDatePickerWnd::__EDPWS_AUTO_DIMENSION_MODE |
                   CExtDatePickerWnd::__EDPWS_MULTIPLE_SELECTION, 3, 2);
    CSize s = m_picker.GetMonthSize(), mn, mx, cur;
    m_picker.SetWindowPos(NULL, 0, 0, 5 * s.cx + 8, s.cy + 8 + m_picker.GetButtonAreaHeight(),
                          SWP_NOZORDER | SWP_NOMOVE);
    m_picker.GetDimension(&mn, &mx, &cur);
    EXPECT_EQ(CSize(3, 1), cur);
    m_picker.SetDimension(0, 0, 4, 2, false);
    m_picker.GetDimension(&mn, &mx, NULL);
    EXPECT_EQ(CSize(1, 1), mn);
    EXPECT_EQ(CSize(4, 2), mx);
    m_picker.SetDimension(2, 0, 0, 0, false);
    m_picker.GetDimension(&mn, NULL, NULL);
    EXPECT_EQ(CSize(2, 1), mn);
    // Removing range selection leaves one day.
    m_picker.SelectionSet(COleDateTime(2024, 5, 2, 0, 0, 0), COleDateTime(2024, 5, 9, 0, 0, 0));
    m_picker.ModifyStyle(CExtDatePickerWnd::__EDPWS_MULTIPLE_SELECTION, 0, false);
    COleDateTime b, e;
    m_picker.SelectionGet(b, e);
    EXPECT_EQ("2024-05-02", Ymd(e));
    // The next arrow stops at December 9999.
    m_picker.ModifyStyle(CExtDatePickerWnd::__EDPWS_AUTO_DIMENSION_MODE, 0, false);
    m_picker.SetDimension(1, 1, 1, 1, false);
    m_picker.SetCurrentDate(COleDateTime(9999, 12, 1, 0, 0, 0), false);
    CRect rcNext = m_picker.GetMonthAt(0)->m_rcNextArrow;
    m_picker.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcNext.CenterPoint().x, rcNext.CenterPoint().y));
    m_picker.SendMessage(WM_CANCELMODE);
    EXPECT_EQ("9999-12-01", Ymd(m_picker.GetCurrentDate()));
    // A 2 x 2 picker: June chosen over the second row's first month makes April the first.
    m_picker.SetDimension(2, 2, 2, 2, false);
    m_picker.SetCurrentDate(COleDateTime(2024, 1, 1, 0, 0, 0), false);
    m_picker.ApplyHeaderChoice(1, 0, 6, 2024);
    EXPECT_EQ("2024-04-01", Ymd(m_picker.GetCurrentDate()));
}

TEST_F(DatePickerTest, HeaderPopupLinesAndScrolling)
{
    Make(1, 1);
    CExtDatePickerHeaderPopupWnd* p = new CExtDatePickerHeaderPopupWnd(&m_picker, true);
    CSize full, list;
    p->GetWindowSize(full, false);
    p->GetWindowSize(list, true);
    EXPECT_EQ(full.cx - 3, list.cx);
    EXPECT_EQ(7 * p->GetItemHeight() + 2, list.cy);
    p->SetMonthYear(1, 100);
    int m = 0, y = 0;
    EXPECT_FALSE(p->GetLineMonth(2, m, y));
    EXPECT_TRUE(p->GetLineMonth(3, m, y));
    EXPECT_TRUE(p->GetLineMonth(6, m, y));
    EXPECT_EQ(4, m);
    p->SetMonthYear(13, 99);  // both out of range: nothing changes
    EXPECT_EQ(1, p->GetCentreMonth());
    EXPECT_EQ(100, p->GetCentreYear());
    struct { int d, ms; } periods[] = {{5, 500}, {15, 300}, {25, 200}, {35, 100}, {45, 50}};
    for (const auto& c : periods)
        EXPECT_EQ(c.ms, CExtDatePickerHeaderPopupWnd::ScrollPeriod(c.d)) << c.d << " pixels";
    ASSERT_TRUE(p->CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(CS_SAVEBITS), _T(""), WS_POPUP, 0,
                            0, full.cx, full.cy, m_hHost, NULL));
    p->SendMessage(WM_TIMER, 2);  // the centre cannot move before January 100
    EXPECT_EQ(1, p->GetCentreMonth());
    p->SendMessage(WM_TIMER, 3);
    EXPECT_EQ(2, p->GetCentreMonth());
    p->DestroyWindow();  // deletes itself
}

// Real input: press on the caption, move to the line two below the centre, release. The
// later steps come from timers that fire inside the popup's own loop.
POINT g_ptLine;
void SendMouse(DWORD dwFlags, POINT pt)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(pt.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(pt.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = dwFlags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &in, sizeof(in));
}
void CALLBACK MoveToLine(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(NULL, id);
    SendMouse(0, g_ptLine);
}
void CALLBACK Release(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(NULL, id);
    SendMouse(MOUSEEVENTF_LEFTUP, g_ptLine);
}

TEST_F(DatePickerTest, HeaderPopupChoosesAMonthWithTheMouse)
{
    Make(1, 1);
    ::SetForegroundWindow(m_hHost);
    testsupport::PumpPending();
    CRect rcCaption = m_picker.GetMonthAt(0)->m_rcCaptionText;
    m_picker.ClientToScreen(&rcCaption);
    CPoint ptCaption = rcCaption.CenterPoint();
    CExtDatePickerHeaderPopupWnd probe(&m_picker, true);
    g_ptLine.x = ptCaption.x;
    g_ptLine.y = ptCaption.y + 2 * probe.GetItemHeight();  // two lines below May: July
    SendMouse(0, ptCaption);
    testsupport::PumpPending();
    ::SetTimer(NULL, 0, 100, MoveToLine);
    ::SetTimer(NULL, 0, 300, Release);
    SendMouse(MOUSEEVENTF_LEFTDOWN, ptCaption);
    testsupport::PumpUntil([&] { return m_picker.GetCurrentDate().GetMonth() != 5; }, 2000);
    EXPECT_EQ("2024-07-01", Ymd(m_picker.GetCurrentDate()));
    EXPECT_EQ(NULL, ::GetCapture());
}

// The month is chosen where the hand released the button, whatever the pointer does before
// the picker's thread takes the release (the thread is held: nothing is taken until the
// hand is done, so the button is up long before the popup's loop sees the release).
TEST_F(DatePickerTest, HeaderPopupChoosesWhereTheHandReleased)
{
    ::SetWindowPos(m_hHost, NULL, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Make(1, 1);
    ::SetForegroundWindow(m_hHost);
    testsupport::PumpPending();
    CRect rcCaption = m_picker.GetMonthAt(0)->m_rcCaptionText;
    m_picker.ClientToScreen(&rcCaption);
    const CPoint ptCaption = rcCaption.CenterPoint();
    CExtDatePickerHeaderPopupWnd probe(&m_picker, true);
    const CPoint ptJuly(ptCaption.x, ptCaption.y + 2 * probe.GetItemHeight());
    const CPoint ptBelow(ptCaption.x, ptCaption.y + 4 * probe.GetItemHeight() + 20);  // off the list
    const struct {
        const char* what;
        CPoint release, after;
        const char* date;
    } cases[] = {
        {"released on July, the pointer moved below the list", ptJuly, ptBelow, "2024-07-01"},
        {"released below the list, the pointer moved onto July", ptBelow, ptJuly, "2024-05-01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_picker.SetCurrentDate(COleDateTime(2024, 5, 1, 0, 0, 0), false);
        SendMouse(0, ptCaption);
        SendMouse(MOUSEEVENTF_LEFTDOWN, ptCaption);
        SendMouse(0, c.release);
        SendMouse(MOUSEEVENTF_LEFTUP, c.release);
        SendMouse(0, c.after);
        EXPECT_TRUE(testsupport::PumpUntilIdle());
        EXPECT_EQ(c.date, Ymd(m_picker.GetCurrentDate()));
        EXPECT_EQ(NULL, ::GetCapture());
    }
}

struct ThemeCase {
    CRuntimeClass* pClass;
    const char* name;
};

TEST_F(DatePickerTest, PaintsSelectionTodayAndHeaderPerTheme)
{
    ThemeCase themes[] = {{RUNTIME_CLASS(CExtPaintManager), "base"},
                          {RUNTIME_CLASS(CExtPaintManagerXP), "XP"},
                          {RUNTIME_CLASS(CExtPaintManagerOffice2003), "Office 2003"},
                          {RUNTIME_CLASS(CExtPaintManagerStudio2005), "Studio 2005"}};
    Make(1, 1);
    m_picker.SelectionSet(COleDateTime(2024, 5, 10, 0, 0, 0), COleDateTime(2024, 5, 10, 0, 0, 0),
                          false, false);
    CRect rcClient;
    m_picker.GetClientRect(&rcClient);
    for (const auto& t : themes) {
        g_CurrentPaintManager.InstallPaintManagerByClass(t.pClass);
        testsupport::DibCanvas canvas(rcClient.Width(), rcClient.Height());
        m_picker.PaintEntire(*CDC::FromHandle(canvas.Dc()), rcClient);
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        CRect rcSel = m_picker.GetMonthAt(0)->GetCell(11).GetRect();  // 10 May
        CRect rcToday = m_picker.GetMonthAt(0)->GetCell(16).GetRect();  // 15 May
        CRect rcHead = m_picker.GetMonthAt(0)->m_rcWeekdayHeader;
        EXPECT_EQ(pPM->LookupColor(CExtPaintManager::CLR_3DFACE_IN), canvas.Pixel(rcSel.left + 1, rcSel.top + 1)) << t.name;
        EXPECT_EQ(RGB(128, 0, 0), canvas.Pixel(rcToday.left, rcToday.top + 3)) << t.name;
        EXPECT_EQ(RGB(128, 0, 0), canvas.Pixel(rcToday.right - 1, rcToday.bottom - 1)) << t.name;
        EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(rcHead.left + 3, rcHead.bottom - 2)) << t.name;
        EXPECT_EQ(pPM->LookupColor(COLOR_WINDOW), canvas.Pixel(rcToday.left - 1, rcToday.bottom + 2)) << t.name;
    }
    g_CurrentPaintManager.InstallPaintManagerByClass(RUNTIME_CLASS(CExtPaintManagerXP));
}

}  // namespace
