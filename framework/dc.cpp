// CDC: everything that needs no window. The window DCs live in dc_wnd.cpp.
#include "framework/dc.h"
#include "framework/exceptions.h"
#include "framework/gdi_handlemap.h"

using afx_gdi_detail::Maps;

IMPLEMENT_DYNCREATE(CDC, CObject)

CDC::CDC() : m_hDC(NULL), m_hAttribDC(NULL), m_bPrinting(FALSE) {}

CDC::~CDC() {
    if (m_hDC != NULL) ::DeleteDC(Detach());
}

CDC* PASCAL CDC::FromHandle(HDC hDC) {
    if (hDC == NULL) return NULL;
    auto& map = Maps().dc;
    if (CDC* p = map.LookupPermanent(hDC)) return p;
    if (CDC* p = map.LookupTemporary(hDC)) return p;
    CDC* p = new CDC;
    p->m_hDC = p->m_hAttribDC = hDC;
    map.temporary[hDC] = p;
    return p;
}

void PASCAL CDC::DeleteTempMap() {
    auto& map = Maps().dc;
    std::unordered_map<void*, CDC*> temp;
    temp.swap(map.temporary);
    for (auto& kv : temp) {
        // A temporary wrapper never owns its DC.
        kv.second->m_hDC = kv.second->m_hAttribDC = NULL;
        delete kv.second;
    }
}

BOOL CDC::Attach(HDC hDC) {
    ASSERT(m_hDC == NULL && m_hAttribDC == NULL);
    if (hDC == NULL) return FALSE;
    if (m_hDC != NULL) Maps().dc.RemovePermanent(m_hDC, this);  // never left mapped to us
    m_hDC = hDC;
    Maps().dc.SetPermanent(hDC, this);
    SetAttribDC(m_hDC);
    return TRUE;
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    if (hDC != NULL) Maps().dc.RemovePermanent(hDC, this);
    ReleaseAttribDC();
    m_hDC = NULL;
    return hDC;
}

void CDC::SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }
void CDC::SetOutputDC(HDC hDC) { m_hDC = hDC; }
void CDC::ReleaseAttribDC() { m_hAttribDC = NULL; }
void CDC::ReleaseOutputDC() { m_hDC = NULL; }

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData) {
    return Attach(::CreateDC(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODE*)lpInitData));
}

BOOL CDC::CreateIC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData) {
    return Attach(::CreateIC(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODE*)lpInitData));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return Attach(::CreateCompatibleDC(pDC != NULL ? pDC->m_hDC : NULL));
}

BOOL CDC::DeleteDC() {
    if (m_hDC == NULL) return FALSE;
    return ::DeleteDC(Detach());
}

int CDC::SaveDC() {
    int nRet = 0;
    if (m_hAttribDC != NULL) nRet = ::SaveDC(m_hAttribDC);
    if (m_hDC != m_hAttribDC && m_hDC != NULL && ::SaveDC(m_hDC) != 0) {
        // -1 tells RestoreDC that the two DCs were saved together.
        nRet = -1;
    }
    return nRet;
}

BOOL CDC::RestoreDC(int nSavedDC) {
    BOOL bRet = TRUE;
    if (m_hDC != m_hAttribDC && m_hDC != NULL) bRet = ::RestoreDC(m_hDC, nSavedDC);
    if (m_hAttribDC != NULL) bRet = ::RestoreDC(m_hAttribDC, nSavedDC) && bRet;
    return bRet;
}

int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

UINT CDC::SetBoundsRect(LPCRECT lpRectBounds, UINT flags) { return ::SetBoundsRect(m_hDC, lpRectBounds, flags); }

UINT CDC::GetBoundsRect(LPRECT lpRectBounds, UINT flags) { return ::GetBoundsRect(m_hAttribDC, lpRectBounds, flags); }

/////////////////////////////////////////////////////////////////////////////
// Selection

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    if (hObject == NULL) return NULL;
    HGDIOBJ hOld = NULL;
    if (m_hDC != m_hAttribDC && m_hDC != NULL) hOld = ::SelectObject(m_hDC, hObject);
    if (m_hAttribDC != NULL) hOld = ::SelectObject(m_hAttribDC, hObject);
    return hOld;
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    if (pObject == NULL) return NULL;
    return CGdiObject::FromHandle(SelectObject(pObject->m_hObject));
}

CPen* CDC::SelectObject(CPen* pPen) { return (CPen*)SelectObject((CGdiObject*)pPen); }
CBrush* CDC::SelectObject(CBrush* pBrush) { return (CBrush*)SelectObject((CGdiObject*)pBrush); }
CFont* CDC::SelectObject(CFont* pFont) { return (CFont*)SelectObject((CGdiObject*)pFont); }
CBitmap* CDC::SelectObject(CBitmap* pBitmap) { return (CBitmap*)SelectObject((CGdiObject*)pBitmap); }

int CDC::SelectObject(CRgn* pRgn) { return SelectClipRgn(pRgn); }

CGdiObject* CDC::SelectStockObject(int nIndex) {
    HGDIOBJ hObject = ::GetStockObject(nIndex);
    if (hObject == NULL) return NULL;
    return CGdiObject::FromHandle(SelectObject(hObject));
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
    HPALETTE hPal = (HPALETTE)pPalette->GetSafeHandle();
    if (hPal == NULL) return NULL;
    HPALETTE hOld = NULL;
    if (m_hDC != m_hAttribDC && m_hDC != NULL) hOld = ::SelectPalette(m_hDC, hPal, bForceBackground);
    if (m_hAttribDC != NULL) hOld = ::SelectPalette(m_hAttribDC, hPal, bForceBackground);
    return (CPalette*)CGdiObject::FromHandle(hOld);
}

UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }
void CDC::UpdateColors() { ::UpdateColors(m_hDC); }

CPen* CDC::GetCurrentPen() const { return (CPen*)CGdiObject::FromHandle(::GetCurrentObject(m_hAttribDC, OBJ_PEN)); }
CBrush* CDC::GetCurrentBrush() const {
    return (CBrush*)CGdiObject::FromHandle(::GetCurrentObject(m_hAttribDC, OBJ_BRUSH));
}
CPalette* CDC::GetCurrentPalette() const {
    return (CPalette*)CGdiObject::FromHandle(::GetCurrentObject(m_hAttribDC, OBJ_PAL));
}
CFont* CDC::GetCurrentFont() const {
    return (CFont*)CGdiObject::FromHandle(::GetCurrentObject(m_hAttribDC, OBJ_FONT));
}
CBitmap* CDC::GetCurrentBitmap() const {
    return (CBitmap*)CGdiObject::FromHandle(::GetCurrentObject(m_hAttribDC, OBJ_BITMAP));
}

/////////////////////////////////////////////////////////////////////////////
// Colours and modes: set on both DCs, answer the attribute DC's previous value.

#define AFX_DC_SET_BOTH(call, ...)                                                 \
    do {                                                                           \
        if (m_hDC != m_hAttribDC && m_hDC != NULL) ret = call(m_hDC, __VA_ARGS__); \
        if (m_hAttribDC != NULL) ret = call(m_hAttribDC, __VA_ARGS__);             \
    } while (0)

COLORREF CDC::GetDCBrushColor() const { return ::GetDCBrushColor(m_hAttribDC); }
COLORREF CDC::SetDCBrushColor(COLORREF crColor) {
    COLORREF ret = CLR_INVALID;
    AFX_DC_SET_BOTH(::SetDCBrushColor, crColor);
    return ret;
}
COLORREF CDC::GetDCPenColor() const { return ::GetDCPenColor(m_hAttribDC); }
COLORREF CDC::SetDCPenColor(COLORREF crColor) {
    COLORREF ret = CLR_INVALID;
    AFX_DC_SET_BOTH(::SetDCPenColor, crColor);
    return ret;
}
BOOL CDC::GetColorAdjustment(LPCOLORADJUSTMENT lpColorAdjust) const {
    return ::GetColorAdjustment(m_hAttribDC, lpColorAdjust);
}
BOOL CDC::SetColorAdjustment(const COLORADJUSTMENT* lpColorAdjust) {
    BOOL ret = FALSE;
    AFX_DC_SET_BOTH(::SetColorAdjustment, lpColorAdjust);
    return ret;
}
COLORREF CDC::GetNearestColor(COLORREF crColor) const { return ::GetNearestColor(m_hAttribDC, crColor); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
COLORREF CDC::SetBkColor(COLORREF crColor) {
    COLORREF ret = CLR_INVALID;
    AFX_DC_SET_BOTH(::SetBkColor, crColor);
    return ret;
}
int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
int CDC::SetBkMode(int nBkMode) {
    int ret = 0;
    AFX_DC_SET_BOTH(::SetBkMode, nBkMode);
    return ret;
}
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
COLORREF CDC::SetTextColor(COLORREF crColor) {
    COLORREF ret = CLR_INVALID;
    AFX_DC_SET_BOTH(::SetTextColor, crColor);
    return ret;
}
int CDC::GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }
int CDC::SetPolyFillMode(int nPolyFillMode) {
    int ret = 0;
    AFX_DC_SET_BOTH(::SetPolyFillMode, nPolyFillMode);
    return ret;
}
int CDC::GetROP2() const { return ::GetROP2(m_hAttribDC); }
int CDC::SetROP2(int nDrawMode) {
    int ret = 0;
    AFX_DC_SET_BOTH(::SetROP2, nDrawMode);
    return ret;
}
int CDC::GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }
int CDC::SetStretchBltMode(int nStretchMode) {
    int ret = 0;
    AFX_DC_SET_BOTH(::SetStretchBltMode, nStretchMode);
    return ret;
}
UINT CDC::GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }
UINT CDC::SetTextAlign(UINT nFlags) {
    UINT ret = GDI_ERROR;
    AFX_DC_SET_BOTH(::SetTextAlign, nFlags);
    return ret;
}
int CDC::GetTextCharacterExtra() const { return ::GetTextCharacterExtra(m_hAttribDC); }
int CDC::SetTextCharacterExtra(int nCharExtra) {
    int ret = 0;
    AFX_DC_SET_BOTH(::SetTextCharacterExtra, nCharExtra);
    return ret;
}
DWORD CDC::GetLayout() const { return m_hDC != NULL ? ::GetLayout(m_hDC) : GDI_ERROR; }
DWORD CDC::SetLayout(DWORD dwLayout) {
    DWORD ret = GDI_ERROR;
    AFX_DC_SET_BOTH(::SetLayout, dwLayout);
    return ret;
}

/////////////////////////////////////////////////////////////////////////////
// Coordinates

