#include "toolkit/grid/grid_cell_picture.h"
#include "toolkit/core/bitmap_platform.h"

IMPLEMENT_SERIAL(CExtGridCellPictureBase, CExtGridCellEx, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellPicture, CExtGridCellPictureBase, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CExtGridCellPictureRef, CExtGridCellPictureBase, VERSIONABLE_SCHEMA | 1)

// ---- base ------------------------------------------------------------------------------

CExtGridCellPictureBase::CExtGridCellPictureBase(CExtGridDataProvider* pOwner)
    : CExtGridCellEx(pOwner), m_nPictureMode(__EPM_NATURAL)
{
    ModifyStyle(__EGCS_NO_INPLACE_CONTROL);
}

CExtGridCellPictureBase::~CExtGridCellPictureBase() {}

bool CExtGridCellPictureBase::IsBitmapOwner() const { return false; }

CExtBitmap* CExtGridCellPictureBase::BitmapGet() { return NULL; }

CSize CExtGridCellPictureBase::ImageSize() const
{
    const CExtBitmap* pBmp = BitmapGet();
    if (pBmp == NULL || pBmp->IsEmpty()) return CSize(0, 0);
    return pBmp->GetSize();
}

void CExtGridCellPictureBase::Serialize(CArchive& ar)
{
    CExtGridCellEx::Serialize(ar);
    CExtBitmap* pBmp = BitmapGet();
    if (ar.IsStoring()) {
        ar << (LONG)m_nPictureMode;
        const bool bImage = IsBitmapOwner() && pBmp != NULL && !pBmp->IsEmpty();
        ar << (DWORD)(bImage ? 1 : 0);
        if (bImage) pBmp->Serialize(ar);
        return;
    }
    // An image that lives elsewhere is not this cell's to change: only an owned one is
    // emptied and loaded into.
    const bool bOwned = IsBitmapOwner() && pBmp != NULL;
    if (bOwned) pBmp->Empty();
    LONG nMode = 0;
    DWORD dwFlag = 0;
    ar >> nMode;
    ar >> dwFlag;
    m_nPictureMode = (INT)nMode;
    if ((dwFlag & 1) == 0) return;
    if (bOwned) {
        pBmp->Serialize(ar);
    } else {
        CExtBitmap bmpDiscarded;
        bmpDiscarded.Serialize(ar);
    }
}

void CExtGridCellPictureBase::Assign(const CExtGridCell& other)
{
    CExtGridCellEx::Assign(other);
    CExtBitmap* pOwn = BitmapGet();
    if (!IsBitmapOwner() || pOwn == NULL) return;
    pOwn->Empty();
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellPictureBase))) {
        const CExtGridCellPictureBase& src = static_cast<const CExtGridCellPictureBase&>(other);
        m_nPictureMode = src.m_nPictureMode;
        const CExtBitmap* pOther = src.BitmapGet();
        if (pOther != NULL && pOther != pOwn) pOwn->AssignFrom(*pOther);
    } else {
        m_nPictureMode = __EPM_NATURAL;
    }
}

int CExtGridCellPictureBase::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellPictureBase))) {
        const CSize szA = ImageSize();
        const CSize szB = static_cast<const CExtGridCellPictureBase&>(other).ImageSize();
        const bool bA = szA.cx > 0 || szA.cy > 0, bB = szB.cx > 0 || szB.cy > 0;
        if (!bA && bB) return -1;
        if (bA && !bB) return 1;
        if (bA && bB) {
            const LONGLONG nA = (LONGLONG)szA.cx * szA.cx + (LONGLONG)szA.cy * szA.cy;
            const LONGLONG nB = (LONGLONG)szB.cx * szB.cx + (LONGLONG)szB.cy * szB.cy;
            if (nA != nB) return nA < nB ? -1 : 1;
        }
    }
    return CExtGridCellEx::Compare(other, dwStyleMask, dwStyleExMask);
}

CRect CExtGridCellPictureBase::stat_CalcNaturalRect(const RECT& rcText, CSize szImage, DWORD dwStyle)
{
    const CRect rc(rcText);
    CRect rcDst(rc.left, rc.top, rc.left + szImage.cx, rc.top + szImage.cy);
    switch (dwStyle & __EGCS_TA_HORZ_MASK) {
    case __EGCS_TA_HORZ_RIGHT: rcDst.OffsetRect(rc.right - rcDst.right, 0); break;
    case __EGCS_TA_HORZ_CENTER: rcDst.OffsetRect((rc.Width() - szImage.cx) / 2, 0); break;
    default: break;
    }
    switch (dwStyle & __EGCS_TA_VERT_MASK) {
    case __EGCS_TA_VERT_BOTTOM: rcDst.OffsetRect(0, rc.bottom - rcDst.bottom); break;
    case __EGCS_TA_VERT_CENTER: rcDst.OffsetRect(0, (rc.Height() - szImage.cy) / 2); break;
    default: break;
    }
    if (rcDst.left < rc.left) rcDst.left = rc.left;
    if (rcDst.top < rc.top) rcDst.top = rc.top;
    if (rcDst.right > rc.right) rcDst.right = rc.right;
    if (rcDst.bottom > rc.bottom) rcDst.bottom = rc.bottom;
    return rcDst;
}

