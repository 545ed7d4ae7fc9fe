// Hook sinks and their per-window chains.
//
// A chain is walked by index and each index is checked against the array's current
// size, so sinks may add or remove sinks (themselves included) from inside a
// dispatch. A sink is never touched by the chain after a call into it has returned
// having removed it, and a window destroyed in the middle of a dispatch keeps its
// chain alive until the outermost dispatch has unwound.
#include "toolkit/core/hook_sink.h"

namespace {
bool s_bChainsMapAlive = false;
}

CExtHookChainsMap g_HookChainsMap;

CExtHookChainsMap::CExtHookChainsMap()
    : CMap<HWND, HWND, CExtHookSink::HookChains_t*, CExtHookSink::HookChains_t*>(10)
{
    s_bChainsMapAlive = true;
}

CExtHookChainsMap::~CExtHookChainsMap()
{
    s_bChainsMapAlive = false;
}

bool CExtHookChainsMap::IsAlive()
{
    return s_bChainsMapAlive;
}

namespace {

CExtHookSink::HookChains_t* FindChain(HWND hWnd)
{
    if (hWnd == NULL || !CExtHookChainsMap::IsAlive())
        return NULL;
    CExtHookSink::HookChains_t* pChain = NULL;
    if (!g_HookChainsMap.Lookup(hWnd, pChain))
        return NULL;
    return pChain;
}

// After a call into pSink at index i: the index of the next sink to visit. The sink
// may have removed itself (the next one now sits at i) or added sinks in front of it.
INT_PTR NextIndex(const CExtHookSink::HookChains_t* pChain, INT_PTR i, const CExtHookSink* pSink)
{
    INT_PTR nSize = pChain->m_HookSinkArray.GetSize();
    if (i < nSize && pChain->m_HookSinkArray.GetAt(i) == pSink)
        return i + 1;
    INT_PTR nAt = pChain->Find(pSink);
    return nAt >= 0 ? nAt + 1 : i;
}

}  // namespace

// ---- the chain -------------------------------------------------------------------------

CExtHookSink::HookChains_t::HookChains_t(HWND hWndHooked)
    : m_hWndHooked(hWndHooked), m_pWNDPROC(NULL), m_nDispatchDepth(0), m_bDestroyed(false)
{
    m_pWNDPROC = (WNDPROC)::SetWindowLongPtr(
        hWndHooked, GWLP_WNDPROC, (LONG_PTR)(WNDPROC)CExtHookSink::HookChainsWindowProc);
}

CExtHookSink::HookChains_t::~HookChains_t() {}

INT_PTR CExtHookSink::HookChains_t::Find(const CExtHookSink* pSink) const
{
    for (INT_PTR i = 0; i < m_HookSinkArray.GetSize(); i++)
        if (m_HookSinkArray.GetAt(i) == pSink)
            return i;
    return -1;
}

void CExtHookSink::HookChains_t::DestroyChain()
{
    m_bDestroyed = true;
    if (CExtHookChainsMap::IsAlive())
    {
        HookChains_t* pMapped = NULL;
        if (g_HookChainsMap.Lookup(m_hWndHooked, pMapped) && pMapped == this)
            g_HookChainsMap.RemoveKey(m_hWndHooked);
    }
    // Auto-deleting sinks go with the window. One that also watches other windows is
    // first forgotten there, so that no chain points at a deleted sink.
    while (m_HookSinkArray.GetSize() > 0)
    {
        CExtHookSink* pSink = m_HookSinkArray.GetAt(0);
        m_HookSinkArray.RemoveAt(0);
        if (pSink->IsAutoDeleteHookWndSink())
        {
            CExtHookSink::_ForgetSinkEverywhere(pSink);
            delete pSink;
        }
    }
    ::SetWindowLongPtr(m_hWndHooked, GWLP_WNDPROC, (LONG_PTR)m_pWNDPROC);
}