int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
int CDC::SetMapMode(int nMapMode) {
    int ret = 0;
    AFX_DC_SET_BOTH(::SetMapMode, nMapMode);
    return ret;
}

CPoint CDC::GetViewportOrg() const {
    POINT pt = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &pt);
    return CPoint(pt.x, pt.y);
}
CPoint CDC::SetViewportOrg(int x, int y) {
    POINT pt = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ::SetViewportOrgEx(m_hDC, x, y, &pt);
    if (m_hAttribDC != NULL) ::SetViewportOrgEx(m_hAttribDC, x, y, &pt);
    return CPoint(pt.x, pt.y);
}
CPoint CDC::SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
    POINT pt = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &pt);
    if (m_hAttribDC != NULL) ::OffsetViewportOrgEx(m_hAttribDC, nWidth, nHeight, &pt);
    return CPoint(pt.x, pt.y);
}
CSize CDC::GetViewportExt() const {
    SIZE size = {0, 0};
    ::GetViewportExtEx(m_hAttribDC, &size);
    return CSize(size.cx, size.cy);
}
CSize CDC::SetViewportExt(int cx, int cy) {
    SIZE size = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ::SetViewportExtEx(m_hDC, cx, cy, &size);
    if (m_hAttribDC != NULL) ::SetViewportExtEx(m_hAttribDC, cx, cy, &size);
    return CSize(size.cx, size.cy);
}
CSize CDC::SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
CPoint CDC::GetWindowOrg() const {
    POINT pt = {0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &pt);
    return CPoint(pt.x, pt.y);
}
CPoint CDC::SetWindowOrg(int x, int y) {
    POINT pt = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ::SetWindowOrgEx(m_hDC, x, y, &pt);
    if (m_hAttribDC != NULL) ::SetWindowOrgEx(m_hAttribDC, x, y, &pt);
    return CPoint(pt.x, pt.y);
}
CPoint CDC::SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
    POINT pt = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &pt);
    if (m_hAttribDC != NULL) ::OffsetWindowOrgEx(m_hAttribDC, nWidth, nHeight, &pt);
    return CPoint(pt.x, pt.y);
}
CSize CDC::GetWindowExt() const {
    SIZE size = {0, 0};
    ::GetWindowExtEx(m_hAttribDC, &size);
    return CSize(size.cx, size.cy);
}
CSize CDC::SetWindowExt(int cx, int cy) {
    SIZE size = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ::SetWindowExtEx(m_hDC, cx, cy, &size);
    if (m_hAttribDC != NULL) ::SetWindowExtEx(m_hAttribDC, cx, cy, &size);
    return CSize(size.cx, size.cy);
}
CSize CDC::SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }
void CDC::DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hAttribDC, (LPPOINT)lpRect, 2); }
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }
void CDC::LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hAttribDC, (LPPOINT)lpRect, 2); }

CPoint CDC::GetBrushOrg() const {
    POINT pt = {0, 0};
    ::GetBrushOrgEx(m_hDC, &pt);
    return CPoint(pt.x, pt.y);
}
CPoint CDC::SetBrushOrg(int x, int y) {
    // Brush patterns only matter where output goes.
    POINT pt = {0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &pt);
    return CPoint(pt.x, pt.y);
}
CPoint CDC::SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }
CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) {
    SIZE size = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ::ScaleViewportExtEx(m_hDC, xNum, xDenom, yNum, yDenom, &size);
    if (m_hAttribDC != NULL) ::ScaleViewportExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
    return CSize(size.cx, size.cy);
}
CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
    SIZE size = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ::ScaleWindowExtEx(m_hDC, xNum, xDenom, yNum, yDenom, &size);
    if (m_hAttribDC != NULL) ::ScaleWindowExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
    return CSize(size.cx, size.cy);
}
int CDC::GetGraphicsMode() const { return ::GetGraphicsMode(m_hAttribDC); }
int CDC::SetGraphicsMode(int iMode) {
    int ret = 0;
    AFX_DC_SET_BOTH(::SetGraphicsMode, iMode);
    return ret;
}
BOOL CDC::GetWorldTransform(XFORM* pXform) const { return ::GetWorldTransform(m_hAttribDC, pXform); }
BOOL CDC::SetWorldTransform(const XFORM* pXform) {
    BOOL ret = FALSE;
    AFX_DC_SET_BOTH(::SetWorldTransform, pXform);
    return ret;
}
BOOL CDC::ModifyWorldTransform(const XFORM* pXform, DWORD iMode) {
    BOOL ret = FALSE;
    AFX_DC_SET_BOTH(::ModifyWorldTransform, pXform, iMode);
    return ret;
}

// Sizes are magnitudes: scaled by the extents' ratio, without origins or axis direction
// (a size stays positive in the y-up metric modes).
namespace {
int ScaleMagnitude(int v, int num, int den) {
    num = num < 0 ? -num : num;
    den = den < 0 ? -den : den;
    return den == 0 ? v : ::MulDiv(v, num, den);
}
}  // namespace

void CDC::DPtoLP(LPSIZE lpSize) const {
    CSize win = GetWindowExt(), vp = GetViewportExt();
    lpSize->cx = ScaleMagnitude(lpSize->cx, win.cx, vp.cx);
    lpSize->cy = ScaleMagnitude(lpSize->cy, win.cy, vp.cy);
}
void CDC::LPtoDP(LPSIZE lpSize) const {
    CSize win = GetWindowExt(), vp = GetViewportExt();
    lpSize->cx = ScaleMagnitude(lpSize->cx, vp.cx, win.cx);
    lpSize->cy = ScaleMagnitude(lpSize->cy, vp.cy, win.cy);
}

