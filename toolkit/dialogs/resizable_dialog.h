// The resizable dialog: CExtWA anchors child windows to the client area (a share of
// the client size in percent plus a fixed offset per edge) and keeps the dialog from
// being made smaller than it was first shown; CExtResizableDialog is the concrete
// dialog base of the toolkit and of every application dialog.
//
// The framework hosts no OLE controls, so anchored children never need their OLE
// extents updated.
#pragma once
#include "framework/framework.h"
#include "toolkit/dialogs/res_dlg.h"
#include "toolkit/dialogs/window_state.h"

extern const CSize AnchorTopLeft;
extern const CSize AnchorTopRight;
extern const CSize AnchorBottomLeft;
extern const CSize AnchorBottomRight;

template <class TBase>
class CExtWA : public TBase
{
public:
    // The anchor record of one child window.
    struct RDI_t
    {
        int m_nLtAnchorCx, m_nLtAnchorCy;  // percent of the client size moving the left and top edges
        int m_nLtOffsetX, m_nLtOffsetY;    // pixels
        int m_nRbAnchorCx, m_nRbAnchorCy;  // percent moving the right and bottom edges
        int m_nRbOffsetX, m_nRbOffsetY;    // pixels
    };
    enum
    {
        __EWA_TRACKING_ON = 0x01,
        __EWA_APPLY_MAX_TRACK = 0x02,
        __EWA_APPLY_MIN_TRACK = 0x04,
        __EWA_APPLY_MAXIMIZED = 0x08,
    };

    CExtWA() { InitWA(); }
    explicit CExtWA(UINT nIDTemplate, CWnd* pParentWnd = NULL) : TBase(nIDTemplate, pParentWnd) { InitWA(); }
    explicit CExtWA(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL) : TBase(lpszTemplateName, pParentWnd)
    {
        InitWA();
    }
    virtual ~CExtWA() {}

    virtual bool AddAnchor(HWND hWnd, const CSize& anchorTopLeft, const CSize& anchorBottomRight = CSize(-1, -1))
    {
        if (anchorTopLeft == CSize(-1, -1))
            return false;
        if (this->m_hWnd == NULL || !::IsWindow(this->m_hWnd) || hWnd == NULL || !::IsWindow(hWnd) ||
            !::IsChild(this->m_hWnd, hWnd))
            return false;
        CRect rcClient, rc;
        this->GetClientRect(&rcClient);
        ::GetWindowRect(hWnd, &rc);
        this->ScreenToClient(&rc);
        CSize rb = (anchorBottomRight == CSize(-1, -1)) ? anchorTopLeft : anchorBottomRight;
        int W = rcClient.Width(), H = rcClient.Height();
        RDI_t rdi;
        rdi.m_nLtAnchorCx = anchorTopLeft.cx;
        rdi.m_nLtAnchorCy = anchorTopLeft.cy;
        rdi.m_nLtOffsetX = rc.left - anchorTopLeft.cx * W / 100;
        rdi.m_nLtOffsetY = rc.top - anchorTopLeft.cy * H / 100;
        rdi.m_nRbAnchorCx = rb.cx;
        rdi.m_nRbAnchorCy = rb.cy;
        rdi.m_nRbOffsetX = rc.right - rb.cx * W / 100;
        rdi.m_nRbOffsetY = rc.bottom - rb.cy * H / 100;
        m_mapRDI.SetAt(hWnd, rdi);
        return true;
    }
    bool AddAnchor(UINT nCtrlID, const CSize& anchorTopLeft, const CSize& anchorBottomRight = CSize(-1, -1))
    {
        if (anchorTopLeft == CSize(-1, -1) || this->m_hWnd == NULL || !::IsWindow(this->m_hWnd))
            return false;
        HWND hWndCtrl = ::GetDlgItem(this->m_hWnd, (int)nCtrlID);
        if (hWndCtrl == NULL || !::IsWindow(hWndCtrl))
            return false;
        return AddAnchor(hWndCtrl, anchorTopLeft, anchorBottomRight);
    }