void CExtGridCellPictureBase::OnPaintText(const RECT& rcCellText, EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)wndGrid, (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)nColType;
    (void)nRowType, (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange, (void)dwAreaFlags;
    (void)dwHelperPaintFlags;
    const HDC hDC = dc.GetSafeHdc();
    if (hDC == NULL || !::RectVisible(hDC, &rcCellText)) return;
    const CExtBitmap* pBmp = BitmapGet();
    if (pBmp == NULL || pBmp->IsEmpty()) return;
    const RECT rcNoPadding = {0, 0, 0, 0};
    switch (m_nPictureMode) {
    case __EPM_STRETCH: pBmp->AlphaBlendSkinPartsWhole(hDC, rcCellText, rcNoPadding, 2, true, true, 255); break;
    case __EPM_TILE: pBmp->AlphaBlendSkinPartsWhole(hDC, rcCellText, rcNoPadding, 5, true, true, 255); break;
    case __EPM_NATURAL: {
        const CSize szImage = pBmp->GetSize();
        const CRect rcDst = stat_CalcNaturalRect(rcCellText, szImage, GetStyle());
        if (rcDst.IsRectEmpty() || !::RectVisible(hDC, &rcDst)) break;
        const bool bNT = (CExtBitmapPlatform::GetOsFlags() & CExtBitmapPlatform::__OS_NT) != 0;
        const int nOldMode = ::SetStretchBltMode(hDC, bNT ? HALFTONE : COLORONCOLOR);
        const CRect rcSrc(0, 0, szImage.cx, szImage.cy);
        pBmp->AlphaBlend(hDC, rcDst, rcSrc, 255);
        ::SetStretchBltMode(hDC, nOldMode);
        break;
    }
    default: break;
    }
}

CSize CExtGridCellPictureBase::OnMeasureText(EXT_GRID_CELL_PAINT_ARGS) const
{
    (void)wndGrid, (void)dc, (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo;
    (void)nColType, (void)nRowType, (void)rcCellExtra, (void)rcCell, (void)rcVisibleRange;
    (void)dwAreaFlags, (void)dwHelperPaintFlags;
    if (m_nPictureMode == __EPM_STRETCH) return CSize(0, 0);
    return ImageSize();
}

CSize CExtGridCellPictureBase::OnMeasureCell(CExtGridWnd* pWndGrid, CDC& dc) const
{
    (void)pWndGrid, (void)dc;
    return ImageSize() + CSize(4, 4);
}

HWND CExtGridCellPictureBase::OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo,
                                                     LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                     const RECT& rcCellExtra, const RECT& rcCell,
                                                     const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                                     LONG nLastEditedRowNo)
{
    // A picture is never edited in place.
    (void)wndGrid, (void)nVisibleColNo, (void)nVisibleRowNo, (void)nColNo, (void)nRowNo, (void)nColType;
    (void)nRowType, (void)rcCellExtra, (void)rcCell, (void)rcInplaceControl, (void)nLastEditedColNo;
    (void)nLastEditedRowNo;
    return NULL;
}

CExtGridCell* CExtGridCellPictureBase::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellPictureBase>(*this, pMalloc);
}

// ---- owning picture -----------------------------------------------------------------------

CExtGridCellPicture::CExtGridCellPicture(CExtGridDataProvider* pOwner) : CExtGridCellPictureBase(pOwner) {}

CExtGridCellPicture::~CExtGridCellPicture() { m_bmp.Empty(); }

bool CExtGridCellPicture::IsBitmapOwner() const { return true; }

CExtBitmap* CExtGridCellPicture::BitmapGet() { return &m_bmp; }

CExtGridCell* CExtGridCellPicture::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellPicture>(*this, pMalloc);
}

// ---- picture reference --------------------------------------------------------------------

CExtGridCellPictureRef::CExtGridCellPictureRef(CExtGridDataProvider* pOwner, CExtBitmap* pBitmap)
    : CExtGridCellPictureBase(pOwner), m_pBitmap(pBitmap)
{
}

CExtGridCellPictureRef::~CExtGridCellPictureRef() { m_pBitmap = NULL; }

CExtBitmap* CExtGridCellPictureRef::BitmapGet() { return m_pBitmap; }

void CExtGridCellPictureRef::BitmapSet(CExtBitmap* pBitmap) { m_pBitmap = pBitmap; }

CExtGridCell* CExtGridCellPictureRef::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellPictureRef>(*this, pMalloc);
}
