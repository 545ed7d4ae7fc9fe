// Layers that add one facet each to a cell class: CExtGCE per-cell extents, CExtGCP a
// proportional extent, CExtGCC text and background colours per state, CExtGCF font
// attributes. Each layer's fields follow its base's, in memory and in the archive.
#pragma once
#include <new>
#include "toolkit/grid/grid_cell.h"

// A new cell of the composed class C cloned from src: memory from the allocator (no
// exception) or the heap, constructed with src's owner, then assigned from src.
template <class C>
CExtGridCell* ExtGridCellCloneAs(const CExtGridCell& src, IMalloc* pMalloc)
{
    CExtGridCell* pCell = pMalloc != NULL ? new (pMalloc) C(src.GetOwner()) : new C(src.GetOwner());
    if (pCell != NULL)
        pCell->Assign(src);
    return pCell;
}

template <class T>
class CExtGCE : public T
{
public:
    INT m_nExtentCurrent;
    INT m_nExtentMin;
    INT m_nExtentMax;
    INT m_nExtraSpaceAfter;
    INT m_nExtraSpaceBefore;

    explicit CExtGCE(CExtGridDataProvider* pOwner = NULL)
        : T(pOwner),
          m_nExtentCurrent(::GetSystemMetrics(SM_CYHSCROLL) + 1),
          m_nExtentMin(0),
          m_nExtentMax(32767),
          m_nExtraSpaceAfter(0),
          m_nExtraSpaceBefore(0)
    {
    }

    bool ExtentAccess(INT& nExtent, bool bGet, INT nType = 0) override
    {
        INT& n = nType < 0 ? m_nExtentMin : (nType == 0 ? m_nExtentCurrent : m_nExtentMax);
        if (bGet)
            nExtent = n;
        else
            n = nExtent;
        return true;
    }

    bool ExtraSpaceAccess(INT& nExtra, bool bGet, bool bAfter) override
    {
        INT& n = bAfter ? m_nExtraSpaceAfter : m_nExtraSpaceBefore;
        if (bGet)
            nExtra = n;
        else
            n = nExtra;
        return true;
    }

    void Assign(const CExtGridCell& other) override
    {
        T::Assign(other);
        CExtGridCell& o = const_cast<CExtGridCell&>(other);
        INT nMin = 0, nCur = 0, nMax = 0;
        if (o.ExtentAccess(nMin, true, -1) && o.ExtentAccess(nCur, true, 0) && o.ExtentAccess(nMax, true, 1))
        {
            m_nExtentMin = nMin;
            m_nExtentCurrent = nCur;
            m_nExtentMax = nMax;
        }
        INT nExtra = 0;
        if (o.ExtraSpaceAccess(nExtra, true, true))
            m_nExtraSpaceAfter = nExtra;
        if (o.ExtraSpaceAccess(nExtra, true, false))
            m_nExtraSpaceBefore = nExtra;
    }

    void Serialize(CArchive& ar) override
    {
        T::Serialize(ar);
        if (ar.IsStoring())
            ar << (LONG)m_nExtentCurrent << (LONG)m_nExtentMin << (LONG)m_nExtentMax << (LONG)m_nExtraSpaceAfter
               << (LONG)m_nExtraSpaceBefore;
        else
        {
            LONG arr[5];
            for (LONG& n : arr)
                ar >> n;
            m_nExtentCurrent = arr[0], m_nExtentMin = arr[1], m_nExtentMax = arr[2];
            m_nExtraSpaceAfter = arr[3], m_nExtraSpaceBefore = arr[4];
        }
    }

    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override
    {
        return ExtGridCellCloneAs<CExtGCE<T>>(*this, pMalloc);
    }
};

template <class T>
class CExtGCP : public T
{
public:
    double m_lfProportionalExtent;

    explicit CExtGCP(CExtGridDataProvider* pOwner = NULL) : T(pOwner), m_lfProportionalExtent(0.5) {}

    bool ProportionalExtentAccess(double& lfExtent, bool bGet) override
    {
        if (bGet)
            lfExtent = m_lfProportionalExtent;
        else
            m_lfProportionalExtent = lfExtent;
        return true;
    }

    void Assign(const CExtGridCell& other) override
    {
        T::Assign(other);
        double lf = 0.0;
        if (const_cast<CExtGridCell&>(other).ProportionalExtentAccess(lf, true))
            m_lfProportionalExtent = lf;
    }

