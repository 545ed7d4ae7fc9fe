#include "framework/gdiobj.h"
#include "framework/dc.h"
#include "framework/menu.h"
#include "framework/imagelist.h"
#include "framework/exceptions.h"
#include "framework/gdi_handlemap.h"
#include "framework/resources.h"

namespace afx_gdi_detail {

namespace {
// A trivially destructible thread-local pointer: no destructor runs at thread or
// process exit, so objects detaching during static destruction still find a map.
thread_local ThreadMaps* t_maps = nullptr;
}  // namespace

ThreadMaps& Maps() {
    if (!t_maps) t_maps = new ThreadMaps;
    return *t_maps;
}

ThreadMaps* MapsIfAny() { return t_maps; }

void ReleaseMaps() {
    ThreadMaps* maps = t_maps;
    if (maps == nullptr) return;
    // Objects still attached keep their handles; they would find fresh maps if they
    // detached later on this thread.
    if (maps->dc.permanent.empty() && maps->gdi.permanent.empty() && maps->menu.permanent.empty() &&
        maps->imageList.permanent.empty()) {
        t_maps = nullptr;
        delete maps;
    }
}

HINSTANCE FindResourceModule(LPCTSTR lpszName, LPCTSTR lpszType) {
    HINSTANCE h = AfxFindResourceHandle(lpszName, lpszType);
    return h != NULL ? h : ::GetModuleHandle(NULL);
}

}  // namespace afx_gdi_detail

using afx_gdi_detail::Maps;

void AFXAPI AfxDeleteTempGdiMaps() {
    if (afx_gdi_detail::MapsIfAny() == nullptr) return;  // this thread never made any
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
}

void AFXAPI AfxTermThreadGdiMaps() {
    AfxDeleteTempGdiMaps();
    afx_gdi_detail::ReleaseMaps();
}

/////////////////////////////////////////////////////////////////////////////
// CGdiObject

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::CGdiObject() : m_hObject(NULL) {}

CGdiObject::~CGdiObject() { DeleteObject(); }

namespace {

// A temporary wrapper of the family the handle belongs to, so that the typed
// FromHandle forms and IsKindOf answer truthfully.
CGdiObject* NewWrapperFor(HGDIOBJ h) {
    switch (::GetObjectType(h)) {
        case OBJ_PEN:
        case OBJ_EXTPEN: return new CPen;
        case OBJ_BRUSH: return new CBrush;
        case OBJ_FONT: return new CFont;
        case OBJ_BITMAP: return new CBitmap;
        case OBJ_PAL: return new CPalette;
        case OBJ_REGION: return new CRgn;
        default: return new CGdiObject;
    }
}

bool WrapperFits(const CGdiObject* p, HGDIOBJ h) {
    const CRuntimeClass* want = NULL;
    switch (::GetObjectType(h)) {
        case OBJ_PEN:
        case OBJ_EXTPEN: want = RUNTIME_CLASS(CPen); break;
        case OBJ_BRUSH: want = RUNTIME_CLASS(CBrush); break;
        case OBJ_FONT: want = RUNTIME_CLASS(CFont); break;
        case OBJ_BITMAP: want = RUNTIME_CLASS(CBitmap); break;
        case OBJ_PAL: want = RUNTIME_CLASS(CPalette); break;
        case OBJ_REGION: want = RUNTIME_CLASS(CRgn); break;
        default: return true;
    }
    return p->GetRuntimeClass() == want;
}

}  // namespace

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) {
    if (hObject == NULL) return NULL;
    auto& map = Maps().gdi;
    if (CGdiObject* p = map.LookupPermanent(hObject)) return p;
    if (CGdiObject* p = map.LookupTemporary(hObject)) {
        if (WrapperFits(p, hObject)) return p;
        // The handle was destroyed and reused for another kind of object: the stale
        // wrapper may still be referenced until idle time, so retire rather than free it.
        map.retired.push_back(p);
        map.temporary.erase(hObject);
    }
    CGdiObject* p = NewWrapperFor(hObject);
    p->m_hObject = hObject;
    map.temporary[hObject] = p;
    return p;
}

void PASCAL CGdiObject::DeleteTempMap() {
    auto& map = Maps().gdi;
    // Detach first: a temporary wrapper never owns its handle.
    std::unordered_map<void*, CGdiObject*> temp;
    temp.swap(map.temporary);
    std::vector<CGdiObject*> retired;
    retired.swap(map.retired);
    for (auto& kv : temp) {
        kv.second->m_hObject = NULL;
        delete kv.second;
    }
    for (CGdiObject* p : retired) {
        p->m_hObject = NULL;
        delete p;
    }
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    ASSERT(m_hObject == NULL);
    if (hObject == NULL) return FALSE;
    if (m_hObject != NULL) Maps().gdi.RemovePermanent(m_hObject, this);  // never left mapped to us
    m_hObject = hObject;
    Maps().gdi.SetPermanent(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h != NULL) Maps().gdi.RemovePermanent(h, this);
    m_hObject = NULL;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == NULL) return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    if (m_hObject == NULL) return 0;
    return ::GetObject(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const {
    return m_hObject == NULL ? 0 : (UINT)::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }

BOOL CGdiObject::UnrealizeObject() {
    return m_hObject != NULL && ::UnrealizeObject(m_hObject);
}

/////////////////////////////////////////////////////////////////////////////
// CPen

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (!CreatePen(nPenStyle, nWidth, crColor)) AfxThrowResourceException();
}

