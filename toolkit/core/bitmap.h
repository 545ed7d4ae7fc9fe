// CExtBitmap: the toolkit's image. One device-independent bitmap kept as a single
// aligned block (colour masks, info header, palette, rows) so that the platform's DIB
// functions can take it without copying. Reading, writing, scaling, drawing, regions
// and the shared colour arithmetic live here too.
//
// The header needs only the Windows types; the framework classes that appear in
// signatures are declared, not included, so that the colour arithmetic can be used
// by code that does not want the whole framework.
#pragma once
#include "framework/platform.h"

class CArchive;
class CFile;
class CSize;
template <class TYPE, class ARG_TYPE> class CArray;
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap;

// A cx by cy 32-bit BI_RGB DIB section, rows from the top down unless bBottomUp; its bits
// in *ppBits. NULL, with *ppBits NULL, when cx or cy is not above 0 or the system refuses
// (a section it makes without bits counts as refused). The libraries make their 32-bit
// sections through this so that the header is filled in one place.
HBITMAP CreateDib32(HDC hDC, int cx, int cy, void** ppBits, bool bBottomUp = false);

class CExtBitmap
{
public:
    // ---- pixel block ---------------------------------------------------------------
    // A block is addressed by its info header; the four colour masks (red, green,
    // blue, alpha) lie in the 16 bytes before it, the palette and rows after it.
    static LPBITMAPINFOHEADER AllocBlock(
        int nWidth, int nHeight, int nBPP,
        DWORD dwMaskRed = 0, DWORD dwMaskGreen = 0, DWORD dwMaskBlue = 0, DWORD dwMaskAlpha = 0);
    static void FreeBlock(LPBITMAPINFOHEADER pBlock);
    static LPBYTE GetBitsPtr(LPBITMAPINFOHEADER pBlock);
    static LPBYTE GetScanLine(LPBITMAPINFOHEADER pBlock, int nRow, ULONG nStride);
    static ULONG GetStride(int nWidth, int nBPP);
    static int GetPaletteSize(int nBPP);
    // Bytes of header, palette, padding and rows (the 16 mask bytes not counted);
    // 0 when the sizes are refused.
    static ULONGLONG GetBlockSize(int nWidth, int nHeight, int nBPP);
    static DWORD GetMask(LPBITMAPINFOHEADER pBlock, int nIndex);
    static LPDWORD GetMaskPtr(LPBITMAPINFOHEADER pBlock);
    static int NormalizeBPP(int nBPP);

    // Sizes that a block may have; anything beyond is treated as damaged input.
    enum
    {
        __MAX_BLOCK_SIDE = 32768,
    };
    static const ULONGLONG g_nMaxBlockBytes = 256ULL * 1024ULL * 1024ULL;

    // ---- BMP streams ---------------------------------------------------------------
    static LPBITMAPINFOHEADER ReadBMP(CArchive& ar, bool bEnableThrowException = false,
                                      bool bNoFileHeader = false);
    static void WriteBMP(LPBITMAPINFOHEADER pBlock, CArchive& ar,
                         bool bEnableThrowException = false, bool bUseRLE8 = false);
    static HBITMAP CopyBitmapRect(HBITMAP hBitmap, const RECT* pRect = NULL, void** ppBits = NULL);
    // The module that a resource of this type and name is loaded from when the caller
    // names none.
    static HINSTANCE stat_FindResourceHandle(LPCTSTR lpszType, LPCTSTR lpszName);

    // ---- scaling filters -----------------------------------------------------------
    enum e_filter_type_t
    {
        __FT_BOX = 0,
        __FT_LINEAR = 1,
        __FT_BILINEAR = 2,
        __FT_HERMITE = 3,
        __FT_SINC = 4,
        __FT_CATMULL_ROM = 5,
        __FT_B_SPLINE = 6,
        __FT_BLACKMAN = 7,
        __FT_LANCZOS = 8,
        __FT_QUADRATIC = 9,
        __FT_GAUSSIAN = 10,
        __FT_HAMMING = 11,
        __FT_BICUBIC = 12,
        __FT_COUNT = 13,
    };

    class Filter
    {
    public:
        enum
        {
            __PARAM_COUNT = 10
        };
        Filter(int nType = __FT_BOX, const double* pParams = NULL, int nCount = 0);
        virtual ~Filter();
        virtual double Process(double x) const;
        virtual int GetType() const;
        virtual void SetType(int nType);
        virtual double GetWidth() const;
        virtual void SetWidth(double fWidth);
        virtual void SetDefaultWidth();
        virtual bool IsWidthAdjustable() const;
        virtual int GetParamCount() const;
        virtual double GetParam(int nIndex) const;
        virtual void SetParam(int nIndex, double fValue);
        virtual LPCTSTR GetName() const;