namespace {
const int kHimetricPerInch = 2540;

// Logical inches of a DC (the screen's when there is none).
void LogicalInch(HDC hAttrib, int& cx, int& cy) {
    HDC hDC = hAttrib != NULL ? hAttrib : ::GetDC(NULL);
    cx = ::GetDeviceCaps(hDC, LOGPIXELSX);
    cy = ::GetDeviceCaps(hDC, LOGPIXELSY);
    if (hAttrib == NULL) ::ReleaseDC(NULL, hDC);
    if (cx <= 0) cx = 96;
    if (cy <= 0) cy = 96;
}

// The fixed-scale mapping modes (MM_LOMETRIC .. MM_TWIPS) measure physical inches.
bool IsConstrainedMapMode(int nMapMode) { return nMapMode > MM_TEXT && nMapMode < MM_ISOTROPIC; }
}  // namespace

void CDC::DPtoHIMETRIC(LPSIZE lpSize) const {
    int nMapMode = m_hAttribDC != NULL ? GetMapMode() : MM_TEXT;
    if (IsConstrainedMapMode(nMapMode)) {
        CDC* self = const_cast<CDC*>(this);
        self->SetMapMode(MM_HIMETRIC);
        DPtoLP(lpSize);
        self->SetMapMode(nMapMode);
    } else {
        int cx, cy;
        LogicalInch(m_hAttribDC, cx, cy);
        lpSize->cx = ::MulDiv(lpSize->cx, kHimetricPerInch, cx);
        lpSize->cy = ::MulDiv(lpSize->cy, kHimetricPerInch, cy);
    }
}

void CDC::HIMETRICtoDP(LPSIZE lpSize) const {
    int nMapMode = m_hAttribDC != NULL ? GetMapMode() : MM_TEXT;
    if (IsConstrainedMapMode(nMapMode)) {
        CDC* self = const_cast<CDC*>(this);
        self->SetMapMode(MM_HIMETRIC);
        LPtoDP(lpSize);
        self->SetMapMode(nMapMode);
    } else {
        int cx, cy;
        LogicalInch(m_hAttribDC, cx, cy);
        lpSize->cx = ::MulDiv(lpSize->cx, cx, kHimetricPerInch);
        lpSize->cy = ::MulDiv(lpSize->cy, cy, kHimetricPerInch);
    }
}

void CDC::LPtoHIMETRIC(LPSIZE lpSize) const {
    LPtoDP(lpSize);
    DPtoHIMETRIC(lpSize);
}

void CDC::HIMETRICtoLP(LPSIZE lpSize) const {
    HIMETRICtoDP(lpSize);
    DPtoLP(lpSize);
}

/////////////////////////////////////////////////////////////////////////////
// Clipping

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::PtVisible(POINT point) const { return PtVisible(point.x, point.y); }
BOOL CDC::RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

int CDC::SelectClipRgn(CRgn* pRgn) {
    HRGN hRgn = (HRGN)pRgn->GetSafeHandle();  // NULL removes the clip region
    int ret = ERROR;
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ret = ::SelectClipRgn(m_hDC, hRgn);
    if (m_hAttribDC != NULL) ret = ::SelectClipRgn(m_hAttribDC, hRgn);
    return ret;
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
    HRGN hRgn = (HRGN)pRgn->GetSafeHandle();
    int ret = ERROR;
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ret = ::ExtSelectClipRgn(m_hDC, hRgn, nMode);
    if (m_hAttribDC != NULL) ret = ::ExtSelectClipRgn(m_hAttribDC, hRgn, nMode);
    return ret;
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
    int ret = ERROR;
    AFX_DC_SET_BOTH(::ExcludeClipRect, x1, y1, x2, y2);
    return ret;
}
int CDC::ExcludeClipRect(LPCRECT lpRect) {
    return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
    int ret = ERROR;
    AFX_DC_SET_BOTH(::IntersectClipRect, x1, y1, x2, y2);
    return ret;
}
int CDC::IntersectClipRect(LPCRECT lpRect) {
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}
int CDC::OffsetClipRgn(int x, int y) {
    int ret = ERROR;
    AFX_DC_SET_BOTH(::OffsetClipRgn, x, y);
    return ret;
}
int CDC::OffsetClipRgn(SIZE size) { return OffsetClipRgn(size.cx, size.cy); }

/////////////////////////////////////////////////////////////////////////////
// Lines and shapes

CPoint CDC::GetCurrentPosition() const {
    POINT pt = {0, 0};
    ::GetCurrentPositionEx(m_hAttribDC, &pt);
    return CPoint(pt.x, pt.y);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT pt = {0, 0};
    if (m_hDC != m_hAttribDC && m_hDC != NULL) ::MoveToEx(m_hDC, x, y, &pt);
    if (m_hAttribDC != NULL) ::MoveToEx(m_hAttribDC, x, y, &pt);
    return CPoint(pt.x, pt.y);
}
CPoint CDC::MoveTo(POINT point) { return MoveTo(point.x, point.y); }