LRESULT CExtHookSink::HookChains_t::HookChainsWindowProc(UINT nMessage, WPARAM& wParam, LPARAM& lParam)
{
    const HWND hWnd = m_hWndHooked;
    const WNDPROC pWndProc = m_pWNDPROC;
    m_nDispatchDepth++;
    if (nMessage == WM_NCDESTROY)
    {
        bool bEat = false;
        for (INT_PTR i = 0; i < m_HookSinkArray.GetSize();)
        {
            CExtHookSink* pSink = m_HookSinkArray.GetAt(i);
            if (pSink->m_bEatNcDestroy)
                bEat = true;
            pSink->OnHookWndNcDestroy();
            i = NextIndex(this, i, pSink);
        }
        if (!m_bDestroyed)
            DestroyChain();
        if (--m_nDispatchDepth == 0)
            delete this;
        if (bEat)
            return 0;
        return ::CallWindowProc(pWndProc, hWnd, nMessage, wParam, lParam);
    }
    for (INT_PTR i = 0; i < m_HookSinkArray.GetSize() && !m_bDestroyed;)
    {
        CExtHookSink* pSink = m_HookSinkArray.GetAt(i);
        LRESULT lResult = 0;
        if (pSink->OnHookWndMsg(lResult, hWnd, nMessage, wParam, lParam))
        {
            if (--m_nDispatchDepth == 0 && m_bDestroyed)
                delete this;
            return lResult;
        }
        if (m_bDestroyed)
            break;
        i = NextIndex(this, i, pSink);
    }
    if (--m_nDispatchDepth == 0 && m_bDestroyed)
        delete this;
    return ::CallWindowProc(pWndProc, hWnd, nMessage, wParam, lParam);
}

// ---- the window procedure --------------------------------------------------------------

LRESULT CALLBACK CExtHookSink::HookChainsWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG msgSaved = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMessage;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;
    LRESULT lResult = 0;
    HookChains_t* pChain = FindChain(hWnd);
    if (pChain != NULL)
    {
        // the chain takes itself out of the map when it handles WM_NCDESTROY
        lResult = pChain->HookChainsWindowProc(nMessage, wParam, lParam);
    }
    pState->m_lastSentMsg = msgSaved;
    return lResult;
}

// ---- the sink --------------------------------------------------------------------------

CExtHookSink::CExtHookSink(bool bEnableDetailedWndHooks)
    : m_bEnableDetailedWndHooks(false), m_bEatNcDestroy(false)
{
    m_bEnableDetailedWndHooks = bEnableDetailedWndHooks;
}

CExtHookSink::~CExtHookSink()
{
    // No unhooking (no detach notices): a derived sink calls RemoveAllWndHooks before
    // it goes. Chains must still not keep a pointer to a sink that no longer exists.
    _ForgetSinkEverywhere(this);
}

bool CExtHookSink::IsAutoDeleteHookWndSink()
{
    return false;
}

namespace {

// The saved procedure of the window whose message is being dispatched. Outside a
// dispatch to a hooked window (a caller's mistake) the default procedure stands in.
LRESULT CallSavedWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = AfxGetThreadState()->m_lastSentMsg.hwnd;
    CExtHookSink::HookChains_t* pChain = FindChain(hWnd);
    if (pChain == NULL || pChain->m_pWNDPROC == NULL)
        return ::DefWindowProc(hWnd, nMessage, wParam, lParam);
    return ::CallWindowProc(pChain->m_pWNDPROC, hWnd, nMessage, wParam, lParam);
}

}  // namespace

LRESULT CExtHookSink::OnHookCallDefWindowProc(WPARAM wParam, LPARAM lParam)
{
    return CallSavedWindowProc(AfxGetThreadState()->m_lastSentMsg.message, wParam, lParam);
}

LRESULT CExtHookSink::OnHookCallDefWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    return CallSavedWindowProc(nMessage, wParam, lParam);
}

LRESULT CExtHookSink::OnHookCallDefWindowProc()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return CallSavedWindowProc(msg.message, msg.wParam, msg.lParam);
}

bool CExtHookSink::OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT nMessage, WPARAM& wParam, LPARAM& lParam)
{
    if (!m_bEnableDetailedWndHooks)
        return false;
    WPARAM wp = wParam;
    LPARAM lp = lParam;
    switch (nMessage)
    {
    case WM_COMMAND:
        return OnHookCmdMsg(lResult, hWndHooked, HIWORD(wp), LOWORD(wp), (HWND)lp);
    case WM_NOTIFY:
        return OnHookNotifyMsg(lResult, hWndHooked, (INT)wp, (LPNMHDR)lp);
    case WM_PAINT:
        return OnHookPaintMsg(lResult, hWndHooked, (HDC)wp);
    case WM_ERASEBKGND:
        return OnHookEraseBackgroundMsg(lResult, hWndHooked, (HDC)wp);
    case WM_PRINT:
        return OnHookPrintMsg(lResult, hWndHooked, (HDC)wp);
    case WM_NCPAINT:
        return OnHookNcPaintMsg(lResult, hWndHooked, (HRGN)wp);
    default:
        return false;
    }
}

bool CExtHookSink::OnHookCmdMsg(LRESULT&, HWND, WORD, WORD, HWND)
{
    return false;
}

bool CExtHookSink::OnHookNotifyMsg(LRESULT&, HWND, INT, LPNMHDR)
{
    return false;
}

