// Built-in glyphs: small pictures of colour indices drawn pixel by pixel in whatever
// colours the caller passes, the table of caption-button glyphs, and the record of a
// framed glyph button.
//
// A glyph pixel is one colour index: 0 is transparent, n >= 1 is drawn in entry n of the
// caller's colour array. The built-in glyphs live for the whole run and never change.
#pragma once
#include "toolkit/theme/paint_manager.h"

class CExtPaintManager::glyph
{
public:
    // Leaves a pixel out of GenerateRegion when it answers true.
    typedef bool (*pfnRegionFilter)(const glyph& aGlyph, int x, int y, UINT nColorIndex,
                                    LPARAM lParam);

    constexpr glyph()
        : m_nWidth(0), m_nHeight(0), m_nColorCount(1), m_pData(NULL), m_bOwnsData(false)
    {
    }
    // Refers to static data without owning it.
    constexpr glyph(int nWidth, int nHeight, int nColorCount, const UINT* pData)
        : m_nWidth(nWidth),
          m_nHeight(nHeight),
          m_nColorCount(nColorCount),
          m_pData(pData),
          m_bOwnsData(false)
    {
    }
    // Copies the source and rotates the copy clockwise by 90, 180 or 270 degrees; any
    // other angle keeps it as it is.
    glyph(const glyph& other, int nAngle = 0);
    ~glyph();

    SIZE GetSize() const;
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetColorCount() const { return m_nColorCount; }
    const UINT* GetData() const { return m_pData; }
    // The colour index at (x, y); 0 outside the glyph.
    UINT GetAt(int x, int y) const;
    bool IsEmpty() const { return m_nWidth <= 0 || m_nHeight <= 0 || m_pData == NULL; }
    void Empty();

    // The union of the pixels the filter keeps; each bounds pointer may be null.
    CRgn& GenerateRegion(CRgn& rgn, pfnRegionFilter pfnFilter, LPARAM lParam = 0,
                         int* pIncLeft = NULL, int* pIncTop = NULL, int* pIncRight = NULL,
                         int* pIncBottom = NULL, int* pExcLeft = NULL, int* pExcTop = NULL,
                         int* pExcRight = NULL, int* pExcBottom = NULL) const;

    // The filter that leaves out transparent pixels, so that a region covers what is drawn.
    static bool stat_FilterTransparent(const glyph& aGlyph, int x, int y, UINT nColorIndex,
                                       LPARAM lParam);

private:
    glyph& operator=(const glyph&) = delete;

    int m_nWidth;
    int m_nHeight;
    int m_nColorCount;
    const UINT* m_pData;
    bool m_bOwnsData;
};

// A small framed button showing a glyph of g_ButtonGlyphs: caption buttons of control
// bars, close buttons of panes.
struct CExtPaintManager::PAINTGLYPHBUTTONDATA
{
    CObject* m_pHelperSrc;
    LPARAM m_lParam;
    RECT m_rcButton;
    int m_nGlyphType;
    bool m_bHover : 1;
    bool m_bPushed : 1;
    bool m_bEnabled : 1;
    bool m_bBarCaption : 1;    // on a bar caption: XP draws the resting glyph darker
    bool m_bCaptionActive : 1; // the caption is active: XP frames it in the highlight
    bool m_bNoGrow : 1;        // paint inside the rectangle exactly
    bool m_bReserved6 : 1;
    bool m_bReserved7 : 1;

    PAINTGLYPHBUTTONDATA(CObject* pHelperSrc, const RECT& rcButton, int nGlyphType,
                         bool bHover, bool bPushed, bool bEnabled, bool bBarCaption = false,
                         bool bCaptionActive = false, bool bNoGrow = false);

    // The Studio 2005 theme asks the bars' menu caption button whether it wants the XP
    // look. The bars library links after the theme engine and installs the answer (false
    // for any other asker); until then such a button gets the classic look.
    typedef bool (*pfnQueryXpLook)(CObject* pHelperSrc);
    static pfnQueryXpLook g_pfnNcAreaMenuButtonXpLook;
};

// Entries of the caption-button glyph table.
enum
{
    __GLYPH_BUTTON_COUNT = 57,
};
extern const CExtPaintManager::glyph* const g_ButtonGlyphs[__GLYPH_BUTTON_COUNT];

// Built-in glyphs outside the table, used directly by the painting code.
extern const CExtPaintManager::glyph g_glyphDropArrowDown;          // 5x3: horizontal push buttons
extern const CExtPaintManager::glyph g_glyphDropArrowLeft;          // 3x5: 90 degrees of the above
extern const CExtPaintManager::glyph g_glyphDropArrowRight;         // 3x5: vertical push buttons
extern const CExtPaintManager::glyph g_glyphBarOverDown;            // 5x6 bar over a down triangle
extern const CExtPaintManager::glyph g_glyphBarOverDown90;          // 6x5
extern const CExtPaintManager::glyph g_glyphBarOverDown270;         // 6x5
extern const CExtPaintManager::glyph g_glyphDoubleChevronRight;     // 8x5
extern const CExtPaintManager::glyph g_glyphDoubleChevronDown;      // 5x8: 90 degrees of the above
extern const CExtPaintManager::glyph g_glyphTwoRightTriangles;      // 6x5
extern const CExtPaintManager::glyph g_glyphTwoDownTriangles;       // 5x6: 90 degrees of the above
// The content-expand popup's markers, 11x11 each: corner arrows pointing at an item's
// corner from outside it, and the end arrows of a drop-position line (the left one points
// right, at the line's start; the others are its turns).
extern const CExtPaintManager::glyph g_glyphExpandCornerTL;
extern const CExtPaintManager::glyph g_glyphExpandCornerTR;
extern const CExtPaintManager::glyph g_glyphExpandCornerBR;
extern const CExtPaintManager::glyph g_glyphExpandCornerBL;
extern const CExtPaintManager::glyph g_glyphMarkerEndLeft;
extern const CExtPaintManager::glyph g_glyphMarkerEndRight;
extern const CExtPaintManager::glyph g_glyphMarkerEndTop;
extern const CExtPaintManager::glyph g_glyphMarkerEndBottom;
extern const CExtPaintManager::glyph g_glyphMenuRightArrow;         // 12x16: sub-menu arrow
extern const CExtPaintManager::glyph g_glyphMenuRightArrowLine;     // 12x16: the same after a line
extern const CExtPaintManager::glyph g_glyphDoubleChevronUp7x8;     // 7x8
extern const CExtPaintManager::glyph g_glyphDoubleChevronDown7x8;   // 7x8
// Grid cells: the sort arrows of header cells (10x10; index 1 shadow, 2 highlight,
// 3 dark shadow), pointing up (ascending) and down for column headers, left
// (ascending) and right for row headers; the four focus arrows (4x7 or 7x4, one colour)
// by the grid's glyph index 2 up (bottom band), 3 down (top band), 4 left (right band),
// 5 right (left band); the ellipsis of cell buttons (8x2).
extern const CExtPaintManager::glyph g_glyphGridSortArrowUp;
extern const CExtPaintManager::glyph g_glyphGridSortArrowDown;
extern const CExtPaintManager::glyph g_glyphGridSortArrowLeft;
extern const CExtPaintManager::glyph g_glyphGridSortArrowRight;
extern const CExtPaintManager::glyph* const g_GridFocusArrowGlyphs[6];
extern const CExtPaintManager::glyph g_glyphGridEllipsis;
extern const CExtPaintManager::glyph g_glyphDropArrowUp;  // 5x3: 180 degrees of the drop arrow