BOOL CDC::LineTo(int x, int y) {
    // Keep the attribute DC's current position in step with the output DC's.
    if (m_hAttribDC != NULL && m_hAttribDC != m_hDC) ::MoveToEx(m_hAttribDC, x, y, NULL);
    return ::LineTo(m_hDC, x, y);
}
BOOL CDC::LineTo(POINT point) { return LineTo(point.x, point.y); }

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}
BOOL CDC::Arc(LPCRECT r, POINT s, POINT e) { return Arc(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y); }
BOOL CDC::Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
BOOL CDC::PolyBezier(const POINT* lpPoints, int nCount) { return ::PolyBezier(m_hDC, lpPoints, (DWORD)nCount); }

namespace {
// Drawing that moves the output DC's current position leaves the attribute DC's where
// it was; copy it over so GetCurrentPosition answers the same as the platform would.
void SyncCurrentPosition(HDC hOutput, HDC hAttrib) {
    if (hAttrib == NULL || hAttrib == hOutput) return;
    POINT pt;
    if (::GetCurrentPositionEx(hOutput, &pt)) ::MoveToEx(hAttrib, pt.x, pt.y, NULL);
}
}  // namespace

BOOL CDC::ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    BOOL ok = ::ArcTo(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    SyncCurrentPosition(m_hDC, m_hAttribDC);
    return ok;
}
BOOL CDC::ArcTo(LPCRECT r, POINT s, POINT e) { return ArcTo(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y); }
BOOL CDC::AngleArc(int x, int y, int nRadius, float fStartAngle, float fSweepAngle) {
    BOOL ok = ::AngleArc(m_hDC, x, y, (DWORD)nRadius, fStartAngle, fSweepAngle);
    SyncCurrentPosition(m_hDC, m_hAttribDC);
    return ok;
}
int CDC::GetArcDirection() const { return ::GetArcDirection(m_hAttribDC); }
int CDC::SetArcDirection(int nArcDirection) {
    int ret = 0;
    AFX_DC_SET_BOTH(::SetArcDirection, nArcDirection);
    return ret;
}
BOOL CDC::PolylineTo(const POINT* lpPoints, int nCount) {
    BOOL ok = ::PolylineTo(m_hDC, lpPoints, (DWORD)nCount);
    SyncCurrentPosition(m_hDC, m_hAttribDC);
    return ok;
}
BOOL CDC::PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount) {
    return ::PolyPolyline(m_hDC, lpPoints, lpPolyPoints, (DWORD)nCount);
}
BOOL CDC::PolyBezierTo(const POINT* lpPoints, int nCount) {
    BOOL ok = ::PolyBezierTo(m_hDC, lpPoints, (DWORD)nCount);
    SyncCurrentPosition(m_hDC, m_hAttribDC);
    return ok;
}
BOOL CDC::PolyDraw(const POINT* lpPoints, const BYTE* lpTypes, int nCount) {
    BOOL ok = ::PolyDraw(m_hDC, lpPoints, lpTypes, nCount);
    SyncCurrentPosition(m_hDC, m_hAttribDC);
    return ok;
}

BOOL CDC::BeginPath() { return ::BeginPath(m_hDC); }
BOOL CDC::EndPath() { return ::EndPath(m_hDC); }
BOOL CDC::AbortPath() { return ::AbortPath(m_hDC); }
BOOL CDC::CloseFigure() { return ::CloseFigure(m_hDC); }
BOOL CDC::FlattenPath() { return ::FlattenPath(m_hDC); }
BOOL CDC::WidenPath() { return ::WidenPath(m_hDC); }
BOOL CDC::StrokePath() { return ::StrokePath(m_hDC); }
BOOL CDC::FillPath() { return ::FillPath(m_hDC); }
BOOL CDC::StrokeAndFillPath() { return ::StrokeAndFillPath(m_hDC); }
float CDC::GetMiterLimit() const {
    FLOAT f = 0;
    ::GetMiterLimit(m_hDC, &f);
    return f;
}
BOOL CDC::SetMiterLimit(float fMiterLimit) {
    BOOL ret = FALSE;
    AFX_DC_SET_BOTH(::SetMiterLimit, fMiterLimit, NULL);
    return ret;
}
int CDC::GetPath(LPPOINT lpPoints, LPBYTE lpTypes, int nCount) const {
    return ::GetPath(m_hDC, lpPoints, lpTypes, nCount);
}
BOOL CDC::SelectClipPath(int nMode) {
    // The path lives in the output DC; the attribute DC takes the resulting clip region.
    if (!::SelectClipPath(m_hDC, nMode)) return FALSE;
    if (m_hAttribDC != NULL && m_hAttribDC != m_hDC) {
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        if (::GetClipRgn(m_hDC, hRgn) == 1) ::SelectClipRgn(m_hAttribDC, hRgn);
        ::DeleteObject(hRgn);
    }
    return TRUE;
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    if (lpRect != NULL && pBrush != NULL) ::FillRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle());
}
void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
    if (lpRect != NULL && pBrush != NULL) ::FrameRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle());
}
void CDC::InvertRect(LPCRECT lpRect) {
    if (lpRect != NULL) ::InvertRect(m_hDC, lpRect);
}
BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
BOOL CDC::DrawIcon(POINT point, HICON hIcon) { return DrawIcon(point.x, point.y, hIcon); }

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush) {
    return ::DrawState(m_hDC, hBrush, NULL, (LPARAM)hBitmap, 0, pt.x, pt.y, size.cx, size.cy,
                       nFlags | DST_BITMAP);
}
BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush) {
    return DrawState(pt, size, (HBITMAP)pBitmap->GetSafeHandle(), nFlags, (HBRUSH)pBrush->GetSafeHandle());
}
BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush) {
    return ::DrawState(m_hDC, hBrush, NULL, (LPARAM)hIcon, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_ICON);
}
BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush) {
    return DrawState(pt, size, hIcon, nFlags, (HBRUSH)pBrush->GetSafeHandle());
}
BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    HBRUSH hBrush) {
    return ::DrawState(m_hDC, hBrush, NULL, (LPARAM)lpszText, (WPARAM)nTextLen, pt.x, pt.y, size.cx, size.cy,
                       nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}
BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    CBrush* pBrush) {
    return DrawState(pt, size, lpszText, nFlags, bPrefixText, nTextLen, (HBRUSH)pBrush->GetSafeHandle());
}
BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags, HBRUSH hBrush) {
    return ::DrawState(m_hDC, hBrush, lpDrawProc, lData, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_COMPLEX);
}
BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags, CBrush* pBrush) {
    return DrawState(pt, size, lpDrawProc, lData, nFlags, (HBRUSH)pBrush->GetSafeHandle());
}