CPen::CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle) {
    if (!CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle)) AfxThrowResourceException();
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount,
                     const DWORD* lpStyle) {
    return Attach(::ExtCreatePen((DWORD)nPenStyle, (DWORD)nWidth, pLogBrush, (DWORD)nStyleCount, lpStyle));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }

/////////////////////////////////////////////////////////////////////////////
// CBrush

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor)) AfxThrowResourceException();
}

CBrush::CBrush(int nIndex, COLORREF crColor) {
    if (!CreateHatchBrush(nIndex, crColor)) AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pBitmap) {
    if (!CreatePatternBrush(pBitmap)) AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
    return Attach(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
    return Attach(::CreateBrushIndirect(lpLogBrush));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    if (pBitmap == NULL || pBitmap->GetSafeHandle() == NULL) return FALSE;
    return Attach(::CreatePatternBrush((HBITMAP)pBitmap->GetSafeHandle()));
}

BOOL CBrush::CreateDIBPatternBrush(HGLOBAL hPackedDIB, UINT nUsage) {
    if (hPackedDIB == NULL) return FALSE;
    const void* p = ::GlobalLock(hPackedDIB);
    BOOL ok = p != NULL && Attach(::CreateDIBPatternBrushPt(p, nUsage));
    ::GlobalUnlock(hPackedDIB);
    return ok;
}

BOOL CBrush::CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage) {
    return lpPackedDIB != NULL && Attach(::CreateDIBPatternBrushPt(lpPackedDIB, nUsage));
}

BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }

/////////////////////////////////////////////////////////////////////////////
// CFont

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return lpLogFont != NULL && Attach(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                       BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
    return Attach(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                               bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                               nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONT lf;
    ::ZeroMemory(&lf, sizeof(lf));
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName != NULL) lstrcpyn(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
    if (lpLogFont == NULL) return FALSE;
    HDC hDC = pDC != NULL ? pDC->m_hAttribDC : ::GetDC(NULL);
    if (hDC == NULL) return FALSE;
    LOGFONT lf = *lpLogFont;
    // lfHeight holds tenths of a point: device pixels first, then logical units of the
    // DC's mapping, so that a mapped printer or metafile DC gets the same size.
    POINT pt;
    pt.x = 0;
    pt.y = ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lf.lfHeight, 720);
    ::DPtoLP(hDC, &pt, 1);
    POINT ptOrg = {0, 0};
    ::DPtoLP(hDC, &ptOrg, 1);
    int h = pt.y - ptOrg.y;
    lf.lfHeight = -(h < 0 ? -h : h);
    if (pDC == NULL) ::ReleaseDC(NULL, hDC);
    return CreateFontIndirect(&lf);
}

