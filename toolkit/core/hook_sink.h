// Hook sinks: objects that watch the messages of windows they do not own and may eat
// them before the window's own procedure sees them. A watched window is subclassed
// once, however many sinks come and go; its chain keeps the sinks in dispatch order
// and the procedure it replaced, until the window's WM_NCDESTROY.
//
// CExtMouseCaptureSink, the small mix-in of every toolkit window that captures the
// mouse, lives here as well.
#pragma once
#include "framework/framework.h"

class CExtHookSink
{
public:
    typedef CTypedPtrArray<CPtrArray, CExtHookSink*> HookSinkArray_t;

    // The chain of one watched window (one per window, on the heap).
    struct HookChains_t
    {
        HookSinkArray_t m_HookSinkArray;  // index 0 sees a message first
        HWND m_hWndHooked;
        WNDPROC m_pWNDPROC;  // the procedure in place when the chain was made

        explicit HookChains_t(HWND hWndHooked);
        ~HookChains_t();
        // Dispatches one message through the sinks and then the saved procedure.
        LRESULT HookChainsWindowProc(UINT nMessage, WPARAM& wParam, LPARAM& lParam);
        // Position of a sink in the chain, -1 when absent.
        INT_PTR Find(const CExtHookSink* pSink) const;

        // How many dispatches to this chain are on the stack; a chain whose window
        // is destroyed during a dispatch is freed when the outermost one unwinds.
        int m_nDispatchDepth;
        bool m_bDestroyed;

    private:
        void DestroyChain();
        HookChains_t(const HookChains_t&) = delete;
        HookChains_t& operator=(const HookChains_t&) = delete;
    };

    explicit CExtHookSink(bool bEnableDetailedWndHooks = true);
    virtual ~CExtHookSink();

    virtual bool IsAutoDeleteHookWndSink();
    virtual LRESULT OnHookCallDefWindowProc(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnHookCallDefWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnHookCallDefWindowProc();
    virtual bool OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam, LPARAM& lParam);
    virtual bool OnHookCmdMsg(LRESULT& lResult, HWND hWndHooked, WORD wNotifyCode, WORD wID, HWND hWndCtrl);
    virtual bool OnHookNotifyMsg(LRESULT& lResult, HWND hWndHooked, INT nIdCtrl, LPNMHDR pNMHDR);
    virtual bool OnHookPaintMsg(LRESULT& lResult, HWND hWndHooked, HDC hDC);
    virtual bool OnHookEraseBackgroundMsg(LRESULT& lResult, HWND hWndHooked, HDC hDC);
    virtual bool OnHookPrintMsg(LRESULT& lResult, HWND hWndHooked, HDC hDC);
    virtual bool OnHookNcPaintMsg(LRESULT& lResult, HWND hWndHooked, HRGN hRgnUpdate);
    virtual void OnHookWndNcDestroy();
    virtual void OnHookWndAttach(HWND hWnd);
    virtual void OnHookWndDetach(HWND hWnd);
    virtual bool SetupHookWndSink(HWND hWnd, bool bRemove = false, bool bAddToHead = false);
    virtual void RemoveAllWndHooks();

    bool IsHookedWindow(HWND hWnd);

    // The replacement window procedure shared by every chain.
    static LRESULT CALLBACK HookChainsWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

    bool m_bEnableDetailedWndHooks : 1;
    bool m_bEatNcDestroy : 1;

private:
    // Takes the sink out of one chain: the detach notice, then the removal.
    static bool _RemoveFromChain(HWND hWnd, CExtHookSink* pSink);
    // Forgets a sink that is about to be deleted in every chain, without notices,
    // so that no chain keeps a dangling pointer.
    static void _ForgetSinkEverywhere(CExtHookSink* pSink);
    friend struct HookChains_t;

    CExtHookSink(const CExtHookSink&) = delete;
    CExtHookSink& operator=(const CExtHookSink&) = delete;
};

// The one map from a watched window to its chain.
class CExtHookChainsMap : public CMap<HWND, HWND, CExtHookSink::HookChains_t*, CExtHookSink::HookChains_t*>
{
public:
    CExtHookChainsMap();
    // Frees no chain: at exit the windows are gone or about to go.
    ~CExtHookChainsMap();
    static bool IsAlive();
};
extern CExtHookChainsMap g_HookChainsMap;

class CExtMouseCaptureSink
{
public:
    CExtMouseCaptureSink();
    virtual ~CExtMouseCaptureSink();
    // Captures the mouse for hWnd; returns the window that held the capture before.
    virtual HWND SetCapture(HWND hWnd);
};
