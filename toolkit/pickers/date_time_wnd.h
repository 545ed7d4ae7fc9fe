// The date-time field editor: the duration editor's row of fields holding a calendar
// date and a time of day (year, month, day, hour, minute, second, AM/PM) in the locale's
// order and formats, with a drop-down month calendar. Every change is asked of the owner
// first and reported after through "CExtDateTimeWnd::g_nMsgChangingNotification".
#pragma once

#include "toolkit/pickers/duration_wnd.h"

class CExtPopupInplaceDatePicker;

class CExtDateTimeWnd : public CExtDurationWnd
{
    DECLARE_DYNCREATE(CExtDateTimeWnd)

public:
    enum e_mode_t { __EDTM_ALL = 0, __EDTM_TIME = 1, __EDTM_DATE = 2 };
    enum e_hour_format_t { __EDTF_12H = 0, __EDTF_24H = 1, __EDTF_LOCALE = 2 };

    struct CHANGING_NOTIFICATION
    {
        bool m_bChangedFinally;
        LPARAM m_lParamCookie;
        COleDateTime m_dtDateTimeOld;
        COleDateTime m_dtDateTimeNew;
    };

    static const UINT g_nMsgChangingNotification;

    CExtDateTimeWnd();

    bool IsDropDownButtonShown() const override;
    ITEM_INFO* ItemAddYear(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL) override;
    ITEM_INFO* ItemAddMonth(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL) override;
    ITEM_INFO* ItemAddDesignator(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL) override;
    void StepSelectedItem(int nDelta) override;
    void SetStatus(int nStatus) override;
    int GetStatus() const override;
    bool Initialize() override;
    void PrepareItems() override;
    void BuildDefaultItems() override;
    CString GetItemText(const ITEM_INFO* pItem) const override;
    void OnItemSelected() override;
    void OnTypingFinished() override;
    void TypeDigit(int nDigit) override;
    bool DropDown() override;

    virtual bool UpdateItemsFromValue(bool bRedraw);
    virtual bool Is24HourFormat() const;
    virtual bool OnDateTimeChanging(const COleDateTime& dtOld, const COleDateTime& dtNew);
    virtual void OnDateTimeChanged(const COleDateTime& dtOld, const COleDateTime& dtNew);

    bool SetDateTime(const COleDateTime& dt, bool bNotify = false, bool bRedraw = true);
    void SetDateTimeParts(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond,
                          bool bNotify = false, bool bRedraw = true);
    COleDateTime GetDateTime() const { return m_dt; }
    void SetMode(int nMode);
    int GetMode() const { return m_nMode; }
    void SetFormatValue(int nFormat);
    int GetFormatValue() const { return m_nHourFormat; }
    // Days of a month in the proleptic Gregorian calendar; 0 outside 100..9999 or 1..12.
    static int DaysInMonth(int nYear, int nMonth);
    void PasteDateTime();

protected:
    struct PARTS { int y, mo, d, h, mi, s; };
    PARTS GetParts() const;
    void SetParts(const PARTS& p) { SetDateTimeParts(p.y, p.mo, p.d, p.h, p.mi, p.s, false, true); }
    static void LowerDay(PARTS& p);
    void SetFieldToLimit(bool bMaximum);
    void OnDesignatorKey(bool bAm);
    CString GetCopyText(const ITEM_INFO* pItem) const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int m_nMode;
    int m_nHourFormat;
    COleDateTime m_dt;
    // The receiver's answer to the last after-change notification.
    LRESULT m_lResultChanged;
};
