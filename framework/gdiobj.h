// GDI object wrappers: CGdiObject and its families (fonts, brushes, pens, bitmaps,
// palettes, regions). Each object owns its handle: the destructor deletes it unless it
// was detached. FromHandle of a handle no object owns gives a temporary wrapper of the
// right family that lives until the thread's next idle time (see gdi_handlemap.h).
#pragma once
#include "framework/platform.h"
#include "framework/object.h"
#include "framework/geometry.h"
#include "framework/str.h"

// windowsx.h defines CopyRgn as a function-like macro; it would swallow CRgn::CopyRgn.
#ifdef CopyRgn
#undef CopyRgn
#endif

class CDC;

// Frees the calling thread's temporary DC, GDI object, menu and image-list wrappers
// (those that FromHandle made for handles no object owns). The thread's idle
// processing calls it; wrappers obtained before must not be used afterwards.
void AFXAPI AfxDeleteTempGdiMaps();
// For a thread about to end: its temporary wrappers and (when no object is attached on
// it any more) its maps themselves are freed. Threads that never idle call it.
void AFXAPI AfxTermThreadGdiMaps();

// Classic callers ask a possibly-NULL object pointer for its handle (pFont->GetSafeHandle()).
// Calling through NULL is undefined in C++ and the optimiser would drop a plain
// "this == NULL" test, so the safe accessors hide the pointer's origin from it first.
template <class T>
inline const T* AfxOpaquePtr(const T* p) {
    __asm__("" : "+r"(p));
    return p;
}

class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    HGDIOBJ m_hObject;

    CGdiObject();
    virtual ~CGdiObject();

    operator HGDIOBJ() const { return GetSafeHandle(); }
    HGDIOBJ GetSafeHandle() const {
        const CGdiObject* p = AfxOpaquePtr(this);
        return p ? p->m_hObject : nullptr;
    }

    // The object attached to hObject, else a temporary wrapper (NULL for NULL).
    static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
    static void PASCAL DeleteTempMap();

    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();

    int GetObject(int nCount, LPVOID lpObject) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int nIndex);
    BOOL UnrealizeObject();

    BOOL operator==(const CGdiObject& obj) const { return obj.m_hObject == m_hObject; }
    BOOL operator!=(const CGdiObject& obj) const { return obj.m_hObject != m_hObject; }

private:
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    static CPen* PASCAL FromHandle(HPEN hPen) { return (CPen*)CGdiObject::FromHandle(hPen); }

    CPen() {}
    // These constructors throw CResourceException when the pen cannot be made.
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0,
         const DWORD* lpStyle = NULL);

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0,
                   const DWORD* lpStyle = NULL);
    BOOL CreatePenIndirect(LPLOGPEN lpLogPen);

    operator HPEN() const { return (HPEN)GetSafeHandle(); }
    int GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }
    int GetExtLogPen(EXTLOGPEN* pLogPen) const { return GetObject(sizeof(EXTLOGPEN), pLogPen); }
};

class CBitmap;

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    static CBrush* PASCAL FromHandle(HBRUSH hBrush) { return (CBrush*)CGdiObject::FromHandle(hBrush); }

    CBrush() {}
    // These constructors throw CResourceException when the brush cannot be made.
    explicit CBrush(COLORREF crColor);
    CBrush(int nIndex, COLORREF crColor);
    explicit CBrush(CBitmap* pBitmap);

    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
    BOOL CreatePatternBrush(CBitmap* pBitmap);
    BOOL CreateDIBPatternBrush(HGLOBAL hPackedDIB, UINT nUsage);
    BOOL CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage);
    BOOL CreateSysColorBrush(int nIndex);

    operator HBRUSH() const { return (HBRUSH)GetSafeHandle(); }
    int GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    static CFont* PASCAL FromHandle(HFONT hFont) { return (CFont*)CGdiObject::FromHandle(hFont); }

    CFont() {}

    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                    BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                    BYTE nPitchAndFamily, LPCTSTR lpszFacename);
    // nPointSize is in tenths of a point; the height is mapped through pDC (the screen
    // when NULL), so the font has that size on that device.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = NULL);
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = NULL);

    operator HFONT() const { return (HFONT)GetSafeHandle(); }
    int GetLogFont(LOGFONT* pLogFont) const { return GetObject(sizeof(LOGFONT), pLogFont); }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* PASCAL FromHandle(HBITMAP hBitmap) { return (CBitmap*)CGdiObject::FromHandle(hBitmap); }

    CBitmap() {}

    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadOEMBitmap(UINT nIDBitmap);
    // The bitmap resource with its button colours mapped to the current system colours
    // (CreateMappedBitmap); lpColorMap NULL maps the standard four.
    BOOL LoadMappedBitmap(UINT nIDBitmap, UINT nFlags = 0, LPCOLORMAP lpColorMap = NULL, int nMapSize = 0);
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight);

    operator HBITMAP() const { return (HBITMAP)GetSafeHandle(); }
    // For a DIB section, bmBits points at its pixels.
    int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
    DWORD SetBitmapBits(DWORD dwCount, const void* lpBits);
    DWORD GetBitmapBits(DWORD dwCount, LPVOID lpBits) const;
    CSize SetBitmapDimension(int nWidth, int nHeight);
    CSize GetBitmapDimension() const;
};

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)
public:
    static CPalette* PASCAL FromHandle(HPALETTE hPalette) {
        return (CPalette*)CGdiObject::FromHandle(hPalette);
    }

    CPalette() {}

    BOOL CreatePalette(LPLOGPALETTE lpLogPalette);
    BOOL CreateHalftonePalette(CDC* pDC);

    operator HPALETTE() const { return (HPALETTE)GetSafeHandle(); }
    int GetEntryCount();
    UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const;
    UINT SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors);
    void AnimatePalette(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors);
    UINT GetNearestPaletteIndex(COLORREF crColor) const;
    BOOL ResizePalette(UINT nNumEntries);
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    static CRgn* PASCAL FromHandle(HRGN hRgn) { return (CRgn*)CGdiObject::FromHandle(hRgn); }

    CRgn() {}

    operator HRGN() const { return (HRGN)GetSafeHandle(); }

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT lpRect);
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
    BOOL CreateEllipticRgnIndirect(LPCRECT lpRect);
    BOOL CreatePolygonRgn(LPPOINT lpPoints, int nCount, int nMode);
    BOOL CreatePolyPolygonRgn(LPPOINT lpPoints, LPINT lpPolyCounts, int nCount, int nPolyFillMode);
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL CreateFromPath(CDC* pDC);
    BOOL CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData);

    void SetRectRgn(int x1, int y1, int x2, int y2);
    void SetRectRgn(LPCRECT lpRect);
    // Both return the region type (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
    int CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode);
    int CopyRgn(CRgn* pRgnSrc);
    BOOL EqualRgn(CRgn* pRgn) const;
    int OffsetRgn(int x, int y);
    int OffsetRgn(POINT point);
    int GetRgnBox(LPRECT lpRect) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT point) const;
    BOOL RectInRegion(LPCRECT lpRect) const;
    int GetRegionData(LPRGNDATA lpRgnData, int nCount) const;
};
