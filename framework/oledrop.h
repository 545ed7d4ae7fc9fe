// OLE drag and drop on the receiving side: COleDataObject wraps the IDataObject a drop
// carries, COleDropTarget registers a window as a drop target and turns the IDropTarget
// calls into virtual operations with window-client coordinates.
#pragma once
#include <ole2.h>
#include "framework/framework.h"

typedef DWORD DROPEFFECT;

class COleDataObject
{
public:
    COleDataObject();
    ~COleDataObject();

    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = NULL);
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
    LPDATAOBJECT GetIDataObject(BOOL bAddRef);

protected:
    LPDATAOBJECT m_lpDataObject;
    BOOL m_bAutoRelease;

private:
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;
};

class COleDropTarget : public CCmdTarget
{
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    virtual ~COleDropTarget();

    // Registers the window with the system's drag and drop (OLE must be initialised).
    BOOL Register(CWnd* pWnd);
    virtual void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    // The IDropTarget the system calls; the object's own lifetime rules, not COM's.
    IDropTarget* GetDropTargetInterface() { return &m_xDropTarget; }

    HWND m_hWnd;

protected:
    struct XDropTarget : public IDropTarget
    {
        COleDropTarget* m_pOwner;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(DragEnter)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHOD(DragOver)(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHOD(DragLeave)() override;
        STDMETHOD(Drop)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    } m_xDropTarget;
    LPDATAOBJECT m_lpDataObject;  // the object of the drag in progress
    DROPEFFECT m_dropEffectCurrent;

    // The effect the key state picks among those allowed, as the classic rules do.
    static DROPEFFECT FilterDropEffect(DROPEFFECT dropEffect, DROPEFFECT dwEffects, DWORD dwKeyState);
    CWnd* TargetWnd() const;
};