    void Serialize(CArchive& ar) override
    {
        T::Serialize(ar);
        if (ar.IsStoring())
            ar << m_lfProportionalExtent;
        else
            ar >> m_lfProportionalExtent;
    }

    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override
    {
        return ExtGridCellCloneAs<CExtGCP<T>>(*this, pMalloc);
    }
};

template <class T>
class CExtGCC : public T
{
public:
    // Background and text colour of states 0 to 3, in that order per state.
    COLORREF m_arrColors[8];

    explicit CExtGCC(CExtGridDataProvider* pOwner = NULL) : T(pOwner)
    {
        for (COLORREF& clr : m_arrColors)
            clr = COLORREF(-1L);
    }

    COLORREF TextColorSet(INT nState, COLORREF clr) override { return ColorSet(nState, 1, clr); }
    COLORREF TextColorGet(INT nState) const override { return ColorGet(nState, 1); }
    COLORREF BackColorSet(INT nState, COLORREF clr) override { return ColorSet(nState, 0, clr); }
    COLORREF BackColorGet(INT nState) const override { return ColorGet(nState, 0); }

    void Assign(const CExtGridCell& other) override
    {
        T::Assign(other);
        for (INT nState = 0; nState < 4; nState++)
        {
            m_arrColors[nState * 2] = other.BackColorGet(nState);
            m_arrColors[nState * 2 + 1] = other.TextColorGet(nState);
        }
    }

    void Serialize(CArchive& ar) override
    {
        T::Serialize(ar);
        for (COLORREF& clr : m_arrColors)
        {
            if (ar.IsStoring())
                ar << (DWORD)clr;
            else
            {
                DWORD dw = 0;
                ar >> dw;
                clr = dw;
            }
        }
    }

    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override
    {
        for (int nWhich = 0; nWhich < 2; nWhich++)
        {
            // State 0, or state 1 when state 0 has none; a cell without either ties.
            INT nState = 0;
            COLORREF clrMine = ColorGet(0, nWhich);
            if (clrMine == COLORREF(-1L))
            {
                nState = 1;
                clrMine = ColorGet(1, nWhich);
            }
            if (clrMine == COLORREF(-1L))
                continue;
            const COLORREF clrOther = nWhich == 0 ? other.BackColorGet(nState) : other.TextColorGet(nState);
            if ((DWORD)clrMine < (DWORD)clrOther)
                return -1;
            if ((DWORD)clrMine > (DWORD)clrOther)
                return 1;
        }
        return T::Compare(other, dwStyleMask, dwStyleExMask);
    }

    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override
    {
        return ExtGridCellCloneAs<CExtGCC<T>>(*this, pMalloc);
    }

private:
    COLORREF ColorSet(INT nState, int nWhich, COLORREF clr)
    {
        if (nState < 0 || nState > 3)
            return COLORREF(-1L);
        const COLORREF clrOld = m_arrColors[nState * 2 + nWhich];
        m_arrColors[nState * 2 + nWhich] = clr;
        return clrOld;
    }
    COLORREF ColorGet(INT nState, int nWhich) const
    {
        if (nState < 0 || nState > 3)
            return COLORREF(-1L);
        return m_arrColors[nState * 2 + nWhich];
    }
};

// The eight font attributes of CExtGCF, apart from the template so that their archive
// form, comparison and font building are written once.
struct CExtGridCellFontAttributes
{
    LONG m_nHeight, m_nWidth, m_nWeight;
    bool m_bHeightUnset : 1;
    bool m_bWidthUnset : 1;
    bool m_bWeightUnset : 1;
    bool m_bFaceNameUnset : 1;
    SHORT m_nItalic, m_nUnderline, m_nStrikeOut, m_nQuality;
    CString m_sFaceName;

    CExtGridCellFontAttributes() { ResetAll(); }
    void ResetAll();
    bool IsAnySet() const;
    void AssignFrom(const CExtGridCell& other);
    void Serialize(CArchive& ar);
    // The attributes as cell getters report them, unset ones as 0, false or empty.
    int Compare(const CExtGridCell& other) const;
    // The base font with the set attributes written over it (see CExtGCF::OnQueryCellFont).
    HFONT Apply(HFONT hFontBase, bool* pbDelete) const;
};

template <class T>
class CExtGCF : public T
{
public:
    CExtGridCellFontAttributes m_font;

