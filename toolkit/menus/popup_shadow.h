// The soft shadow along the right and bottom edges of a popup. The platform draws no
// shadow for arbitrary windows, so the screen under the two strips is captured before
// the popup covers it, darkened with a gradient that fades outwards (rounded at the
// outer corners) and drawn into the popup's own strips. The darkened strips are cached
// so that repaints only copy bitmaps; Reset drops everything when the popup moves.
#pragma once
#include "framework/framework.h"

class CExtPaintManager;

class CExtPopupShadow
{
public:
    enum
    {
        __FLAG_KEEP_CACHE = 0x01,
        __FLAG_TINT = 0x02,
    };

    CExtPopupShadow();
    ~CExtPopupShadow();

    // rcWindow is the popup without its shadow, in dc's coordinates. rcOwner and
    // rcPopup are both non-empty only when the popup is combined with the button or item
    // it opened from. TRUE also when there is nothing to paint.
    bool Paint(CExtPaintManager* pPM, CDC& dc, const RECT& rcWindow, const RECT& rcOwner, const RECT& rcPopup,
               int nShadowSize, int nDarkestPercent, int nLightestPercent, bool bKeepCache, bool bTint,
               bool bComposeInMemory = false, HWND hWndPopup = NULL, HWND hWndTearOff = NULL,
               const RECT* pRcTearOff = NULL);
    void Reset();
    void ReleaseBitmaps();
    // Captures the screen under the two strips of a popup whose body (without shadow)
    // lies at rcWindowScreen. The owner calls it while its window is still hidden, so the
    // later Paint darkens what the popup covers rather than the popup's own pixels.
    bool CaptureFromScreen(const RECT& rcWindowScreen, int nShadowSize);

    // Brightness (percent) of the strip column or row at distance i from the popup.
    static int StripPercent(int i, int nSize, int nDarkest, int nLightest);
    // Brightness at corner offsets (i, j), or -1 when the pixel lies outside the rounding.
    static int CornerPercent(int i, int j, int nSize, int nDarkest, int nLightest);
    // One pixel (0x00RRGGBB as in a DIB) darkened to the percentage, tinted when
    // clrTint is not -1.
    static DWORD DarkenPixel(DWORD dwPixel, int nPercent, COLORREF clrTint);

    bool HasCapture() const { return m_bmpCapturedRight.GetSafeHandle() != NULL; }
    bool HasCache() const { return m_bmpDarkRight.GetSafeHandle() != NULL; }

    CBitmap m_bmpDarkRight;
    CBitmap m_bmpDarkBottom;
    CBitmap m_bmpCapturedRight;
    CBitmap m_bmpCapturedBottom;
    COLORREF* m_pPixels;
    RECT m_rcWindow;
    RECT m_rcOwner;
    RECT m_rcPopup;
    int m_nShadowSize;
    int m_nDarkestPercent;
    int m_nLightestPercent;
    BYTE m_nFlags;
    CRgn m_rgnClip;

private:
    bool ComposeGradient(CExtPaintManager* pPM, CDC& dc);
    bool ComposeDithered(CDC& dc);
    bool PaintSteps(CExtPaintManager* pPM, CDC& dc, bool bTearOffRunning);

    CExtPopupShadow(const CExtPopupShadow&) = delete;
    CExtPopupShadow& operator=(const CExtPopupShadow&) = delete;
};
