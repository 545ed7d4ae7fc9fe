// The duration field editor: one row of fields (days, hours, minutes, seconds) with
// literal text between them, editing a whole number of seconds. A field is selected by
// mouse or keys, typed into, stepped with Up/Down, the wheel or a spin button, and copied
// or pasted through the clipboard. Every change is asked of the owner first and reported
// after through "CExtDurationWnd::g_nMsgChangingNotification". The date-time editor
// stands on the same machinery and replaces the value and the field rules.
#pragma once

#include "framework/framework.h"
#include "toolkit/dialogs/button.h"
#include "toolkit/dialogs/spin_wnd.h"
#include "toolkit/theme/paint_manager.h"

class CExtDurationWnd : public CWnd, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtDurationWnd)

public:
    enum e_item_kind_t {
        __EIT_LITERAL = 0,
        __EIT_YEAR = 1,
        __EIT_MONTH = 2,
        __EIT_DAY = 3,
        __EIT_HOUR = 4,
        __EIT_MINUTE = 5,
        __EIT_SECOND = 6,
        __EIT_DESIGNATOR = 7,
    };
    enum { __SPIN_ID = 291, __DROPDOWN_ID = 292 };
    enum { __MAX_TOTAL = 2147483647 };

    class ITEM_INFO
    {
    public:
        enum { __EIF_VISIBLE = 0x01, __EIF_PREFIX = 0x02 };
        ITEM_INFO(int nKind, LPCTSTR sText = NULL, bool bPrefix = false);
        bool IsVisible() const { return (m_nFlags & __EIF_VISIBLE) != 0; }
        void SetVisible(bool bVisible)
        {
            m_nFlags = BYTE(bVisible ? (m_nFlags | __EIF_VISIBLE) : (m_nFlags & ~__EIF_VISIBLE));
        }
        bool IsPrefix() const { return (m_nFlags & __EIF_PREFIX) != 0; }
        bool IsField() const { return m_nKind != __EIT_LITERAL; }

        int m_nKind;
        CString m_sText;
        int m_nValue;
        RECT m_rcRect;
        BYTE m_nFlags;
        CArray<ITEM_INFO*, ITEM_INFO*> m_arrDependants;
    };

    struct CHANGING_NOTIFICATION
    {
        bool m_bChangedFinally;
        LPARAM m_lParamCookie;
        int m_nOldValue;
        int m_nNewValue;
    };

    class CExtSpinButton : public CExtSpinWnd
    {
    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };
    class CExtDropDownButton : public CExtButton
    {
    public:
        void RenderButton(CDC& dc, bool bTransparentBackground, bool bRespectRtl) override;

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    static const UINT g_nMsgChangingNotification;

    CExtDurationWnd();
    virtual ~CExtDurationWnd();

    virtual bool Create(CWnd* pParent, const RECT& rc, UINT nID = UINT(-1),
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                        CCreateContext* pContext = NULL);
    virtual bool IsSpinButtonShown() const;
    virtual bool IsDropDownButtonShown() const;
    virtual ITEM_INFO* ItemAddYear(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL);
    virtual ITEM_INFO* ItemAddMonth(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL);
    virtual ITEM_INFO* ItemAddDay(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL);
    virtual ITEM_INFO* ItemAddHour(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL);
    virtual ITEM_INFO* ItemAddMinute(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL);
    virtual ITEM_INFO* ItemAddSecond(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL);
    virtual ITEM_INFO* ItemAddDesignator(LPCTSTR sPrefix = NULL, LPCTSTR sSuffix = NULL);
    virtual void StepSelectedItem(int nDelta);
    virtual void SetStatus(int nStatus);
    virtual int GetStatus() const;
    virtual bool Initialize();
    virtual void RecalcLayout();
    virtual void PrepareItems();
    virtual void BuildDefaultItems();
    virtual void UpdateSpinButton();
    virtual void UpdateDropDownButton();
    virtual void UpdateLiteralVisibility(ITEM_INFO* pItem);
    virtual void OnPaintItems(CDC& dc, const RECT& rc);
    virtual void OnPaintBackground(CDC& dc, const RECT& rc);
    virtual void OnPaintBorder(CDC& dc, const RECT& rc);
    virtual CSize GetBorderSize() const;
    virtual int GetSpinButtonWidth() const;
    virtual int GetDropDownButtonWidth() const;
    virtual RECT GetItemMargins(const ITEM_INFO* pItem) const;
    virtual CString GetItemText(const ITEM_INFO* pItem) const;
    virtual CString GetTimeSeparator() const;
    virtual CString GetDateSeparator() const;
    virtual CString GetTimeLeadingZero() const;
    virtual CString GetDayLeadingZero() const;
    virtual CString GetMonthLeadingZero() const;
    virtual CString GetCenturyFormat() const;
    virtual CString GetAmDesignator() const;
    virtual CString GetPmDesignator() const;
    virtual CString GetDesignatorPosition() const;
    virtual COLORREF GetItemBkColor(const ITEM_INFO* pItem);
    virtual COLORREF GetItemTextColor(const ITEM_INFO* pItem);
    virtual bool CreateSpinButton();
    virtual bool CreateDropDownButton();
    virtual HFONT OnQueryFont();
    virtual void SelectItem(ITEM_INFO* pItem);
    virtual void OnItemSelected();
    virtual void OnTypingFinished();
    virtual CSize CalcSize();
    virtual bool OnValueChanging(int nOld, int nNew);
    virtual void OnValueChanged(int nOld, int nNew);
    virtual void TypeDigit(int nDigit);
    virtual bool DropDown();
    virtual HWND GetNotifyReceiver() const;

    void SetTotalSeconds(int nSeconds);
    int GetTotalSeconds() const { return m_nTotalSeconds; }
    ITEM_INFO* GetSelectedItem() const { return m_pSelectedItem; }
    // The current item, as the grid's editors ask for it.
    ITEM_INFO* GetItemArrayData() const { return m_pSelectedItem; }
    void SetBkColor(COLORREF clr);
    COLORREF GetBkColor() const { return m_clrBackground; }
    void SetTextColor(COLORREF clr);
    COLORREF GetTextColor() const { return m_clrText; }
    void SetAlignment(int nAlignment);
    int GetAlignment() const { return m_nAlignment; }
    void SetLayoutValue(int nAlignment) { SetAlignment(nAlignment); }
    void ItemShow(int nKind, bool bShow, bool bRedraw = true);
    ITEM_INFO* FindItemByKind(int nKind) const;
    int ItemIndexOf(const ITEM_INFO* pItem) const;
    int GetItemCount() const { return (int)m_arrItems.GetSize(); }
    ITEM_INFO* GetItemAt(int i) const { return (i >= 0 && i < GetItemCount()) ? m_arrItems[i] : NULL; }
    ITEM_INFO* HitTestItem(POINT pt) const;
    bool SelectNextItem(const ITEM_INFO* pFrom);
    bool SelectPrevItem(const ITEM_INFO* pFrom);
    bool SelectFirstItem();
    bool SelectLastItem();
    bool IsFirstVisibleItem(const ITEM_INFO* pItem) const;
    bool IsLastVisibleItem(const ITEM_INFO* pItem) const;
    void UpdateDurationWnd(bool bRecalc, bool bRedraw);
    void SetCarryMode(bool bCarry) { m_nFlags = BYTE(bCarry ? (m_nFlags | 0x20) : (m_nFlags & ~0x20)); }
    bool IsCarryMode() const { return (m_nFlags & 0x20) != 0; }
    // Copy and paste of the selected field's text.
    void CopySelectedItem();
    void PasteSelectedItem();

    // CExtPmBridge
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    LPARAM m_lParamCookie;
    HWND m_hWndNotificationReceiver;
    bool m_bAutoDeleteWindow;

protected:
    enum {
        __EDWF_CREATED = 0x01,
        __EDWF_INITIALIZED = 0x02,
        __EDWF_IN_LAYOUT = 0x04,
        __EDWF_SPIN = 0x08,
        __EDWF_DROPDOWN = 0x10,
        __EDWF_CARRY = 0x20,
    };

    static bool RegisterDurationWndClass();
    ITEM_INFO* AddField(int nKind, LPCTSTR sPrefix, LPCTSTR sSuffix);
    CString ReadLocale(LCTYPE lcType) const;
    // The owning field of a literal, NULL when none holds it.
    ITEM_INFO* FindOwner(const ITEM_INFO* pLiteral) const;
    // Seconds in one unit of a field: 86400, 3600, 60, 1 (0 for others).
    virtual long long GetItemUnit(const ITEM_INFO* pItem) const;
    // The largest value a field takes without carrying; -1 for no limit.
    virtual int GetItemLimit(const ITEM_INFO* pItem) const;
    // The text the clipboard receives for a field.
    virtual CString GetCopyText(const ITEM_INFO* pItem) const { return GetItemText(pItem); }
    void OnKeyDownImpl(UINT nChar, UINT nRepCnt, UINT nFlags);
    void RelaySystemChange(UINT message, WPARAM wParam, LPARAM lParam);

    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    BYTE m_nFlags;
    RECT m_rcSpinButton;
    CExtSpinButton m_wndSpinButton;
    RECT m_rcDropDownButton;
    CExtDropDownButton m_wndDropDownButton;
    ITEM_INFO* m_pSelectedItem;
    ITEM_INFO* m_pTypingItem;
    int m_nTotalSeconds;
    CArray<ITEM_INFO*, ITEM_INFO*> m_arrItems;
    COLORREF m_clrBackground;
    COLORREF m_clrText;
    int m_nStatus;
    int m_nAlignment;
};
