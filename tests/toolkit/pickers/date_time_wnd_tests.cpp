#include <gtest/gtest.h>

#include <string>

#include "toolkit/core/resource_manager.h"
#include "toolkit/pickers/date_picker_wnd.h"
#include "toolkit/pickers/date_time_wnd.h"

namespace {

// United States order and separators, twelve-hour clock unless the editor says otherwise.
class UsLocale : public CExtResourceManager
{
public:
    int GetLocaleInfo(LCTYPE t, LPTSTR p, int cch) override
    {
        const struct { LCTYPE t; const char* v; } values[] = {
            {LOCALE_STIME, ":"},         {LOCALE_SDATE, "/"},     {LOCALE_IDATE, "0"},
            {LOCALE_ITIME, "0"},         {LOCALE_S1159, "AM"},    {LOCALE_S2359, "PM"},
            {LOCALE_ITIMEMARKPOSN, "0"}, {LOCALE_ICENTURY, "1"},  {LOCALE_IDAYLZERO, "0"},
            {LOCALE_IMONLZERO, "0"},     {LOCALE_ITLZERO, "0"}};
        for (const auto& v : values)
            if (v.t == t) {
                lstrcpynA(p, v.v, cch);
                return lstrlenA(p) + 1;
            }
        return CExtResourceManager::GetLocaleInfo(t, p, cch);
    }
};

std::string Ymdhms(const COleDateTime& dt)
{
    if (dt.GetStatus() != COleDateTime::valid)
        return dt.GetStatus() == COleDateTime::null ? "null" : "invalid";
    char sz[40];
    wsprintfA(sz, "%04d-%02d-%02d %02d:%02d:%02d", dt.GetYear(), dt.GetMonth(), dt.GetDay(), dt.GetHour(),
              dt.GetMinute(), dt.GetSecond());
    return sz;
}

class DateTimeTest : public ::testing::Test
{
protected:
    typedef CExtDurationWnd W;
    void SetUp() override
    {
        g_CurrentResourceManager.InstallResourceManager(new UsLocale);
        m_hHost = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(m_wnd.Create(CWnd::FromHandle(m_hHost), CRect(10, 10, 390, 40), 5));
    }
    void TearDown() override
    {
        m_wnd.DestroyWindow();
        ::DestroyWindow(m_hHost);
        g_CurrentResourceManager.InstallResourceManager(NULL);
    }
    std::string Row()
    {
        std::string s;
        for (int i = 0; i < m_wnd.GetItemCount(); ++i)
            if (m_wnd.GetItemAt(i)->IsVisible())
                s += std::string((LPCSTR)m_wnd.GetItemText(m_wnd.GetItemAt(i)));
        return s;
    }
    void Set(int y, int mo, int d, int h, int mi, int s) { m_wnd.SetDateTime(COleDateTime(y, mo, d, h, mi, s)); }
    void Select(int nKind) { m_wnd.SelectItem(m_wnd.FindItemByKind(nKind)); }
    void Key(UINT vk) { m_wnd.SendMessage(WM_KEYDOWN, vk, 1); }
    HWND m_hHost = NULL;
    CExtDateTimeWnd m_wnd;
};

TEST_F(DateTimeTest, EmptyUntilEnterThenTheLocaleRow)
{
    EXPECT_EQ(COleDateTime::null, m_wnd.GetStatus());
    EXPECT_TRUE(::IsRectEmpty(&m_wnd.FindItemByKind(W::__EIT_YEAR)->m_rcRect));
    Key(VK_RETURN);
    EXPECT_EQ(COleDateTime::valid, m_wnd.GetStatus());
    Set(2024, 3, 7, 14, 5, 9);
    EXPECT_EQ("3/7/2024 2:05:09 PM", Row());
    m_wnd.SetFormatValue(CExtDateTimeWnd::__EDTF_24H);
    EXPECT_EQ("3/7/2024 14:05:09", Row());
    m_wnd.SetMode(CExtDateTimeWnd::__EDTM_DATE);
    EXPECT_EQ("3/7/2024", Row());
    m_wnd.SetMode(CExtDateTimeWnd::__EDTM_TIME);
    EXPECT_EQ(" 14:05:09", Row());  // the space before the hour is a label, not a separator
}

TEST_F(DateTimeTest, SteppingWrapsAndCarries)
{
    struct { bool bCarry; int kind; UINT vk; int y, mo, d, h; const char* after; } cases[] = {
        {false, W::__EIT_MONTH, VK_UP, 2024, 1, 31, 10, "2024-02-29 10:00:00"},
        {false, W::__EIT_YEAR, VK_UP, 9999, 6, 1, 10, "0100-06-01 00:00:00"},
        {false, W::__EIT_YEAR, VK_DOWN, 101, 6, 1, 10, "0100-06-01 00:00:00"},
        {false, W::__EIT_HOUR, VK_UP, 2024, 5, 31, 23, "2024-05-31 00:00:00"},
        {true, W::__EIT_HOUR, VK_UP, 2024, 5, 31, 23, "2024-06-01 00:00:00"},
        {false, W::__EIT_DAY, VK_UP, 2024, 5, 31, 10, "2024-05-01 10:00:00"},
        {true, W::__EIT_MONTH, VK_UP, 2024, 12, 31, 10, "2025-01-31 10:00:00"},
        {false, W::__EIT_MONTH, VK_END, 2023, 2, 28, 10, "2023-12-28 10:00:00"},
        {false, W::__EIT_DESIGNATOR, VK_UP, 2024, 5, 1, 9, "2024-05-01 21:00:00"}};
    m_wnd.SetFormatValue(CExtDateTimeWnd::__EDTF_12H);
    for (const auto& c : cases) {
        m_wnd.SetCarryMode(c.bCarry);
        Set(c.y, c.mo, c.d, c.h, 0, 0);
        Select(c.kind);
        Key(c.vk);
        EXPECT_EQ(c.after, Ymdhms(m_wnd.GetDateTime())) << "kind " << c.kind << " key " << c.vk;
    }
}

TEST_F(DateTimeTest, TypingYearsHoursAndDesignators)
{
    m_wnd.SetFormatValue(CExtDateTimeWnd::__EDTF_12H);
    Set(2011, 6, 15, 14, 0, 0);
    EXPECT_EQ(2, m_wnd.FindItemByKind(W::__EIT_HOUR)->m_nValue);
    Select(W::__EIT_YEAR);
    Key('2');
    Key('0');
    EXPECT_EQ(20, m_wnd.FindItemByKind(W::__EIT_YEAR)->m_nValue);
    EXPECT_EQ(2011, m_wnd.GetDateTime().GetYear());
    Select(W::__EIT_MONTH);
    EXPECT_EQ(2020, m_wnd.GetDateTime().GetYear());
    struct { const char* digits; int year; } years[] = {{"75", 1975}, {"29", 2029}};
    for (const auto& c : years) {
        Select(W::__EIT_YEAR);
        for (const char* p = c.digits; *p; ++p)
            Key(*p);
        Select(W::__EIT_DAY);
        EXPECT_EQ(c.year, m_wnd.GetDateTime().GetYear()) << c.digits;
    }
    Select(W::__EIT_HOUR);
    Key('5');
    EXPECT_EQ(17, m_wnd.GetDateTime().GetHour());
    struct { int h, mi; UINT key; int hAfter; } keys[] = {{14, 0, 'A', 2}, {12, 30, 'A', 0}, {9, 0, 'A', 9}, {9, 0, 'P', 21}};
    for (const auto& k : keys) {
        Set(2011, 6, 15, k.h, k.mi, 0);
        Key(k.key);
        EXPECT_EQ(k.hAfter, m_wnd.GetDateTime().GetHour()) << k.h << " key " << (char)k.key;
    }
    m_wnd.SetFormatValue(CExtDateTimeWnd::__EDTF_24H);
    Key('A');
    EXPECT_EQ(21, m_wnd.GetDateTime().GetHour());
}

TEST_F(DateTimeTest, PasteClampsAndAPickedDateKeepsTheTime)
{
    struct { const char* text; int kind; const char* after; } cases[] = {
        {"13", W::__EIT_MONTH, "2024-12-15 08:30:00"}, {"0", W::__EIT_DAY, "2024-05-01 08:30:00"},
        {"99999999999", W::__EIT_YEAR, "9999-05-15 00:00:00"}};
    for (const auto& c : cases) {
        Set(2024, 5, 15, 8, 30, 0);
        ASSERT_TRUE(::OpenClipboard(m_hHost));
        ::EmptyClipboard();
        HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, strlen(c.text) + 1);
        strcpy((char*)::GlobalLock(h), c.text);
        ::GlobalUnlock(h);
        ::SetClipboardData(CF_TEXT, h);
        ::CloseClipboard();
        Select(c.kind);
        m_wnd.PasteDateTime();
        EXPECT_EQ(c.after, Ymdhms(m_wnd.GetDateTime())) << c.text;
    }
    Set(2024, 5, 15, 8, 30, 0);
    CExtDatePickerWnd picker;
    picker.SelectionSet(COleDateTime(2020, 2, 29, 0, 0, 0), COleDateTime(2020, 2, 29, 0, 0, 0), false, false);
    CExtDatePickerWnd::SELECTIONNOTIFICATION sn(picker, true, true);
    m_wnd.SendMessage(CExtDatePickerWnd::g_nMsgSelectionNotification, (WPARAM)&sn, 0);
    EXPECT_EQ("2020-02-29 08:30:00", Ymdhms(m_wnd.GetDateTime()));
    EXPECT_EQ(29, CExtDateTimeWnd::DaysInMonth(2020, 2));
    EXPECT_EQ(28, CExtDateTimeWnd::DaysInMonth(100, 2));
}

}  // namespace
