// The undo/redo popup list: a multiple-selection list of recorded actions whose selection
// always runs from the first action to the one under the pointer, with a caption under
// the list counting the selected actions.
#pragma once

#include "toolkit/pickers/popup_control_menu.h"

class CExtPopupUndoRedoListBox : public CExtPopupInplaceListBox
{
    DECLARE_DYNAMIC(CExtPopupUndoRedoListBox)

public:
    CExtPopupUndoRedoListBox();

    // Selects items 0..n and nothing else.
    void SelectUpTo(int n);
    void OnListBoxSelChange() override;

    BYTE m_nTimerFlags;  // bit 0 scroll-up timer, bit 1 scroll-down timer
    int m_nScrollUpPeriod;
    int m_nScrollDownPeriod;
    BYTE m_nButtonFlags;  // bit 0 the left button went down in the list

protected:
    // The first item from the top whose bottom reaches the client bottom, at most the last.
    int LastVisibleItem() const;
    void StopTimers();
    void TrackScrollTimers(CPoint pt);
    void OnScrolled(int nCode, int nTopBefore);
    bool OnRetranslatedInput(CExtPopupControlInputRecord& data) override;
    void OnUndoRedoKey(UINT nChar);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CExtPopupUndoRedoMenuWnd : public CExtPopupListBoxMenuWnd
{
    DECLARE_DYNCREATE(CExtPopupUndoRedoMenuWnd)

public:
    // Called with the menu, the cookie, the selected count and the text to fill; true
    // when it filled the text.
    typedef bool (*pCbFormatCaption)(CString& strCaption, CExtPopupUndoRedoMenuWnd* pMenu, LPVOID pCookie);

    explicit CExtPopupUndoRedoMenuWnd(DWORD dwListBoxStyles = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_HASSTRINGS |
                                                              LBS_OWNERDRAWVARIABLE | LBS_MULTIPLESEL,
                                      LPARAM lParamCookie = 0);

    virtual int GetCaptionHeight() const { return 24; }
    void OnQueryChildControlRect(RECT* pRect) override;
    CSize& CalcMenuSize(CSize& sizeMenu) override;
    void RecalcServiceAreas() override;
    HWND OnCreateChildControl(const RECT& rcChildControl) override;
    void OnPaintMenu(CDC& dc, bool bFull) override;
    virtual void DrawCaption(CDC& dc, const RECT& rcCaption);
    void SetSelCount(int nCount);
    int GetSelCount() const { return m_nSelCount; }
    CString GetCaptionText();

    pCbFormatCaption m_pCbFormatCaption;
    LPVOID m_pFormatCaptionCookie;
    RECT m_rcCaption;
    int m_nSelCount;

protected:
    CExtPopupInplaceListBox* OnNewListBox() override;
};
