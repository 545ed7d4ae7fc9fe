// CExtBarContentExpandButton: the chevron at the far end of a toolbar. It lists the
// buttons the bar had to hide and, in a frame, the frame's bars; clicking it opens that
// list as a popup menu and never sends a command.
//
// The include comes before the guard, as for the other bar headers, so the button base
// is declared whichever header a file names first.
#include "toolkit/bars/control_bar.h"

#ifndef TOOLKIT_BARS_CHEVRON_BUTTON_H_INCLUDED
#define TOOLKIT_BARS_CHEVRON_BUTTON_H_INCLUDED

class CExtBarContentExpandButton : public CExtBarButton
{
    DECLARE_DYNCREATE(CExtBarContentExpandButton)
public:
    explicit CExtBarContentExpandButton(CExtToolControlBar* pBar = NULL);
    virtual ~CExtBarContentExpandButton();

    // The command id the chevron carries: no separator and no command.
    enum { __ID_CHEVRON = UINT(-66) };

    // The buttons that did not fit, in bar order; the toolbar owns them.
    CArray<CExtBarButton*, CExtBarButton*>& GetButtons() { return m_buttons; }
    const CArray<CExtBarButton*, CExtBarButton*>& GetButtons() const { return m_buttons; }
    bool IsLayoutFlag() const { return (m_nLayoutFlags & 1) != 0; }
    void SetLayoutFlag(bool bOn) { m_nLayoutFlags = BYTE(bOn ? (m_nLayoutFlags | 1) : (m_nLayoutFlags & ~1)); }

    CSize MeasureButton(CDC& dc, CSize sizeDefault, bool bHorz) override;
    bool PutToPopupMenu(CExtPopupMenuWnd* pPopup) override;
    void Paint(CDC& dc, bool bHorz) override;
    UINT OnTrackPopup(CPoint point, bool bSelectAny, bool bNoAnimation) override;
    void OnHover(CPoint point, bool bOn, bool& bSuspendTips) override;
    void OnClick(CPoint point, bool bDown) override;
    int OnToolHitTest(CPoint point, TOOLINFO* pTI) override;
    bool CanStartCustomizeDrag() override;
    CExtCustomizeCmdTreeNode* GetCmdNode(bool bInitial = false) override;
    void SetInitialCmdNode(CExtCustomizeCmdTreeNode* pNode) override;
    void SetBasicCmdNode(CExtCustomizeCmdTreeNode* pNode) override;
    UINT GetTrackPopupPlacement() const override;

protected:
    // The steps of the chevron menu: the hidden buttons, then the frame's bars.
    void AddHiddenButtons(CExtPopupMenuWnd* pPopup, UINT nFlags);
    void AddBarsSubMenu(CExtPopupMenuWnd* pPopup, CFrameWnd* pFrame);

    BYTE m_nLayoutFlags;
    CArray<CExtBarButton*, CExtBarButton*> m_buttons;
};

#endif