BOOL CDC::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return ::Chord(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}
void CDC::DrawFocusRect(LPCRECT lpRect) {
    if (lpRect != NULL) ::DrawFocusRect(m_hDC, lpRect);
}
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}
BOOL CDC::Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
BOOL CDC::PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount) {
    return ::PolyPolygon(m_hDC, lpPoints, lpPolyCounts, nCount);
}
BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}
BOOL CDC::RoundRect(LPCRECT r, POINT point) { return RoundRect(r->left, r->top, r->right, r->bottom, point.x, point.y); }

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
    if (pRgn == NULL || pBrush == NULL) return FALSE;
    return ::FillRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle());
}
BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
    if (pRgn == NULL || pBrush == NULL) return FALSE;
    return ::FrameRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle(), nWidth, nHeight);
}
BOOL CDC::InvertRgn(CRgn* pRgn) { return pRgn != NULL && ::InvertRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
BOOL CDC::PaintRgn(CRgn* pRgn) { return pRgn != NULL && ::PaintRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    if (lpRect == NULL) return;
    RECT rc = *lpRect;
    if (rc.left > rc.right) {
        LONG t = rc.left;
        rc.left = rc.right;
        rc.right = t;
    }
    if (rc.top > rc.bottom) {
        LONG t = rc.top;
        rc.top = rc.bottom;
        rc.bottom = t;
    }
    ::SetBkColor(m_hDC, clr);
    DWORD layout = ::GetLayout(m_hDC);
    if (layout != GDI_ERROR && (layout & LAYOUT_RTL) != 0) {
        // Wine mirrors an opaque ExtTextOut rectangle one pixel short in a right-to-left
        // DC; a brush fill lands where Windows puts both.
        HBRUSH hBrush = ::CreateSolidBrush(clr);
        ::FillRect(m_hDC, &rc, hBrush);
        ::DeleteObject(hBrush);
        return;
    }
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    RECT rc = {x, y, x + cx, y + cy};
    FillSolidRect(&rc, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    if (lpRect == NULL) return;
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    // The right and bottom edges are filled backwards from the far edge, which the
    // normalisation of FillSolidRect turns into the last column and row.
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

namespace {
// The frame of r that is size thick, as a region in device coordinates of hDC.
HRGN DragFrameRegion(HDC hDC, const RECT& r, SIZE size) {
    RECT outer = r, inner = r;
    ::InflateRect(&inner, -size.cx, -size.cy);
    if (!::IntersectRect(&inner, &inner, &r)) ::SetRectEmpty(&inner);
    ::LPtoDP(hDC, (LPPOINT)&outer, 2);
    ::LPtoDP(hDC, (LPPOINT)&inner, 2);
    HRGN hOuter = ::CreateRectRgnIndirect(&outer);
    HRGN hInner = ::CreateRectRgnIndirect(&inner);
    ::CombineRgn(hOuter, hOuter, hInner, RGN_XOR);
    ::DeleteObject(hInner);
    return hOuter;
}

// Inverts hRgn (device coordinates) with the brush, inside the DC's own clipping.
void InvertRegionWith(HDC hDC, HRGN hRgn, HBRUSH hBrush) {
    int saved = ::SaveDC(hDC);
    ::ExtSelectClipRgn(hDC, hRgn, RGN_AND);
    RECT box;
    if (::GetClipBox(hDC, &box) != NULLREGION) {
        HGDIOBJ hOld = ::SelectObject(hDC, hBrush);
        ::PatBlt(hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
        ::SelectObject(hDC, hOld);
    }
    ::RestoreDC(hDC, saved);
}
}  // namespace

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
    if (lpRect == NULL || m_hDC == NULL) return;
    HBRUSH hBrush = (HBRUSH)(pBrush != NULL ? pBrush : GetHalftoneBrush())->GetSafeHandle();
    HBRUSH hBrushLast = pBrushLast != NULL ? (HBRUSH)pBrushLast->GetSafeHandle() : hBrush;
    HRGN hNew = DragFrameRegion(m_hDC, *lpRect, size);
    if (lpRectLast != NULL) {
        HRGN hLast = DragFrameRegion(m_hDC, *lpRectLast, sizeLast);
        if (hBrushLast == hBrush) {
            // Inverting twice restores: only the pixels in one frame but not the other change.
            ::CombineRgn(hNew, hNew, hLast, RGN_XOR);
        } else {
            InvertRegionWith(m_hDC, hLast, hBrushLast);
        }
        ::DeleteObject(hLast);
    }
    InvertRegionWith(m_hDC, hNew, hBrush);
    ::DeleteObject(hNew);
}

BOOL CDC::GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements, DWORD dwMode) {
    return ::GradientFill(m_hDC, pVertices, nVertices, pMesh, nMeshElements, dwMode);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) {
    return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
}

/////////////////////////////////////////////////////////////////////////////
// Bits

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}
BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != NULL ? pSrcDC->m_hDC : NULL, xSrc, ySrc, dwRop);
}
BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != NULL ? pSrcDC->m_hDC : NULL, xSrc, ySrc,
                        nSrcWidth, nSrcHeight, dwRop);
}
BOOL CDC::MaskBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, CBitmap& maskBitmap,
                  int xMask, int yMask, DWORD dwRop) {
    return ::MaskBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != NULL ? pSrcDC->m_hDC : NULL, xSrc, ySrc,
                     (HBITMAP)maskBitmap.m_hObject, xMask, yMask, dwRop);
}
BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                         int nSrcWidth, int nSrcHeight, UINT clrTransparent) {
    if (pSrcDC == NULL) return FALSE;
    return ::TransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->m_hDC, xSrc, ySrc, nSrcWidth,
                            nSrcHeight, clrTransparent);
}
BOOL CDC::AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend) {
    if (pSrcDC == NULL) return FALSE;
    return ::AlphaBlend(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->m_hDC, xSrc, ySrc, nSrcWidth,
                        nSrcHeight, blend);
}
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::GetPixel(POINT point) const { return GetPixel(point.x, point.y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
COLORREF CDC::SetPixel(POINT point, COLORREF crColor) { return SetPixel(point.x, point.y, crColor); }
BOOL CDC::SetPixelV(int x, int y, COLORREF crColor) { return ::SetPixelV(m_hDC, x, y, crColor); }
BOOL CDC::SetPixelV(POINT point, COLORREF crColor) { return SetPixelV(point.x, point.y, crColor); }
BOOL CDC::FloodFill(int x, int y, COLORREF crColor) { return ::FloodFill(m_hDC, x, y, crColor); }
BOOL CDC::ExtFloodFill(int x, int y, COLORREF crColor, UINT nFillType) {
    return ::ExtFloodFill(m_hDC, x, y, crColor, nFillType);
}

/////////////////////////////////////////////////////////////////////////////
// Text

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
    return ::TextOut(m_hDC, x, y, lpszString, nCount);
}
BOOL CDC::TextOut(int x, int y, const CString& str) { return TextOut(x, y, (LPCTSTR)str, str.GetLength()); }
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                     LPINT lpDxWidths) {
    return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}
BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths) {
    return ExtTextOut(x, y, nOptions, lpRect, (LPCTSTR)str, (UINT)str.GetLength(), lpDxWidths);
}
int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    if (lpszString == NULL || lpRect == NULL) return 0;
    return ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat);
}
int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return DrawText((LPCTSTR)str, str.GetLength(), lpRect, nFormat);
}
int CDC::DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) {
    if (lpszString == NULL || lpRect == NULL) return 0;
    return ::DrawTextEx(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}
int CDC::DrawTextEx(const CString& str, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) {
    // DT_MODIFYSTRING would write into the caller's string: never pass it on here.
    CString copy(str);
    return DrawTextEx(copy.GetBuffer(copy.GetLength() + 1), copy.GetLength(), lpRect,
                      nFormat & ~(UINT)DT_MODIFYSTRING, lpDTParams);
}
BOOL CDC::GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData, int nCount,
                     int x, int y, int nWidth, int nHeight) {
    return ::GrayString(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), (GRAYSTRINGPROC)lpfnOutput, lpData, nCount, x, y,
                        nWidth, nHeight);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    if (lpszString != NULL) ::GetTextExtentPoint32(m_hAttribDC, lpszString, nCount, &size);
    return CSize(size.cx, size.cy);
}
CSize CDC::GetTextExtent(const CString& str) const { return GetTextExtent((LPCTSTR)str, str.GetLength()); }
CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    if (lpszString != NULL) ::GetTextExtentPoint32(m_hDC, lpszString, nCount, &size);
    return CSize(size.cx, size.cy);
}
CSize CDC::GetOutputTextExtent(const CString& str) const { return GetOutputTextExtent((LPCTSTR)str, str.GetLength()); }
BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetrics(m_hAttribDC, lpMetrics); }
BOOL CDC::GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetrics(m_hDC, lpMetrics); }
int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const { return ::GetTextFace(m_hAttribDC, nCount, lpszFacename); }
int CDC::GetTextFace(CString& rString) const {
    TCHAR face[LF_FACESIZE + 1] = {0};
    int n = ::GetTextFace(m_hAttribDC, LF_FACESIZE, face);
    rString = face;
    return n;
}
BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const {
    return ::GetCharWidth(m_hAttribDC, nFirstChar, nLastChar, lpBuffer);
}
BOOL CDC::GetOutputCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const {
    return ::GetCharWidth(m_hDC, nFirstChar, nLastChar, lpBuffer);
}
BOOL CDC::GetCharABCWidths(UINT nFirstChar, UINT nLastChar, LPABC lpabc) const {
    return ::GetCharABCWidths(m_hAttribDC, nFirstChar, nLastChar, lpabc);
}
UINT CDC::GetOutlineTextMetrics(UINT cbData, LPOUTLINETEXTMETRIC lpotm) const {
    return ::GetOutlineTextMetrics(m_hAttribDC, cbData, lpotm);
}
DWORD CDC::GetKerningPairs(int nPairs, LPKERNINGPAIR lpkrnpair) const {
    return ::GetKerningPairs(m_hAttribDC, (DWORD)nPairs, lpkrnpair);
}
int CDC::SetTextJustification(int nBreakExtra, int nBreakCount) {
    int ret = 0;
    AFX_DC_SET_BOTH(::SetTextJustification, nBreakExtra, nBreakCount);
    return ret;
}
DWORD CDC::SetMapperFlags(DWORD dwFlag) {
    DWORD ret = GDI_ERROR;
    AFX_DC_SET_BOTH(::SetMapperFlags, dwFlag);
    return ret;
}
CSize CDC::GetOutputTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions,
                                     LPINT lpnTabStopPositions) const {
    DWORD d = ::GetTabbedTextExtent(m_hDC, lpszString, nCount, nTabPositions, lpnTabStopPositions);
    return CSize(LOWORD(d), HIWORD(d));
}
CSize CDC::GetTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const {
    DWORD d = ::GetTabbedTextExtent(m_hAttribDC, lpszString, nCount, nTabPositions, lpnTabStopPositions);
    return CSize(LOWORD(d), HIWORD(d));
}
CSize CDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
                         LPINT lpnTabStopPositions, int nTabOrigin) {
    LONG d = ::TabbedTextOut(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions, nTabOrigin);
    return CSize(LOWORD(d), HIWORD(d));
}