        static double stat_GetDefaultWidth(int nType);
        static bool stat_IsWidthAdjustable(int nType);
        static LPCTSTR stat_GetName(int nType);

    protected:
        int m_nType;
        double m_fWidth;
        double m_arrParams[__PARAM_COUNT];
    };

    class WeightsTable;  // one scaling pass's weights (private to the scaler)

    // ---- skin drawing methods ------------------------------------------------------
    enum e_DrawMethod_t
    {
        __EDM_HOLLOW = 0,      // nothing is drawn
        __EDM_STRETCH = 1,     // the whole source onto the whole destination
        __EDM_NINE_STRETCH = 2,
        __EDM_NINE_TILE_H = 3, // top and bottom edges tiled
        __EDM_NINE_TILE_V = 4, // left and right edges tiled
        __EDM_NINE_TILE = 5,   // all four edges tiled
    };

    // ---- the object ----------------------------------------------------------------
    CExtBitmap();
    CExtBitmap(const CExtBitmap& other);
    CExtBitmap& operator=(const CExtBitmap& other);
    virtual ~CExtBitmap();

    virtual bool AssignFromHICON(HICON hIcon);
    virtual bool AssignFrom(const CExtBitmap& other, bool bEnableThrowException = false);
    virtual void Empty();
    virtual bool IsEmpty() const;
    virtual void Serialize(CArchive& ar);
    virtual bool Scale(int cx, int cy, const Filter& filter);
    virtual bool ExportWithColorKey(HBITMAP& hBitmap, COLORREF& clrKey,
                                    CArray<COLORREF, COLORREF>* pColors = NULL,
                                    void** ppBits = NULL) const;
    virtual HICON CreateHICON(bool bReplaceSysColors = true,
                              COLORREF clrTransparent = COLORREF(-1L)) const;
    virtual void PremultiplyAlpha(bool bPremultiply);
    virtual int DrawNative(HDC hDC, int x, int y, int cx, int cy, int xSrc, int ySrc,
                           int cxSrc, int cySrc, DWORD dwRop = SRCCOPY) const;
    virtual int Draw(HDC hDC, int x, int y, int cx, int cy, int xSrc, int ySrc,
                     int cxSrc, int cySrc, DWORD dwRop = SRCCOPY) const;
    virtual bool DrawSkinPartsEx(HDC hDC, const RECT& rcDst, const RECT& rcSrc,
                                 const RECT& rcPadding, int nExtraDst, int nExtraSrc,
                                 bool bDrawMiddle = true, bool bHalftone = true,
                                 DWORD dwRop = SRCCOPY) const;
    virtual bool DrawSkinParts(HDC hDC, const RECT& rcDst, const RECT& rcSrc,
                               const RECT& rcPadding, int eDrawMethod,
                               bool bDrawMiddle = true, bool bHalftone = true,
                               DWORD dwRop = SRCCOPY) const;
    virtual int AlphaBlend(HDC hDC, int x, int y, int cx, int cy, int xSrc, int ySrc,
                           int cxSrc, int cySrc, BYTE nSCA = 0xFF) const;
    virtual bool AlphaBlendSkinParts(HDC hDC, const RECT& rcDst, const RECT& rcSrc,
                                     const RECT& rcPadding, int eDrawMethod,
                                     bool bDrawMiddle = true, bool bHalftone = true,
                                     BYTE nSCA = 0xFF) const;
    virtual void OnLoad();
    virtual void OnContentChanged();

    // drawing forms
    int Draw(HDC hDC, const RECT& rcDst, const RECT& rcSrc, DWORD dwRop = SRCCOPY) const;
    int DrawWhole(HDC hDC, int x, int y, int cx, int cy, DWORD dwRop = SRCCOPY) const;
    int AlphaBlend(HDC hDC, const RECT& rcDst, const RECT& rcSrc, BYTE nSCA = 0xFF) const;
    int AlphaBlendWhole(HDC hDC, const RECT& rcDst, BYTE nSCA = 0xFF) const;
    int AlphaBlendWholeAt(HDC hDC, int x, int y, int cx, int cy, BYTE nSCA = 0xFF) const;
    bool DrawSkinPartsWhole(HDC hDC, const RECT& rcDst, const RECT& rcPadding, int eDrawMethod,
                            bool bDrawMiddle = true, bool bHalftone = true,
                            DWORD dwRop = SRCCOPY) const;
    bool AlphaBlendSkinPartsWhole(HDC hDC, const RECT& rcDst, const RECT& rcPadding,
                                  int eDrawMethod, bool bDrawMiddle = true,
                                  bool bHalftone = true, BYTE nSCA = 0xFF) const;
    HRGN GenerateRgn(COLORREF clrTransparent, COLORREF clrTolerance = RGB(0, 0, 0)) const;

