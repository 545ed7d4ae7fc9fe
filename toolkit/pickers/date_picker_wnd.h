// The month calendar: one or more whole months in a grid, each with a caption, a row of
// weekday letters and six weeks of days, optionally over a strip with "Today" and
// "None" buttons. Every change of the selection is sent to the owner with the
// registered message CExtDatePickerWnd::g_nMsgSelectionNotification. Calendar
// arithmetic lives in CExtMonthGrid; measuring and painting in date_picker_paint.cpp.
#pragma once

#include "framework/framework.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/pickers/month_grid.h"
#include "toolkit/theme/paint_manager.h"

class CExtDatePickerWnd : public CWnd, public CExtMouseCaptureSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtDatePickerWnd)

public:
    enum e_style_t {
        __EDPWS_BORDER = 0x00001,
        __EDPWS_BORDER_FRAME = 0x00002,
        __EDPWS_BUTTON_TODAY = 0x00004,
        __EDPWS_BUTTON_NONE = 0x00008,
        __EDPWS_BUTTON_SEPARATOR = 0x00010,
        __EDPWS_BOLD_CAPTION = 0x00020,
        __EDPWS_BOLD_HEADER_POPUP = 0x00040,
        __EDPWS_BOLD_WEEK_DAYS = 0x00080,
        __EDPWS_BOLD_DAY_CELLS = 0x00100,
        __EDPWS_SHOW_NON_MONTH_DAYS = 0x00200,
        __EDPWS_HIDE_INNER_NON_MONTH_DAYS = 0x00400,
        __EDPWS_SHOW_TODAY_HIGHLIGHT = 0x00800,
        __EDPWS_SHOW_MONTH_LIST_SHADOW = 0x01000,
        __EDPWS_MULTIPLE_SELECTION = 0x02000,
        __EDPWS_AUTO_DIMENSION_MODE = 0x04000,
        __EDPWS_NO_HEADER_BACKGROUND = 0x08000,
        __EDPWS_CENTER_HORIZONTALLY = 0x10000,
        __EDPWS_CENTER_VERTICALLY = 0x20000,
        __EDPWS_DEFAULT = 0x1E17,
        __EDPWS_BOLD_ANY = 0x1E0,
        __EDPWS_METRICS_STYLES = 0x5E1,
    };
    enum e_hit_t {
        __EDPWH_NOWHERE = 0,
        __EDPWH_BTN_NONE = 1,
        __EDPWH_BTN_TODAY = 2,
        __EDPWH_INNER_AREA = 3,
        __EDPWH_ARROW_PREV = 4,
        __EDPWH_ARROW_NEXT = 5,
        __EDPWH_MONTH_CAPTION = 6,
        __EDPWH_WEEK_DAYS = 7,
        __EDPWH_DAYS_AREA = 8,
    };
    enum e_tracked_t {
        __TRACK_NOTHING = 0,
        __TRACK_ARROW_PREV = 1,
        __TRACK_ARROW_NEXT = 2,
        __TRACK_BTN_NONE = 3,
        __TRACK_BTN_TODAY = 4,
        __TRACK_DAYS = 5,
    };

    class MONTH_INFO : public CObject
    {
    public:
        class DATE_INFO : public CObject
        {
        public:
            DATE_INFO();
            void SetDatePicker(CExtDatePickerWnd* pPicker, MONTH_INFO* pMonth);
            CRect GetRect() const { return m_rcCell; }
            void SetRect(const RECT& rc) { m_rcCell = rc; }
            void SetDate(const COleDateTime& dt) { m_dt = dt; }
            COleDateTime GetDate() const { return m_dt; }
            void Paint(CDC& dc) const;

            CRect m_rcCell;
            COleDateTime m_dt;
            CExtDatePickerWnd* m_pPicker;
            MONTH_INFO* m_pMonth;
        };

        MONTH_INFO(int nRow, int nCol, int nMonth, int nYear, const RECT& rcMonth,
                   CExtDatePickerWnd* pPicker);
        int GetMonth() const { return m_nMonth; }
        int GetYear() const { return m_nYear; }
        CRect GetRect() const { return m_rcMonth; }
        CRect GetHeaderRect() const { return m_rcCaption; }
        COleDateTime GetFirstDate() const;
        void RecalcLayout();
        int HitTest(const POINT& pt, COleDateTime* pDate = NULL) const;
        void Paint(CDC& dc) const;
        const DATE_INFO& GetCell(int i) const { return m_cells[i]; }

        DATE_INFO m_cells[42];
        int m_nMonth, m_nYear;
        CRect m_rcPrevArrow, m_rcNextArrow, m_rcCaptionText, m_rcCaption, m_rcCaptionInner,
            m_rcDays, m_rcWeekdayHeader;
        CExtDatePickerWnd* m_pPicker;
        int m_nRow, m_nCol;
        CRect m_rcMonth;
    };

    struct SELECTIONNOTIFICATION
    {
        COleDateTime m_dtBegin;
        COleDateTime m_dtEnd;
        HWND m_hWndDatePicker;
        LPARAM m_lParamCookie;
        bool m_bFinalSelectionChanging : 1;
        bool m_bAllowFinalParentCancelMode : 1;
        COleDateTime* m_pExternalSelectionInfo;

        SELECTIONNOTIFICATION(CExtDatePickerWnd& wndPicker, bool bFinal, bool bClose);
        void Notify(HWND hWndTarget) const;
    };

    static const UINT g_nMsgSelectionNotification;

    CExtDatePickerWnd();
    virtual ~CExtDatePickerWnd();

    virtual bool Create(CWnd* pParent, const RECT& rc, UINT nID, int nMinCols = 1,
                        int nMinRows = 1, int nMaxCols = 1, int nMaxRows = 1,
                        DWORD dwWindowStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                        DWORD dwDatePickerStyle = __EDPWS_DEFAULT, CCreateContext* pContext = NULL);
    virtual DWORD GetDatePickerStyle() const;
    virtual DWORD ModifyStyle(DWORD dwRemove, DWORD dwAdd = 0, bool bRedraw = true);
    virtual void RecalcLayout(bool bLayout, bool bMonths, bool bRedraw);
    virtual bool IsDateSelected(const COleDateTime& dt) const;
    virtual bool EnsureVisible(const COleDateTime& dt, bool bRedraw = true);
    virtual void SelectionSet(const COleDateTime& dtBegin, const COleDateTime& dtEnd,
                              bool bNormalize = false, bool bRedraw = true);
    virtual void SelectionGet(COleDateTime& dtBegin, COleDateTime& dtEnd) const;
    virtual void GetDisplayedRange(COleDateTime& dtFirst, COleDateTime& dtLast) const;
    virtual void SetCurrentDate(const COleDateTime& dt, bool bRedraw = true);
    virtual COleDateTime GetCurrentDate() const;
    virtual void SetDimension(int nMinCols, int nMinRows, int nMaxCols = 0, int nMaxRows = 0,
                              bool bRedraw = true);
    virtual void GetDimension(CSize* pMin, CSize* pMax = NULL, CSize* pCurrent = NULL) const;
    virtual void GetMonthName(CString& strOut, int nMonth, bool bMakeUpper = false) const;
    virtual int GetFirstDayOfWeek() const;
    virtual void GetWeekdayName(CString& strOut, int nDay, bool bMakeUpper = false) const;
    virtual COleDateTime GetTodayDate() const;
    virtual HWND GetNotificationTarget() const;
    virtual void PaintTodayFrame(CDC& dc, bool bShowAdjacent, bool bFrameToday, bool bOtherMonth,
                                 bool bToday, const RECT& rcCell, const COleDateTime& dt,
                                 bool bSelected);
    virtual void PaintDay(CDC& dc, bool bShowAdjacent, bool bFrameToday, bool bOtherMonth,
                          bool bToday, const RECT& rcCell, const COleDateTime& dt, bool bSelected);
    virtual void PaintSeparator(CDC& dc, const RECT& rc);
    virtual void GetButtonText(CString& strOut, int nButton) const;
    virtual void PaintButton(CDC& dc, const RECT& rc, int nButton, LPCTSTR sText, bool bFlat,
                             bool bDrawBorderOnHover, bool bPushed, bool bHover);
    virtual void PaintMonthCaptionBackground(CDC& dc, int nCol, int nRow, int nYear, int nMonth,
                                             const RECT& rcCaption, const RECT& rcCaptionInner,
                                             const RECT& rcCaptionText, const RECT& rcPrev,
                                             const RECT& rcNext);
    virtual void PaintMonthCaption(CDC& dc, int nCol, int nRow, int nYear, int nMonth,
                                   const RECT& rcCaption, const RECT& rcCaptionInner,
                                   const RECT& rcCaptionText, const RECT& rcPrev,
                                   const RECT& rcNext);
    virtual void PaintWeekdayHeader(int nYear, int nMonth, CDC& dc, const RECT& rc);
    virtual void PaintEntire(CDC& dc, const RECT& rcClient);
    virtual void PaintBackground(CDC& dc, const RECT& rcClient);
    virtual void PaintBorder(CDC& dc, const RECT& rcPicker);
    virtual CRect GetBorderMargins() const;
    virtual CFont* GetHeaderListFont();
    virtual CFont* GetDayFont();
    virtual CFont* GetCaptionFont();
    virtual CFont* GetWeekdayFont();
    virtual int GetDaysIndent() const { return m_nDaysIndent; }
    virtual CSize GetCellSize() const { return m_sizeCell; }
    virtual CSize GetButtonSize() const { return m_sizeButton; }
    virtual CSize GetArrowSize() const { return m_sizeArrow; }
    virtual int GetCaptionHeight() const { return m_nCaptionHeight; }
    virtual int GetWeekdayHeaderHeight() const { return m_nWeekdayHeaderHeight; }
    virtual int GetButtonAreaHeight() const { return m_nButtonAreaHeight; }
    virtual CSize GetMonthSize() const { return m_sizeMonth; }
    virtual void OnQueryMetrics(CDC& dc, CSize& sizeMonth, CSize& sizeCell, CSize& sizeButton,
                                CSize& sizeArrow, int& nCaptionHeight, int& nButtonAreaHeight,
                                int& nWeekdayHeaderHeight, int& nDaysIndent);
    virtual CSize CalcSize(CSize sizeDimension);
    virtual void OnAutoScroll(int nMonths, bool bStartTimer);

    void SelectionClear(bool bRedraw = true);
    // The month header popup's choice for the pane at (row, column).
    void ApplyHeaderChoice(int nRow, int nCol, int nMonth, int nYear);
    int HitTest(CPoint pt, COleDateTime* pDate = NULL) const;

    // The month of the picker at index i (row-major), NULL outside.
    MONTH_INFO* GetMonthAt(int i) const;
    int GetMonthCount() const { return (int)m_arrMonths.GetSize(); }
    int GetTrackedPart() const { return m_nTrackedPart; }
    CRect GetPickerRect() const { return m_rcPicker; }
    CRect GetMonthsRect() const { return m_rcMonths; }
    CRect GetButtonNoneRect() const { return m_rcBtnNone; }
    CRect GetButtonTodayRect() const { return m_rcBtnToday; }

    // CExtPmBridge
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

    // Set by a hosting class only.
    LPARAM m_lParamCookie;
    HWND m_hWndNotificationReceiver;
    COleDateTime* m_pExternalSelectionInfo;
    bool m_bAutoDeleteWindow;