    virtual void ArrangeLayout(int cx = -1, int cy = -1)
    {
        if (m_mapRDI.IsEmpty())
            return;
        if (cx < 0 || cy < 0)
        {
            CRect rcClient;
            this->GetClientRect(&rcClient);
            cx = rcClient.Width();
            cy = rcClient.Height();
        }
        CList<HWND, HWND> listDead;
        HDWP hDWP = ::BeginDeferWindowPos((int)m_mapRDI.GetCount());
        POSITION pos = m_mapRDI.GetStartPosition();
        while (pos != NULL)
        {
            HWND hWnd = NULL;
            RDI_t rdi;
            m_mapRDI.GetNextAssoc(pos, hWnd, rdi);
            if (!::IsWindow(hWnd))
            {
                listDead.AddTail(hWnd);
                continue;
            }
            int x = ::MulDiv(cx, rdi.m_nLtAnchorCx, 100) + rdi.m_nLtOffsetX;
            int y = ::MulDiv(cy, rdi.m_nLtAnchorCy, 100) + rdi.m_nLtOffsetY;
            int nWidth = ::MulDiv(cx, rdi.m_nRbAnchorCx, 100) + rdi.m_nRbOffsetX - x;
            int nHeight = ::MulDiv(cy, rdi.m_nRbAnchorCy, 100) + rdi.m_nRbOffsetY - y;
            CRect rcNow;
            ::GetWindowRect(hWnd, &rcNow);
            this->ScreenToClient(&rcNow);
            UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
            if (rcNow.left == x && rcNow.top == y)
                nFlags |= SWP_NOMOVE;
            if (rcNow.Width() == nWidth && rcNow.Height() == nHeight)
                nFlags |= SWP_NOSIZE;
            if ((nFlags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE))
                continue;
            if (hDWP != NULL)
                hDWP = ::DeferWindowPos(hDWP, hWnd, NULL, x, y, nWidth, nHeight, nFlags);
            else
                ::SetWindowPos(hWnd, NULL, x, y, nWidth, nHeight, nFlags);
        }
        if (hDWP != NULL)
            ::EndDeferWindowPos(hDWP);
        while (!listDead.IsEmpty())
            m_mapRDI.RemoveKey(listDead.RemoveHead());
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_GETMINMAXINFO:
        {
            MINMAXINFO* pMMI = (MINMAXINFO*)lParam;
            if ((m_nTrackFlags & __EWA_TRACKING_ON) != 0 && pMMI != NULL)
            {
                if (m_nTrackFlags & __EWA_APPLY_MIN_TRACK)
                    pMMI->ptMinTrackSize = CPoint(m_sizeMinTrack.cx, m_sizeMinTrack.cy);
                if (m_nTrackFlags & __EWA_APPLY_MAX_TRACK)
                    pMMI->ptMaxTrackSize = CPoint(m_sizeMaxTrack.cx, m_sizeMaxTrack.cy);
                if (m_nTrackFlags & __EWA_APPLY_MAXIMIZED)
                {
                    pMMI->ptMaxPosition = m_ptMaxPos;
                    pMMI->ptMaxSize = CPoint(m_sizeMaxSize.cx, m_sizeMaxSize.cy);
                }
            }
            return 0;
        }
        case WM_SIZE:
        {
            LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            if (wParam != SIZE_MINIMIZED && this->m_hWnd != NULL)
            {
                if ((m_nTrackFlags & __EWA_TRACKING_ON) == 0)
                {
                    CRect rcWnd;
                    this->GetWindowRect(&rcWnd);
                    m_sizeMinTrack = rcWnd.Size();
                    m_nTrackFlags |= __EWA_TRACKING_ON;
                    ArrangeLayout(-1, -1);
                }
                else if (wParam != SIZE_MAXSHOW && wParam != SIZE_MAXHIDE)
                {
                    ArrangeLayout(LOWORD(lParam), HIWORD(lParam));
                }
            }
            return lResult;
        }
        case WM_DESTROY:
        case WM_NCDESTROY:
        {
            HWND hWndSaved = this->m_hWnd;
            LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            if (hWndSaved != NULL && ::IsWindow(hWndSaved) && CWnd::FromHandlePermanent(hWndSaved) == this)
                m_mapRDI.RemoveAll();
            return lResult;
        }
        default:
            return TBase::WindowProc(message, wParam, lParam);
        }
    }

    // The anchor of a child, false when it has none.
    bool GetAnchor(HWND hWnd, RDI_t& rdi) const { return m_mapRDI.Lookup(hWnd, rdi) != FALSE; }
    int GetAnchorCount() const { return (int)m_mapRDI.GetCount(); }

    CMap<HWND, HWND, RDI_t, RDI_t&> m_mapRDI;
    BYTE m_nTrackFlags;
    CSize m_sizeMinTrack;
    CSize m_sizeMaxTrack;
    CPoint m_ptMaxPos;
    CSize m_sizeMaxSize;

private:
    void InitWA()
    {
        m_mapRDI.InitHashTable(17);
        m_nTrackFlags = __EWA_APPLY_MIN_TRACK;
        m_sizeMinTrack = CSize(0, 0);
        m_sizeMaxTrack = CSize(0, 0);
        m_ptMaxPos = CPoint(0, 0);
        m_sizeMaxSize = CSize(0, 0);
    }
};

class CExtResizableDialog : public CExtWA<CExtWS<CExtADLG<CExtResDlg>, 301>>
{
    DECLARE_DYNCREATE(CExtResizableDialog)
public:
    typedef CExtWA<CExtWS<CExtADLG<CExtResDlg>, 301>> CBaseClass;
    enum
    {
        __ERD_UPDATE_BARS = 0x01,  // command-UI updates of child control bars are on
        __ERD_UPDATING = 0x02,     // an update runs now
    };

    CExtResizableDialog();
    explicit CExtResizableDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CExtResizableDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual ~CExtResizableDialog();

    LPCTSTR QueryDialogName() const override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The control bars library (linked after this one) installs what the dialog asks of
    // its child control bars; both stay NULL in a program without bars.
    typedef BOOL (*pfnChildBarsPreTranslateMessage)(CWnd* pWndParent, MSG* pMsg);
    typedef void (*pfnUpdateChildBarsCmdUI)(CWnd* pWndParent, BOOL bDisableIfNoHandler);
    static pfnChildBarsPreTranslateMessage g_pfnChildBarsPreTranslateMessage;
    static pfnUpdateChildBarsCmdUI g_pfnUpdateChildBarsCmdUI;

    BYTE m_nRdFlags;

protected:
    void OnOK() override;
    void OnCancel() override;
    void PreSubclassWindow() override;

    DECLARE_MESSAGE_MAP()
};
