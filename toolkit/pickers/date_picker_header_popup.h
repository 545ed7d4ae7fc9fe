// The month list that opens over a date picker's month caption while the left button is
// held: seven consecutive months, the pressed one in the middle; holding the pointer
// above or below the list scrolls it, faster the farther away. The picker runs it in a
// modal loop of its own; the object deletes itself after its window is destroyed.
#pragma once

#include "framework/framework.h"
#include "toolkit/menus/popup_shadow.h"

class CExtDatePickerWnd;

class CExtDatePickerHeaderPopupWnd : public CWnd
{
    DECLARE_DYNAMIC(CExtDatePickerHeaderPopupWnd)

public:
    CExtDatePickerHeaderPopupWnd(CExtDatePickerWnd* pPicker, bool bShadow);

    void RecalcSize();
    void GetWindowSize(CSize& sizeOut, bool bWithoutShadow) const;
    void SetMonthYear(int nMonth, int nYear);
    bool GetSelectedMonthYear(int& nMonth, int& nYear) const;
    int HitTest(int x, int y) const;
    // The hover line (and the scrolling beyond the list) for the pointer at a point of the screen.
    void OnTrackMouse(CPoint ptScreen);
    int GetCentreMonth() const { return m_nCentreMonth; }
    int GetCentreYear() const { return m_nCentreYear; }
    int GetItemHeight() const { return m_nItemHeight; }
    int GetItemWidth() const { return m_nItemWidth; }

    // Scroll period for a pointer d pixels beyond the list.
    static int ScrollPeriod(int nDistance);
    // The month i lines below the top line (i = 0..6); false when out of the range.
    bool GetLineMonth(int nLine, int& nMonth, int& nYear) const;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    void PaintList(CDC& dc, const CRect& rcClient);

    int m_nWindowWidth, m_nWindowHeight;
    int m_nItemWidth, m_nItemHeight;
    int m_nCentreMonth, m_nCentreYear;
    int m_nHoverMonth, m_nHoverYear;
    int m_nItemCount;
    CExtDatePickerWnd* m_pPicker;
    CExtPopupShadow m_shadow;
    BYTE m_nFlags;
    int m_nPeriodUp, m_nPeriodDown;
};