protected:
    enum {
        __STATE_CREATED = 0x01,
        __STATE_IN_CANCEL_MODE = 0x02,
        __STATE_IN_LAYOUT = 0x04,
        __STATE_HOVER_TODAY = 0x08,
        __STATE_HOVER_NONE = 0x10,
    };

    static bool RegisterDatePickerWndClass();
    void MeasureMetrics();
    void RecalcAreas();
    void RecalcMonths();
    void ClearMonths();
    bool IsInPopupMenu() const;
    bool OnMouseClick(CPoint pt, bool bDown, int nButton, UINT nFlags);
    void OnMouseMoveImpl(CPoint pt);
    void HandleKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void RunHeaderPopup(MONTH_INFO* pMonth);
    void SendNotification(bool bFinal, bool bClose);

    void PreSubclassWindow() override;
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

    int m_nTrackedPart;
    DWORD m_dwDatePickerStyle;
    CSize m_sizeMin, m_sizeCurrent, m_sizeMax;
    CRect m_rcPicker, m_rcMonths, m_rcBtnNone, m_rcBtnToday;
    CArray<MONTH_INFO*, MONTH_INFO*> m_arrMonths;
    COleDateTime m_dtCurrent;
    COleDateTime m_dtSelBegin, m_dtSelEnd;
    COleDateTime m_dtDisplayedFirst, m_dtDisplayedLast;
    BYTE m_nStateFlags;
    CSize m_sizeMonth, m_sizeCell, m_sizeButton, m_sizeArrow;
    int m_nCaptionHeight, m_nButtonAreaHeight, m_nWeekdayHeaderHeight, m_nDaysIndent;
};
