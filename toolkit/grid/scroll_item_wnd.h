// CExtScrollItemWnd: a scroll window that scrolls each axis by pixels, by whole items or
// over an unbounded item range, and paints its content as a walk over the visible rows
// and columns. The grid windows stand on it.
#pragma once
#include "toolkit/grid/scroll_wnd.h"

class CExtScrollItemWnd : public CExtScrollWnd
{
    DECLARE_DYNCREATE(CExtScrollItemWnd)
public:
    CExtScrollItemWnd();
    virtual ~CExtScrollItemWnd();

    enum e_scroll_type_t
    {
        __ESIS_ST_NONE = 0,
        __ESIS_ST_PIXEL = 1,
        __ESIS_ST_ITEM = 2,
        __ESIS_ST_UNBOUNDED = 3,
    };
    enum : DWORD
    {
        __ESIS_NO_THUMB_TRACK_H = 0x10,
        __ESIS_NO_THUMB_TRACK_V = 0x20,
        __ESIS_DISABLE_AUTOHIDE_H = 0x40,
        __ESIS_DISABLE_AUTOHIDE_V = 0x80,
        __ESIS_PAINT_BY_COLUMNS = 0x100,
        __ESIS_EX_PM_COLORS_FONTS = 0x80000000,
    };

    struct SCROLL_POSITION_INFO
    {
        int m_nPosH, m_nLimitH, m_nPageH;
        int m_nPosV, m_nLimitV, m_nPageV;
        bool m_bBeginH : 1;
        bool m_bEndH : 1;
        bool m_bBeginV : 1;
        bool m_bEndV : 1;

        SCROLL_POSITION_INFO() { Clear(); }
        void Set(int nPosH, int nLimitH, int nPageH, int nPosV, int nLimitV, int nPageV,
                 bool bBeginH, bool bEndH, bool bBeginV, bool bEndV);
        void Clear() { ClearH(), ClearV(); }
        void ClearH();
        void ClearV();
        void AssignH(const SCROLL_POSITION_INFO& other);
        void AssignV(const SCROLL_POSITION_INFO& other);
        // The six numbers only.
        bool IsEqualNumbers(const SCROLL_POSITION_INFO& other) const;
    };

    static const char* const g_sWndClassName;
    static bool RegisterScrollItemWndClass();

    virtual bool Create(CWnd* pParentWnd, const RECT& rcWnd = CRect(0, 0, 0, 0), UINT nDlgCtrlID = UINT(-1),
                        DWORD dwScrollItemStyle = 0,
                        DWORD dwWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        CCreateContext* pContext = NULL);

    int GetScrollTypeH() const { return (int)(m_dwScrollItemStyle & 3); }
    int GetScrollTypeV() const { return (int)((m_dwScrollItemStyle >> 2) & 3); }
    int SetScrollTypeH(int nType, bool bUpdate = true);
    int SetScrollTypeV(int nType, bool bUpdate = true);

    // CExtScrollWnd
    void GetTotalSize(CSize& size) override;
    void GetPageSize(CSize& size, int nDirection) override;
    void GetLineSize(CSize& size, int nDirection) override;
    bool IsScrollBarAutoHide(bool bHorz) override;
    bool IsThumbTrackEnabled(bool bHorz) override;
    void GetDeviceScrollPosition(POINT& pt) override;
    void GetScrollBarState(CSize sizeClient, CSize& needSb, CSize& sizeRange, POINT& ptMove,
                           bool bInsideClient) override;
    bool OnScroll(UINT nScrollCode, UINT nPos, bool bDoScroll = true) override;
    bool OnScrollBy(CSize sizeScroll, bool bDoScroll = true) override;
    void UpdateScrollBars() override;
    void OnPaintContent(CDC& dc) override;

    virtual DWORD GetScrollItemStyle() const;
    virtual DWORD ModifyScrollItemStyle(DWORD dwAdd, DWORD dwRemove = 0, bool bUpdate = true);
    virtual DWORD GetScrollItemStyleEx() const;
    virtual DWORD ModifyScrollItemStyleEx(DWORD dwAdd, DWORD dwRemove = 0, bool bUpdate = true);
    virtual bool OnInitializeWindow();
    virtual bool SyncScrollPosition(int x, int y, bool bApply);
    virtual void GetItemSize(CSize& size);
    virtual void GetPageSizeInItems(CSize& size, int nDirection);
    virtual bool IsItemRangeLimitedAtStart(bool bHorz);
    virtual bool IsItemRangeLimitedAtEnd(bool bHorz);
    virtual RECT& GetVisibleRange(RECT& rc);
    virtual int QueryColumnExtent(int nColumn, int* pBefore = NULL, int* pAfter = NULL);
    virtual int QueryRowExtent(int nRow, int* pBefore = NULL, int* pAfter = NULL);
    virtual bool OnWalkColumnBegin(int nColumn, LPARAM lParam);
    virtual bool OnWalkRowBegin(int nRow, LPARAM lParam);
    virtual bool OnWalkItem(CDC* pDC, DWORD dwFlags, int nVisibleColumn, int nVisibleRow,
                            int nColumn, int nRow, const RECT& rcItem, const RECT& rcItemInner,
                            const RECT& rcRange, bool& bStopAll, bool& bStop, LPARAM lParam1,
                            LPARAM lParam2);
    virtual bool WalkVisibleColumns(CDC* pDC, DWORD dwFlags, const RECT& rcRow,
                                    const RECT& rcRowInner, int nVisibleRow, int nRow,
                                    const RECT& rcRange, bool& bStop, LPARAM lParam1,
                                    LPARAM lParam2);
    virtual bool WalkVisibleRows(CDC* pDC, DWORD dwFlags, const RECT& rcColumn,
                                 const RECT& rcColumnInner, int nVisibleColumn, int nColumn,
                                 const RECT& rcRange, bool& bStop, LPARAM lParam1,
                                 LPARAM lParam2);
    virtual void OnPaintItemsBackground(CDC& dc, bool bFocused);
    virtual void OnPaintItems(CDC& dc, bool bFocused);
    virtual bool IsFocused();
    virtual void OnDrawFocusRect(CDC& dc, const RECT& rc);
    virtual COLORREF GetColor(int nColorIndex);
    virtual CFont* GetFont(int nFontIndex);
    virtual CFont* GetPaintFont();
    virtual bool OnVisibleRangeChanging(const SCROLL_POSITION_INFO& next,
                                        const SCROLL_POSITION_INFO& last);
    virtual bool NotifyVisibleRange(int nPosH, int nPosOldH, int nLimitH, int nPageH, int nPosV,
                                    int nPosOldV, int nLimitV, int nPageV, bool bBeginH,
                                    bool bEndH, bool bBeginV, bool bEndV);

    bool m_bTakeStyleOnSubclass : 1;
    bool m_bSelfCreated : 1;
    DWORD m_dwScrollItemStyle;
    DWORD m_dwScrollItemStyleEx;
    SCROLL_POSITION_INFO m_rangeLast;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;

    // The state OnScrollBy and SyncScrollPosition report for new positions.
    void ReportRange(int x, int xOld, int y, int yOld, bool* pbAccepted);
    void UpdateScrollBarsOfAxis(bool bHorz, const CSize& needSb, const CSize& sizeClient,
                                const CSize& sizeRange, bool bBothVisibleBefore);
    void WalkRows(CDC& dc, const RECT& rcContent, const RECT& rcRange);
    void WalkColumns(CDC& dc, const RECT& rcContent, const RECT& rcRange);
};