/////////////////////////////////////////////////////////////////////////////
// CBitmap

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
    HINSTANCE hInst = afx_gdi_detail::FindResourceModule(lpszResourceName, RT_BITMAP);
    return Attach(::LoadBitmap(hInst, lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) {
    return Attach(::LoadBitmap(NULL, MAKEINTRESOURCE(nIDBitmap)));
}

BOOL CBitmap::LoadMappedBitmap(UINT nIDBitmap, UINT nFlags, LPCOLORMAP lpColorMap, int nMapSize) {
    HINSTANCE hInst = afx_gdi_detail::FindResourceModule(MAKEINTRESOURCE(nIDBitmap), RT_BITMAP);
    return Attach(::CreateMappedBitmap(hInst, (INT_PTR)nIDBitmap, nFlags, lpColorMap, nMapSize));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) {
    return Attach(::CreateBitmapIndirect(lpBitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    if (pDC == NULL || pDC->m_hDC == NULL) return FALSE;
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight) {
    if (pDC == NULL || pDC->m_hDC == NULL) return FALSE;
    return Attach(::CreateDiscardableBitmap(pDC->m_hDC, nWidth, nHeight));
}

DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits) {
    return m_hObject == NULL ? 0 : (DWORD)::SetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits);
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const {
    return m_hObject == NULL ? 0 : (DWORD)::GetBitmapBits((HBITMAP)m_hObject, (LONG)dwCount, lpBits);
}

CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight) {
    SIZE size = {0, 0};
    if (m_hObject != NULL) ::SetBitmapDimensionEx((HBITMAP)m_hObject, nWidth, nHeight, &size);
    return CSize(size.cx, size.cy);
}

CSize CBitmap::GetBitmapDimension() const {
    SIZE size = {0, 0};
    if (m_hObject != NULL) ::GetBitmapDimensionEx((HBITMAP)m_hObject, &size);
    return CSize(size.cx, size.cy);
}

/////////////////////////////////////////////////////////////////////////////
// CPalette

BOOL CPalette::CreatePalette(LPLOGPALETTE lpLogPalette) {
    return lpLogPalette != NULL && Attach(::CreatePalette(lpLogPalette));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC) {
    if (pDC == NULL || pDC->m_hDC == NULL) return FALSE;
    return Attach(::CreateHalftonePalette(pDC->m_hDC));
}

int CPalette::GetEntryCount() {
    WORD n = 0;
    if (m_hObject == NULL || ::GetObject(m_hObject, sizeof(WORD), &n) == 0) return 0;
    return (int)n;
}

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const {
    return m_hObject == NULL ? 0
                             : ::GetPaletteEntries((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) {
    return m_hObject == NULL ? 0
                             : ::SetPaletteEntries((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors);
}

void CPalette::AnimatePalette(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) {
    if (m_hObject != NULL) ::AnimatePalette((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const {
    return m_hObject == NULL ? CLR_INVALID : ::GetNearestPaletteIndex((HPALETTE)m_hObject, crColor);
}

BOOL CPalette::ResizePalette(UINT nNumEntries) {
    return m_hObject != NULL && ::ResizePalette((HPALETTE)m_hObject, nNumEntries);
}

/////////////////////////////////////////////////////////////////////////////
// CRgn

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) {
    return lpRect != NULL && Attach(::CreateRectRgnIndirect(lpRect));
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect) {
    return lpRect != NULL && Attach(::CreateEllipticRgnIndirect(lpRect));
}

BOOL CRgn::CreatePolygonRgn(LPPOINT lpPoints, int nCount, int nMode) {
    return lpPoints != NULL && Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::CreatePolyPolygonRgn(LPPOINT lpPoints, LPINT lpPolyCounts, int nCount, int nPolyFillMode) {
    return lpPoints != NULL && lpPolyCounts != NULL &&
           Attach(::CreatePolyPolygonRgn(lpPoints, lpPolyCounts, nCount, nPolyFillMode));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
    return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreateFromPath(CDC* pDC) {
    return pDC != NULL && pDC->m_hDC != NULL && Attach(::PathToRegion(pDC->m_hDC));
}

BOOL CRgn::CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData) {
    return pRgnData != NULL && Attach(::ExtCreateRegion(lpXForm, (DWORD)nCount, pRgnData));
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2) {
    if (m_hObject != NULL) ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2);
}

void CRgn::SetRectRgn(LPCRECT lpRect) {
    if (lpRect != NULL) SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CRgn::CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode) {
    if (m_hObject == NULL || pRgn1 == NULL || pRgn1->m_hObject == NULL) return ERROR;
    // RGN_COPY takes only the first source; every other mode needs both.
    HRGN h2 = pRgn2 != NULL ? (HRGN)pRgn2->m_hObject : NULL;
    if (nCombineMode != RGN_COPY && h2 == NULL) return ERROR;
    return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgn1->m_hObject, h2, nCombineMode);
}

int CRgn::CopyRgn(CRgn* pRgnSrc) {
    if (m_hObject == NULL || pRgnSrc == NULL || pRgnSrc->m_hObject == NULL) return ERROR;
    return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgnSrc->m_hObject, NULL, RGN_COPY);
}

BOOL CRgn::EqualRgn(CRgn* pRgn) const {
    if (m_hObject == NULL || pRgn == NULL || pRgn->m_hObject == NULL) return FALSE;
    return ::EqualRgn((HRGN)m_hObject, (HRGN)pRgn->m_hObject);
}

int CRgn::OffsetRgn(int x, int y) {
    return m_hObject == NULL ? ERROR : ::OffsetRgn((HRGN)m_hObject, x, y);
}

int CRgn::OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }

int CRgn::GetRgnBox(LPRECT lpRect) const {
    return m_hObject == NULL || lpRect == NULL ? ERROR : ::GetRgnBox((HRGN)m_hObject, lpRect);
}

BOOL CRgn::PtInRegion(int x, int y) const {
    return m_hObject != NULL && ::PtInRegion((HRGN)m_hObject, x, y);
}

BOOL CRgn::PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }

BOOL CRgn::RectInRegion(LPCRECT lpRect) const {
    return m_hObject != NULL && lpRect != NULL && ::RectInRegion((HRGN)m_hObject, lpRect);
}

int CRgn::GetRegionData(LPRGNDATA lpRgnData, int nCount) const {
    return m_hObject == NULL ? 0 : (int)::GetRegionData((HRGN)m_hObject, (DWORD)nCount, lpRgnData);
}
