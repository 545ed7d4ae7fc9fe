// CExtContentExpandWnd: a small top-most popup that shows one item of its owner at the
// item's own place on the screen, usually larger than the owner gives it (a cut-off cell
// in full, or a dragged header with drop markers). The owner paints the item into the
// popup's buffer on request; mouse input can be passed back to the owner, and drops on
// the popup can be forwarded to the owner's drop target.
#pragma once
#include "framework/framework.h"
#include "framework/oledrop.h"
#include "toolkit/core/hook_sink.h"
#include "toolkit/theme/paint_manager.h"

// Forwards every drop-target call to another target, naming another window.
class CExtRedirectOleDropTarget : public COleDropTarget
{
public:
    CExtRedirectOleDropTarget(COleDropTarget* pTarget, CWnd* pWndRedirect, CWnd* pWndRegister);

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                        CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

    COleDropTarget* m_pTarget;
    CWnd* m_pWndRedirect;
    CWnd* m_pWndRegister;

private:
    CWnd* Named(CWnd* pWnd) const { return m_pWndRedirect != NULL ? m_pWndRedirect : pWnd; }
};

class CExtContentExpandWnd : public CWnd, public CExtMouseCaptureSink, public CExtPmBridge
{
    DECLARE_DYNCREATE(CExtContentExpandWnd)
public:
    enum ACTIVATE_FLAGS : DWORD
    {
        __ECWAF_PASS_LBUTTONDOWN = 0x00000001,
        __ECWAF_PASS_MBUTTONDOWN = 0x00000002,
        __ECWAF_PASS_RBUTTONDOWN = 0x00000004,
        __ECWAF_PASS_WHEEL = 0x00000008,
        __ECWAF_PASS_MOUSEMOVE = 0x00000010,
        __ECWAF_TRANSPARENT_WND = 0x00000020,
        __ECWAF_DRAW_ITEM = 0x00000040,
        __ECWAF_DRAW_RED_DOTS = 0x00000080,
        __ECWAF_DRAW_RED_ARROWS = 0x00000100,
        __ECWAF_REDRAW_OWNER_ON_DEACTIVATE = 0x00000400,
        __ECWAF_COPY_SCREEN = 0x00000800,
        __ECWAF_NO_OWNER_PAINT = 0x00001000,
        __ECWAF_NO_CAPTURE = 0x00002000,
        __ECWAF_PASS_LBUTTONUP = 0x00004000,
        __ECWAF_PASS_MBUTTONUP = 0x00008000,
        __ECWAF_PASS_RBUTTONUP = 0x00010000,
        __ECWAF_PASS_LBUTTONDBLCLK = 0x00020000,
        __ECWAF_PASS_MBUTTONDBLCLK = 0x00040000,
        __ECWAF_PASS_RBUTTONDBLCLK = 0x00080000,
        __ECWAF_RETURN_OWNER_RESULT = 0x00100000,
        __ECWAF_KEEP_AFTER_PASS = 0x00200000,
        __ECWAF_ALSO_DEFAULT = 0x00400000,
        __ECWAF_MOUSEACTIVATE_BY_BITS = 0x00800000,
        __ECWAF_MOUSEACTIVATE_MASK = 0x07000000,
        __ECWAF_DEFAULT = 0x0000004F,
    };

    struct ITEM_PAINT_INFO
    {
        CDC& m_dc;
        RECT m_rcItem;
        ITEM_PAINT_INFO(CDC& dc, const RECT& rcItem) : m_dc(dc), m_rcItem(rcItem) {}
    };

    static UINT g_nMsgPaintItemContent;
    static const char* const g_sWndClassName;
    static bool RegisterContentExpandWndClass();

    CExtContentExpandWnd();
    virtual ~CExtContentExpandWnd();

    bool Activate(const RECT& rcItem, CWnd* pWndOwner, DWORD dwActivateFlags = __ECWAF_DEFAULT,
                  COleDropTarget* pDropTarget = NULL, CWnd* pWndDropRedirect = NULL);
    void Deactivate();

    bool m_bActivating : 1;
    bool m_bVerticalMarker : 1;
    CRect m_rcWnd;
    CRect m_rcItem;
    CWnd* m_pWndOwner;
    DWORD m_dwActivateFlags;
    CRgn m_rgnFrame;
    CRgn m_rgnWnd;
    CRgn m_rgnItem;
    CBrush m_brushFrame;
    CExtRedirectOleDropTarget* m_pDropTarget;

    // CExtPmBridge
    void RegisterWithHolder() override;
    void UnregisterFromHolder() override;
    HWND GetBridgeHwnd() override;
    CExtPaintManager* GetPaintManager() override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void Reset();
    void DropTargetDestroy();
    void ComputeShape();
    void AddOwnerPaintedDecorations();
    void AddMarkerDecorations();
    void AddGlyphRegion(const CExtPaintManager::glyph& aGlyph, int x, int y);
    void AddDot(int xCenter, int yCenter);
    // Sends the owner the paint request; an empty or hidden item counts as painted.
    bool SendPaintItem(CDC& dc, const RECT& rcItem);
    bool PassMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    void PaintPopup();
};
