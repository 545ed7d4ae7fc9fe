#include "framework/oledrop.h"

// ---- COleDataObject ----------------------------------------------------------------

COleDataObject::COleDataObject() : m_lpDataObject(NULL), m_bAutoRelease(TRUE) {}

COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach()
{
    LPDATAOBJECT p = m_lpDataObject;
    m_lpDataObject = NULL;
    return p;
}

void COleDataObject::Release()
{
    if (m_lpDataObject != NULL && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = NULL;
}

namespace {
FORMATETC DefaultFormat(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (lpFormatEtc != NULL)
        return *lpFormatEtc;
    FORMATETC fe = {cfFormat, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return fe;
}
}  // namespace

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (m_lpDataObject == NULL)
        return FALSE;
    FORMATETC fe = DefaultFormat(cfFormat, lpFormatEtc);
    return m_lpDataObject->QueryGetData(&fe) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc)
{
    if (m_lpDataObject == NULL || lpStgMedium == NULL)
        return FALSE;
    FORMATETC fe = DefaultFormat(cfFormat, lpFormatEtc);
    return SUCCEEDED(m_lpDataObject->GetData(&fe, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    STGMEDIUM stg;
    ::memset(&stg, 0, sizeof(stg));
    if (!GetData(cfFormat, &stg, lpFormatEtc))
        return NULL;
    if (stg.tymed == TYMED_HGLOBAL && stg.pUnkForRelease == NULL)
        return stg.hGlobal;
    ::ReleaseStgMedium(&stg);
    return NULL;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef)
{
    if (m_lpDataObject != NULL && bAddRef)
        m_lpDataObject->AddRef();
    return m_lpDataObject;
}

// ---- COleDropTarget ----------------------------------------------------------------

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

COleDropTarget::COleDropTarget() : m_hWnd(NULL), m_lpDataObject(NULL), m_dropEffectCurrent(DROPEFFECT_NONE)
{
    m_xDropTarget.m_pOwner = this;
}

COleDropTarget::~COleDropTarget()
{
    if (m_hWnd != NULL)
        Revoke();
    if (m_lpDataObject != NULL)
        m_lpDataObject->Release();
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (pWnd == NULL || !::IsWindow(pWnd->m_hWnd) || m_hWnd != NULL)
        return FALSE;
    if (FAILED(::CoLockObjectExternal(&m_xDropTarget, TRUE, FALSE)))
        return FALSE;
    if (FAILED(::RegisterDragDrop(pWnd->m_hWnd, &m_xDropTarget)))
    {
        ::CoLockObjectExternal(&m_xDropTarget, FALSE, FALSE);
        return FALSE;
    }
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_hWnd == NULL)
        return;
    ::RevokeDragDrop(m_hWnd);
    ::CoLockObjectExternal(&m_xDropTarget, FALSE, TRUE);
    m_hWnd = NULL;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint)
{
    return (DROPEFFECT)-1;
}
void COleDropTarget::OnDragLeave(CWnd*) {}
DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

DROPEFFECT COleDropTarget::FilterDropEffect(DROPEFFECT dropEffect, DROPEFFECT dwEffects, DWORD dwKeyState)
{
    // Control and shift pick link, copy or move; what the source does not allow falls
    // back in the order move, copy, link.
    if ((dwKeyState & (MK_CONTROL | MK_SHIFT)) == (MK_CONTROL | MK_SHIFT) && (dwEffects & DROPEFFECT_LINK))
        dropEffect = DROPEFFECT_LINK;
    else if ((dwKeyState & MK_CONTROL) && (dwEffects & DROPEFFECT_COPY))
        dropEffect = DROPEFFECT_COPY;
    else if ((dwKeyState & MK_SHIFT) && (dwEffects & DROPEFFECT_MOVE))
        dropEffect = DROPEFFECT_MOVE;
    DROPEFFECT scroll = dropEffect & DROPEFFECT_SCROLL;
    dropEffect &= ~DROPEFFECT_SCROLL;
    if ((dropEffect & dwEffects) != dropEffect)
    {
        if (dwEffects & DROPEFFECT_MOVE)
            dropEffect = DROPEFFECT_MOVE;
        else if (dwEffects & DROPEFFECT_COPY)
            dropEffect = DROPEFFECT_COPY;
        else if (dwEffects & DROPEFFECT_LINK)
            dropEffect = DROPEFFECT_LINK;
        else
            dropEffect = DROPEFFECT_NONE;
    }
    return dropEffect | scroll;
}

CWnd* COleDropTarget::TargetWnd() const { return m_hWnd != NULL ? CWnd::FromHandle(m_hWnd) : NULL; }

STDMETHODIMP COleDropTarget::XDropTarget::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == NULL)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropTarget)
    {
        *ppv = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::AddRef() { return 2; }
STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::Release() { return 1; }

namespace {
CPoint ClientPoint(HWND hWnd, POINTL pt)
{
    POINT p = {pt.x, pt.y};
    if (hWnd != NULL)
        ::ScreenToClient(hWnd, &p);
    return CPoint(p);
}
}  // namespace

STDMETHODIMP COleDropTarget::XDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                    DWORD* pdwEffect)
{
    if (pdwEffect == NULL)
        return E_INVALIDARG;
    COleDropTarget* p = m_pOwner;
    if (p->m_lpDataObject != NULL)
        p->m_lpDataObject->Release();
    p->m_lpDataObject = pDataObj;
    if (pDataObj != NULL)
        pDataObj->AddRef();
    COleDataObject data;
    data.Attach(pDataObj, FALSE);
    const CPoint point = ClientPoint(p->m_hWnd, pt);
    DROPEFFECT effect = p->OnDragScroll(p->TargetWnd(), grfKeyState, point);
    if (effect == DROPEFFECT_NONE)
        effect = p->OnDragEnter(p->TargetWnd(), &data, grfKeyState, point);
    p->m_dropEffectCurrent = effect = FilterDropEffect(effect, *pdwEffect, grfKeyState);
    *pdwEffect = effect;
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (pdwEffect == NULL)
        return E_INVALIDARG;
    COleDropTarget* p = m_pOwner;
    COleDataObject data;
    data.Attach(p->m_lpDataObject, FALSE);
    const CPoint point = ClientPoint(p->m_hWnd, pt);
    DROPEFFECT effect = p->OnDragScroll(p->TargetWnd(), grfKeyState, point);
    if (effect == DROPEFFECT_NONE)
        effect = p->OnDragOver(p->TargetWnd(), &data, grfKeyState, point);
    p->m_dropEffectCurrent = effect = FilterDropEffect(effect, *pdwEffect, grfKeyState);
    *pdwEffect = effect;
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragLeave()
{
    COleDropTarget* p = m_pOwner;
    p->OnDragLeave(p->TargetWnd());
    if (p->m_lpDataObject != NULL)
        p->m_lpDataObject->Release();
    p->m_lpDataObject = NULL;
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                               DWORD* pdwEffect)
{
    if (pdwEffect == NULL)
        return E_INVALIDARG;
    COleDropTarget* p = m_pOwner;
    COleDataObject data;
    data.Attach(pDataObj, FALSE);
    const CPoint point = ClientPoint(p->m_hWnd, pt);
    const DROPEFFECT dropDefault = FilterDropEffect(p->m_dropEffectCurrent, *pdwEffect, grfKeyState);
    DROPEFFECT effect = p->OnDropEx(p->TargetWnd(), &data, dropDefault, *pdwEffect, point);
    if (effect == (DROPEFFECT)-1)
        effect = p->OnDrop(p->TargetWnd(), &data, dropDefault, point) ? dropDefault : DROPEFFECT_NONE;
    *pdwEffect = effect;
    if (p->m_lpDataObject != NULL)
        p->m_lpDataObject->Release();
    p->m_lpDataObject = NULL;
    return S_OK;
}