    // loading and conversion
    bool LoadFromArchive(CArchive& ar, bool bMake32 = false, bool bEnableThrowException = false,
                         bool bNoFileHeader = false);
    bool LoadFromFile(CFile& file, bool bMake32 = false, bool bEnableThrowException = false,
                      bool bNoFileHeader = false);
    bool LoadFromBuffer(const BYTE* pData, DWORD nSize, bool bMake32 = false,
                        bool bEnableThrowException = false, bool bNoFileHeader = false);
    bool LoadFromResource(HINSTANCE hInst, HRSRC hRsrc, bool bMake32 = false,
                          bool bEnableThrowException = false);
    bool LoadFromResource(LPCTSTR lpszResourceName, LPCTSTR lpszResourceType = RT_BITMAP,
                          HINSTANCE hInst = NULL, bool bMake32 = false,
                          bool bEnableThrowException = false);
    bool AssignFromHBITMAP(HBITMAP hBitmap, const RECT* pRect = NULL,
                           bool bEnableThrowException = false, bool bPreserveAlpha = false);
    bool AssignFromPart(const CExtBitmap& other, const RECT* pRect,
                        bool bEnableThrowException = false);
    HBITMAP CreateHBITMAP(HDC hDC, bool bDeviceDependent = false) const;
    HBITMAP CreateHBITMAP(bool bDeviceDependent = false) const;

    // pixels
    CSize GetSize() const;
    int GetBPP() const;
    bool GetPixel(int x, int y, RGBQUAD& quad) const;
    COLORREF GetPixelColor(int x, int y, BYTE* pAlpha = NULL) const;
    bool SetPixel(int x, int y, const RGBQUAD& quad, bool bRed = true, bool bGreen = true,
                  bool bBlue = true, bool bAlpha = true);
    bool Make32(bool bEnableThrowException = false);
    bool AdjustAlpha(double dAlpha, const RECT* pRect = NULL);
    bool AdjustHLS(COLORREF clrTransparent = COLORREF(-1L), COLORREF clrTolerance = RGB(0, 0, 0),
                   double dH = 0.0, double dL = 0.0, double dS = 0.0, const RECT* pRect = NULL);
    void MakeMono(COLORREF clrTint = COLORREF(-1L), const RECT* pRect = NULL);
    void SetAlphaForColor(COLORREF clrKey, COLORREF clrTolerance = RGB(0, 0, 0),
                          BYTE nAlpha = 0, const RECT* pRect = NULL);
    void AssignAlpha(const RECT& rc, BYTE nAlpha, COLORREF clrTransparent = COLORREF(-1L),
                     COLORREF clrOpaque = COLORREF(-1L));
    UINT CollectColors(CMap<COLORREF, COLORREF, ULONG, ULONG>& mapColors) const;
    UINT CollectColors(CArray<COLORREF, COLORREF>& arrColors) const;
    HBITMAP CreateDIBSection32(HDC hDC, void** ppBits, COLORREF clrFill = COLORREF(-1L)) const;
    HBITMAP CreateDIBSection32(void** ppBits = NULL, COLORREF clrFill = COLORREF(-1L)) const;

    // ---- colour arithmetic (COLORREF 0x00BBGGRR; h, l, s in 0..1) --------------------
    static COLORREF stat_RGB_Invert(COLORREF clr);
    static double stat_HueToRGB(double m1, double m2, double h);
    static COLORREF stat_HLS2RGB(double h, double l, double s);
    static void stat_RGB2HLS(COLORREF clr, double& h, double& s, double& l);
    static BYTE stat_HueToRGB_Degrees(float m1, float m2, float hue);
    static COLORREF stat_HLS2RGB_Degrees(double hue, double l, double s);
    static COLORREF stat_HLS_Adjust(COLORREF clr, double dH = 0.0, double dL = 0.0,
                                    double dS = 0.0);
    static COLORREF stat_RGB_Mix(COLORREF clr1, COLORREF clr2, int nWeight);
    static COLORREF stat_RGB_Blend(COLORREF clr1, COLORREF clr2, int nAlpha);

protected:
    // Swaps in a new block (or NULL) without notices; the old one is released.
    void _ReplaceBlock(LPBITMAPINFOHEADER pNewBlock);
    bool _ClipRect(const RECT* pRect, RECT& rcClipped) const;

    LPBITMAPINFOHEADER m_pImageBuffer;  // NULL: the image is empty
};