    explicit CExtGCF(CExtGridDataProvider* pOwner = NULL) : T(pOwner) {}

    LONG FontHeightSet(LONG n) override { m_font.m_bHeightUnset = false; return m_font.m_nHeight = n; }
    bool FontHeightGet(LONG& n) const override { return Get32(m_font.m_bHeightUnset, m_font.m_nHeight, n); }
    void FontHeightReset() override { m_font.m_bHeightUnset = true, m_font.m_nHeight = -1; }
    LONG FontWidthSet(LONG n) override { m_font.m_bWidthUnset = false; return m_font.m_nWidth = n; }
    bool FontWidthGet(LONG& n) const override { return Get32(m_font.m_bWidthUnset, m_font.m_nWidth, n); }
    void FontWidthReset() override { m_font.m_bWidthUnset = true, m_font.m_nWidth = -1; }
    LONG FontWeightSet(LONG n) override { m_font.m_bWeightUnset = false; return m_font.m_nWeight = n; }
    bool FontWeightGet(LONG& n) const override { return Get32(m_font.m_bWeightUnset, m_font.m_nWeight, n); }
    void FontWeightReset() override { m_font.m_bWeightUnset = true, m_font.m_nWeight = -1; }
    bool FontItalicSet(bool b) override { return (m_font.m_nItalic = b ? 1 : 0) != 0; }
    bool FontItalicGet(bool& b) const override { return GetFlag(m_font.m_nItalic, b); }
    void FontItalicReset() override { m_font.m_nItalic = -1; }
    bool FontUnderlineSet(bool b) override { return (m_font.m_nUnderline = b ? 1 : 0) != 0; }
    bool FontUnderlineGet(bool& b) const override { return GetFlag(m_font.m_nUnderline, b); }
    void FontUnderlineReset() override { m_font.m_nUnderline = -1; }
    bool FontStrikeOutSet(bool b) override { return (m_font.m_nStrikeOut = b ? 1 : 0) != 0; }
    bool FontStrikeOutGet(bool& b) const override { return GetFlag(m_font.m_nStrikeOut, b); }
    void FontStrikeOutReset() override { m_font.m_nStrikeOut = -1; }
    BYTE FontQualitySet(BYTE n) override { m_font.m_nQuality = n; return n; }
    bool FontQualityGet(BYTE& n) const override
    {
        if (m_font.m_nQuality < 0)
            return false;
        n = (BYTE)m_font.m_nQuality;
        return true;
    }
    void FontQualityReset() override { m_font.m_nQuality = -1; }
    LPCTSTR FontFaceNameSet(LPCTSTR s) override
    {
        m_font.m_sFaceName = s != NULL ? s : _T("");
        m_font.m_bFaceNameUnset = false;
        return m_font.m_sFaceName;
    }
    bool FontFaceNameGet(CString& s) const override
    {
        if (m_font.m_bFaceNameUnset)
            return false;
        s = m_font.m_sFaceName;
        return true;
    }
    void FontFaceNameReset() override
    {
        m_font.m_bFaceNameUnset = true;
        m_font.m_sFaceName.Empty();
    }

    HFONT OnQueryCellFont(const CWnd* pWndGrid, LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                          bool* pbDelete) const override
    {
        HFONT hFont = T::OnQueryCellFont(pWndGrid, nColNo, nRowNo, nColType, nRowType, pbDelete);
        if (!m_font.IsAnySet())
            return hFont;
        return m_font.Apply(hFont, pbDelete);
    }

    void Assign(const CExtGridCell& other) override
    {
        T::Assign(other);
        m_font.AssignFrom(other);
    }

    void Serialize(CArchive& ar) override
    {
        T::Serialize(ar);
        m_font.Serialize(ar);
    }

    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override
    {
        const int n = m_font.Compare(other);
        return n != 0 ? n : T::Compare(other, dwStyleMask, dwStyleExMask);
    }

    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override
    {
        return ExtGridCellCloneAs<CExtGCF<T>>(*this, pMalloc);
    }

private:
    static bool Get32(bool bUnset, LONG nValue, LONG& nOut)
    {
        if (bUnset)
            return false;
        nOut = nValue;
        return true;
    }
    static bool GetFlag(SHORT nValue, bool& bOut)
    {
        if (nValue < 0)
            return false;
        bOut = nValue != 0;
        return true;
    }
};