bool CExtHookSink::OnHookPaintMsg(LRESULT&, HWND, HDC)
{
    return false;
}

bool CExtHookSink::OnHookEraseBackgroundMsg(LRESULT&, HWND, HDC)
{
    return false;
}

bool CExtHookSink::OnHookPrintMsg(LRESULT&, HWND, HDC)
{
    return false;
}

bool CExtHookSink::OnHookNcPaintMsg(LRESULT&, HWND, HRGN)
{
    return false;
}

void CExtHookSink::OnHookWndNcDestroy() {}

void CExtHookSink::OnHookWndAttach(HWND) {}

void CExtHookSink::OnHookWndDetach(HWND) {}

bool CExtHookSink::IsHookedWindow(HWND hWnd)
{
    HookChains_t* pChain = FindChain(hWnd);
    return pChain != NULL && pChain->Find(this) >= 0;
}

bool CExtHookSink::_RemoveFromChain(HWND hWnd, CExtHookSink* pSink)
{
    HookChains_t* pChain = FindChain(hWnd);
    if (pChain == NULL || pChain->Find(pSink) < 0)
        return false;
    pSink->OnHookWndDetach(hWnd);
    // the detach notice may itself have changed the chain
    pChain = FindChain(hWnd);
    if (pChain == NULL)
        return true;
    INT_PTR nAt = pChain->Find(pSink);
    if (nAt >= 0)
        pChain->m_HookSinkArray.RemoveAt(nAt);
    return true;
}

void CExtHookSink::_ForgetSinkEverywhere(CExtHookSink* pSink)
{
    if (!CExtHookChainsMap::IsAlive())
        return;
    POSITION pos = g_HookChainsMap.GetStartPosition();
    while (pos != NULL)
    {
        HWND hWnd = NULL;
        HookChains_t* pChain = NULL;
        g_HookChainsMap.GetNextAssoc(pos, hWnd, pChain);
        if (pChain == NULL)
            continue;
        INT_PTR nAt;
        while ((nAt = pChain->Find(pSink)) >= 0)
            pChain->m_HookSinkArray.RemoveAt(nAt);
    }
}

bool CExtHookSink::SetupHookWndSink(HWND hWnd, bool bRemove, bool bAddToHead)
{
    if (hWnd == NULL)
        return false;
    if (!bRemove)
    {
        if (!::IsWindow(hWnd) || !CExtHookChainsMap::IsAlive())
            return false;
        HookChains_t* pChain = FindChain(hWnd);
        if (pChain == NULL)
        {
            pChain = new HookChains_t(hWnd);
            g_HookChainsMap.SetAt(hWnd, pChain);
        }
        else if (pChain->Find(this) >= 0)
            return true;
        if (bAddToHead)
            pChain->m_HookSinkArray.InsertAt(0, this);
        else
            pChain->m_HookSinkArray.Add(this);
        OnHookWndAttach(hWnd);
        return true;
    }
    if (_RemoveFromChain(hWnd, this) && IsAutoDeleteHookWndSink())
    {
        _ForgetSinkEverywhere(this);
        delete this;
    }
    return true;
}

void CExtHookSink::RemoveAllWndHooks()
{
    if (!CExtHookChainsMap::IsAlive())
        return;
    CList<HWND, HWND> listWnds;
    POSITION pos = g_HookChainsMap.GetStartPosition();
    while (pos != NULL)
    {
        HWND hWnd = NULL;
        HookChains_t* pChain = NULL;
        g_HookChainsMap.GetNextAssoc(pos, hWnd, pChain);
        if (pChain != NULL && pChain->Find(this) >= 0)
            listWnds.AddTail(hWnd);
    }
    // An auto-deleting sink leaves every chain first and is deleted once at the end;
    // removing it window by window would delete it at the first.
    bool bAutoDelete = IsAutoDeleteHookWndSink();
    bool bRemovedAny = false;
    pos = listWnds.GetHeadPosition();
    while (pos != NULL)
    {
        HWND hWnd = listWnds.GetNext(pos);
        if (bAutoDelete)
        {
            if (_RemoveFromChain(hWnd, this))
                bRemovedAny = true;
        }
        else
            SetupHookWndSink(hWnd, true, false);
    }
    if (bAutoDelete && bRemovedAny)
    {
        _ForgetSinkEverywhere(this);
        delete this;
    }
}

// ---- mouse capture ---------------------------------------------------------------------

CExtMouseCaptureSink::CExtMouseCaptureSink() {}

CExtMouseCaptureSink::~CExtMouseCaptureSink() {}

HWND CExtMouseCaptureSink::SetCapture(HWND hWnd)
{
    return ::SetCapture(hWnd);
}
