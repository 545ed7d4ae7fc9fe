// CImageList without the archive form (imagelist_archive.cpp).
#include "framework/imagelist.h"
#include "framework/dc.h"
#include "framework/gdi_handlemap.h"

using afx_gdi_detail::Maps;

IMPLEMENT_DYNCREATE(CImageList, CObject)

CImageList::CImageList() : m_hImageList(NULL) {}

CImageList::~CImageList() { DeleteImageList(); }

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList) {
    if (hImageList == NULL) return NULL;
    auto& map = Maps().imageList;
    if (CImageList* p = map.LookupPermanent(hImageList)) return p;
    if (CImageList* p = map.LookupTemporary(hImageList)) return p;
    CImageList* p = new CImageList;
    p->m_hImageList = hImageList;
    map.temporary[hImageList] = p;
    return p;
}

CImageList* PASCAL CImageList::FromHandlePermanent(HIMAGELIST hImageList) {
    return hImageList == NULL ? NULL : Maps().imageList.LookupPermanent(hImageList);
}

void PASCAL CImageList::DeleteTempMap() {
    auto& map = Maps().imageList;
    std::unordered_map<void*, CImageList*> temp;
    temp.swap(map.temporary);
    for (auto& kv : temp) {
        kv.second->m_hImageList = NULL;  // a temporary wrapper never owns its list
        delete kv.second;
    }
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
    ASSERT(m_hImageList == NULL);
    if (hImageList == NULL) return FALSE;
    if (m_hImageList != NULL) Maps().imageList.RemovePermanent(m_hImageList, this);  // never left mapped to us
    m_hImageList = hImageList;
    Maps().imageList.SetPermanent(hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST h = m_hImageList;
    if (h != NULL) Maps().imageList.RemovePermanent(h, this);
    m_hImageList = NULL;
    return h;
}

BOOL CImageList::DeleteImageList() {
    if (m_hImageList == NULL) return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask) {
    HINSTANCE hInst = afx_gdi_detail::FindResourceModule(lpszBitmapID, RT_BITMAP);
    return Attach(ImageList_LoadImage(hInst, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy) {
    return Attach(ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList, nImage2, dx, dy));
}

BOOL CImageList::Create(CImageList* pImageList) {
    if (pImageList == NULL || pImageList->m_hImageList == NULL) return FALSE;
    return Attach(ImageList_Duplicate(pImageList->m_hImageList));
}

int CImageList::GetImageCount() const { return m_hImageList == NULL ? 0 : ImageList_GetImageCount(m_hImageList); }

BOOL CImageList::SetImageCount(UINT uNewCount) {
    return m_hImageList != NULL && ImageList_SetImageCount(m_hImageList, uNewCount);
}

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const {
    return m_hImageList != NULL && pImageInfo != NULL && ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

BOOL CImageList::GetIconSize(int* cx, int* cy) const {
    return m_hImageList != NULL && ImageList_GetIconSize(m_hImageList, cx, cy);
}

BOOL CImageList::SetIconSize(int cx, int cy) { return m_hImageList != NULL && ImageList_SetIconSize(m_hImageList, cx, cy); }

COLORREF CImageList::SetBkColor(COLORREF cr) {
    return m_hImageList == NULL ? CLR_NONE : ImageList_SetBkColor(m_hImageList, cr);
}

COLORREF CImageList::GetBkColor() const { return m_hImageList == NULL ? CLR_NONE : ImageList_GetBkColor(m_hImageList); }

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask) {
    if (m_hImageList == NULL || pbmImage == NULL) return -1;
    return ImageList_Add(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), (HBITMAP)pbmMask->GetSafeHandle());
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask) {
    if (m_hImageList == NULL || pbmImage == NULL) return -1;
    return ImageList_AddMasked(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), crMask);
}

int CImageList::Add(HICON hIcon) {
    if (m_hImageList == NULL || hIcon == NULL) return -1;
    return ImageList_AddIcon(m_hImageList, hIcon);
}

