// The colour cell: one colour shown as a swatch and a text in one of nine text modes
// (numbers, names, hexadecimal, with or without alpha, HLS, CMY), parsed back from the
// same texts, picked from the colour popup of its drop-down button or from the colour
// dialog. Numbers in a text saturate at 255, however many digits they have.
#pragma once
#include <map>
#include "toolkit/grid/grid_cell_ex.h"

class CExtGridCellColor : public CExtGridCellEx
{
    DECLARE_SERIAL(CExtGridCellColor)
public:
    struct NAMED_COLOR
    {
        LPCTSTR m_sName;
        COLORREF m_clr;
    };
    static const NAMED_COLOR g_arrNamedColors[128];
    static const NAMED_COLOR g_arrPaletteColors[40];

    // Alpha, blue, green, red and a flag byte (bit 0: the value is a system colour index),
    // in this order in memory and in the archive.
    struct COLOR_VALUE
    {
        BYTE m_nAlpha, m_nBlue, m_nGreen, m_nRed, m_nFlags;
        COLOR_VALUE();
        COLORREF GetColor() const;
        void SetColor(COLORREF clr, bool bSetAlpha);
        void SetSysColor(int nIndex);
        void Clear();
        // The byte-wise order of two values.
        int Compare(const COLOR_VALUE& other) const;
        // Colour -> name and lower-cased name -> colour, shared by every value.
        static const std::map<COLORREF, CString>& NameOf();
        static const std::map<CString, COLORREF>& ColorOf();
    };

    enum e_button_flags_t
    {
        __EGCCB_RANDOM = 0x1,
        __EGCCB_CUSTOM = 0x2,
        __EGCCB_DEFAULT = 0x4,
    };

    explicit CExtGridCellColor(CExtGridDataProvider* pOwner = NULL, COLORREF clr = 0, INT nIconWidth = 20,
                               INT nIconHeight = 13, bool bRandomButton = false, bool bCustomButton = true,
                               bool bDefaultButton = false);
    virtual ~CExtGridCellColor();

    virtual bool ParseColor(LPCTSTR sText, COLORREF& clrOut) const;
    virtual void FormatColor(CString& strText, COLORREF clr) const;
    virtual void GetListSeparator(CString& strSeparator) const;

    COLORREF GetColor() const { return m_value.GetColor(); }
    void SetColor(COLORREF clr, bool bSetAlpha = false) { m_value.SetColor(clr, bSetAlpha); }
    // Each component is min + rand() % (max - min), or min when both are equal.
    COLORREF GenerateRandomColor(BYTE nMinR = 32, BYTE nMaxR = 244, BYTE nMinG = 32, BYTE nMaxG = 244,
                                 BYTE nMinB = 32, BYTE nMaxB = 244);

    COLOR_VALUE m_value;
    DWORD m_dwButtonFlags;
    CString m_sRandomCaption, m_sCustomCaption, m_sDefaultCaption;
    COLORREF m_clrDefault;
    INT m_nTextMode;
    INT m_nIconWidth, m_nIconHeight;

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    void TextGet(CString& strCopy) const override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    HRESULT OnParseText(LPCTSTR sText) const override;
    void VariantGet(VARIANT* pVariant) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    CSize IconGetSize() override;
    CRect GetIconMargins() const override;
    void OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon, EXT_GRID_CELL_PAINT_ARGS) const override;
    void OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra, const RECT& rcCell,
                         LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                         INT nRowType) override;
    bool OnButtonPopupMenuTrack(POPUP_LIST_INFO& _pli) override;
    bool OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                             const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra, const RECT& rcCell) override;

    // The colour dialog on clrInitial; true with the chosen colour.
    virtual bool OnRunColorDialog(CExtGridWnd& wndGrid, COLORREF clrInitial, COLORREF& clrOut);
    // What a popup result does to the cell: -1 nothing (false), -2 the colour dialog,
    // -100 a random colour, else that colour without alpha. True when the colour changed.
    bool ApplyPopupResult(CExtGridWnd& wndGrid, COLORREF clrResult);
};
