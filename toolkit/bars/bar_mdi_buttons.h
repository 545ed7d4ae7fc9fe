// The menu bar's MDI buttons: the document icon of a maximized MDI child at the start of
// the menu bar, and the group of its minimize, restore and close buttons at the end.
// The toolbar knows them by class: it skips them when it navigates, hovers and lists
// buttons, and keeps the document button apart when it lays out right to left.
// Neither is a command of its own: both carry the one id the menu bar allocates for
// them, and both are never disabled.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_BAR_MDI_BUTTONS_H_INCLUDED
#define TOOLKIT_BARS_BAR_MDI_BUTTONS_H_INCLUDED

#include "toolkit/core/cmd_icon.h"

class CExtBarMdiDocButton : public CExtBarButton
{
    DECLARE_DYNCREATE(CExtBarMdiDocButton)
public:
    // Flag bits (m_nMdiFlags).
    enum
    {
        // A double click closes the child, and the system menu opens as a popup of its
        // own rather than joined to the button.
        __EMDF_DBLCLK_CLOSES = 0x01,
    };

    explicit CExtBarMdiDocButton(CExtToolControlBar* pBar = NULL, UINT nCmdID = 0, UINT nStyle = 0);
    virtual ~CExtBarMdiDocButton();

    // ---- shared by both MDI buttons ------------------------------------------------------
    DWORD GetStyle() const override;
    void SetStyle(DWORD dwStyle) override;
    void ModifyStyle(DWORD dwAdd, DWORD dwRemove = 0) override;
    CWnd* GetCmdTargetWnd() const override;
    bool CanStartCustomizeDrag() override;
    CExtCustomizeCmdTreeNode* GetCmdNode(bool bInitial = false) override;
    void SetInitialCmdNode(CExtCustomizeCmdTreeNode* pNode) override;
    void SetBasicCmdNode(CExtCustomizeCmdTreeNode* pNode) override;

    // ---- the document button -------------------------------------------------------------
    CSize MeasureButton(CDC& dc, CSize sizeDefault, bool bHorz) override;
    CExtCmdIcon* GetIconPtr() const override;
    bool PutToPopupMenu(CExtPopupMenuWnd* pPopup) override;
    UINT OnTrackPopup(CPoint point, bool bSelectAny, bool bNoAnimation) override;
    bool OnDblClick(CPoint point) override;

    // Stores the child the button stands for; a change empties the icon so that it is
    // loaded again. Returns the child stored before.
    HWND SetMdiChild(HWND hWndMdiChild);
    // The stored child when it is a window, else the active child of the bar's MDI
    // client; NULL when there is none.
    HWND FindMdiChild() const;

    BYTE m_nMdiFlags;

protected:
    void LoadChildIcon(HWND hWndChild) const;
    bool IsCustomizeMode() const;

    mutable CExtCmdIcon m_icon;
    mutable HWND m_hWndMdiChild;
};

class CExtBarMdiRightButton : public CExtBarMdiDocButton
{
    DECLARE_DYNCREATE(CExtBarMdiRightButton)
public:
    explicit CExtBarMdiRightButton(CExtToolControlBar* pBar = NULL, UINT nCmdID = 0, UINT nStyle = 0);
    virtual ~CExtBarMdiRightButton();

    CSize MeasureButton(CDC& dc, CSize sizeDefault, bool bHorz) override;
    bool PutToPopupMenu(CExtPopupMenuWnd* pPopup) override;
    CExtCmdIcon* GetIconPtr() const override;
    void Paint(CDC& dc, bool bHorz) override;
    UINT OnTrackPopup(CPoint point, bool bSelectAny, bool bNoAnimation) override;
    void OnClick(CPoint point, bool bDown) override;
    bool OnDblClick(CPoint point) override;
    int OnToolHitTest(CPoint point, TOOLINFO* pTI) override;
    int OnHelpHitTest(CPoint point) override;

protected:
    // The group's record with the parts placed inside the button's rectangle; false
    // when the record is invalid.
    bool GetPlacedInfo(MDI_RIGHT_BUTTONS_INFO& info, bool bHorz);
    bool IsBarHorz() const;
};

#endif