BOOL CImageList::Remove(int nImage) { return m_hImageList != NULL && ImageList_Remove(m_hImageList, nImage); }

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask) {
    if (m_hImageList == NULL || pbmImage == NULL) return FALSE;
    return ImageList_Replace(m_hImageList, nImage, (HBITMAP)pbmImage->GetSafeHandle(),
                             (HBITMAP)pbmMask->GetSafeHandle());
}

int CImageList::Replace(int nImage, HICON hIcon) {
    if (m_hImageList == NULL || hIcon == NULL) return -1;
    return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
}

HICON CImageList::ExtractIcon(int nImage) {
    if (m_hImageList == NULL) return NULL;
    return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL);
}

BOOL CImageList::Copy(int iDst, int iSrc, UINT uFlags) {
    return m_hImageList != NULL && ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags);
}

BOOL CImageList::Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags) {
    if (m_hImageList == NULL || pSrc == NULL || pSrc->m_hImageList == NULL) return FALSE;
    return ImageList_Copy(m_hImageList, iDst, pSrc->m_hImageList, iSrc, uFlags);
}

BOOL CImageList::SetOverlayImage(int nImage, int nOverlay) {
    return m_hImageList != NULL && ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) {
    if (m_hImageList == NULL || pDC == NULL) return FALSE;
    return ImageList_Draw(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, nStyle);
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle) {
    if (m_hImageList == NULL || pDC == NULL) return FALSE;
    return ImageList_DrawEx(m_hImageList, nImage, pDC->m_hDC, pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg, nStyle);
}

BOOL CImageList::DrawIndirect(IMAGELISTDRAWPARAMS* pimldp) {
    if (m_hImageList == NULL || pimldp == NULL) return FALSE;
    pimldp->himl = m_hImageList;
    return ImageList_DrawIndirect(pimldp);
}

BOOL CImageList::DrawIndirect(CDC* pDC, int nImage, POINT pt, SIZE sz, POINT ptOrigin, UINT fStyle, DWORD dwRop,
                              COLORREF rgbBack, COLORREF rgbFore, DWORD fState, DWORD Frame, COLORREF crEffect) {
    if (m_hImageList == NULL || pDC == NULL) return FALSE;
    IMAGELISTDRAWPARAMS p;
    ::ZeroMemory(&p, sizeof(p));
    p.cbSize = sizeof(p);
    p.himl = m_hImageList;
    p.i = nImage;
    p.hdcDst = pDC->m_hDC;
    p.x = pt.x;
    p.y = pt.y;
    p.cx = sz.cx;
    p.cy = sz.cy;
    p.xBitmap = ptOrigin.x;
    p.yBitmap = ptOrigin.y;
    p.rgbBk = rgbBack;
    p.rgbFg = rgbFore;
    p.fStyle = fStyle;
    p.dwRop = dwRop;
    p.fState = fState;
    p.Frame = Frame;
    p.crEffect = crEffect;
    return ImageList_DrawIndirect(&p);
}

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot) {
    return m_hImageList != NULL && ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}
void PASCAL CImageList::EndDrag() { ImageList_EndDrag(); }
BOOL PASCAL CImageList::DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }
BOOL CImageList::SetDragCursorImage(int nDrag, CPoint ptHotSpot) {
    return m_hImageList != NULL && ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
}
BOOL PASCAL CImageList::DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
CImageList* PASCAL CImageList::GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot) {
    return CImageList::FromHandle(ImageList_GetDragImage(lpPoint, lpPointHotSpot));
}
BOOL PASCAL CImageList::DragEnter(HWND hWndLock, CPoint point) { return ImageList_DragEnter(hWndLock, point.x, point.y); }
BOOL PASCAL CImageList::DragLeave(HWND hWndLock) { return ImageList_DragLeave(hWndLock); }