BOOL CDC::PlayMetaFile(HMETAFILE hMF) { return ::PlayMetaFile(m_hDC, hMF); }
BOOL CDC::PlayMetaFile(HENHMETAFILE hEnhMetaFile, LPCRECT lpBounds) {
    return ::PlayEnhMetaFile(m_hDC, hEnhMetaFile, lpBounds);
}
BOOL CDC::AddMetaFileComment(UINT nDataSize, const BYTE* pCommentData) {
    return ::GdiComment(m_hDC, nDataSize, pCommentData);
}
DWORD CDC::GetFontData(DWORD dwTable, DWORD dwOffset, LPVOID lpData, DWORD cbData) const {
    return ::GetFontData(m_hAttribDC, dwTable, dwOffset, lpData, cbData);
}
DWORD CDC::GetGlyphOutline(UINT nChar, UINT nFormat, LPGLYPHMETRICS lpgm, DWORD cbBuffer, LPVOID lpBuffer,
                           const MAT2* lpmat2) const {
    return ::GetGlyphOutline(m_hAttribDC, nChar, nFormat, lpgm, cbBuffer, lpBuffer, lpmat2);
}
BOOL CDC::ResetDC(const DEVMODE* lpDevMode) {
    // Both handles are the printer's: reset the attribute DC as well when it differs.
    HDC h = ::ResetDC(m_hDC, lpDevMode);
    if (h != NULL && m_hAttribDC != NULL && m_hAttribDC != m_hDC) ::ResetDC(m_hAttribDC, lpDevMode);
    return h != NULL;
}
int CDC::SetAbortProc(BOOL(CALLBACK* lpfn)(HDC, int)) { return ::SetAbortProc(m_hDC, (ABORTPROC)lpfn); }

int CDC::StartDoc(LPDOCINFO lpDocInfo) { return ::StartDoc(m_hDC, lpDocInfo); }
int CDC::StartDoc(LPCTSTR lpszDocName) {
    DOCINFO di;
    ::ZeroMemory(&di, sizeof(di));
    di.cbSize = sizeof(di);
    di.lpszDocName = lpszDocName;
    return StartDoc(&di);
}
int CDC::StartPage() { return ::StartPage(m_hDC); }
int CDC::EndPage() { return ::EndPage(m_hDC); }
int CDC::EndDoc() { return ::EndDoc(m_hDC); }
int CDC::AbortDoc() { return ::AbortDoc(m_hDC); }
int CDC::Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData) {
    return ::Escape(m_hDC, nEscape, nCount, lpszInData, lpOutData);
}

BOOL CDC::ScrollDC(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* pRgnUpdate,
                   LPRECT lpRectUpdate) {
    return ::ScrollDC(m_hDC, dx, dy, lpRectScroll, lpRectClip, (HRGN)pRgnUpdate->GetSafeHandle(), lpRectUpdate);
}

CBrush* PASCAL CDC::GetHalftoneBrush() {
    // Made once and never freed: it is handed out to any thread, so it is kept out of
    // the per-thread maps (a plain object with its handle set directly).
    static CBrush* s_brush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i) pattern[i] = (WORD)(0x5555 << (i & 1));
        HBITMAP hbm = ::CreateBitmap(8, 8, 1, 1, pattern);
        CBrush* p = new CBrush;
        p->m_hObject = ::CreatePatternBrush(hbm);
        ::DeleteObject(hbm);
        return p;
    }();
    return s_brush;
}
