#include "toolkit/grid/grid_cell_ex.h"
#include "toolkit/core/bitmap.h"

IMPLEMENT_SERIAL(CExtGridCellEx, CExtGridCell, VERSIONABLE_SCHEMA | 1)

CExtGridCellEx::CExtGridCellEx(CExtGridDataProvider* pOwner) : _Base(pOwner), m_hCursor(NULL) {}

CExtGridCellEx::~CExtGridCellEx() { CursorSet(NULL); }

void CExtGridCellEx::CursorSet(HCURSOR hCursor)
{
    if (m_hCursor != NULL && m_hCursor != hCursor)
        ::DestroyCursor(m_hCursor);
    m_hCursor = hCursor;
}

bool CExtGridCellEx::CursorLoad(UINT nResourceID)
{
    if (nResourceID == UINT(-1))
    {
        CursorSet(NULL);
        return true;
    }
    HCURSOR hCursor = (HCURSOR)::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(nResourceID), IMAGE_CURSOR, 0,
                                           0, LR_DEFAULTSIZE);
    // A system cursor is shared: the cell keeps a copy it may destroy.
    if (hCursor == NULL)
    {
        HCURSOR hShared = ::LoadCursor(NULL, MAKEINTRESOURCE(nResourceID));
        if (hShared != NULL)
            hCursor = (HCURSOR)::CopyIcon((HICON)hShared);
    }
    CursorSet(hCursor);
    return hCursor != NULL;
}

bool CExtGridCellEx::OnSetCursor() const
{
    if (m_hCursor == NULL)
        return false;
    ::SetCursor(m_hCursor);
    return true;
}

namespace {
// A cursor or icon of its own made from another's pictures; NULL when it cannot be.
HCURSOR DuplicateCellCursor(HCURSOR hSource)
{
    ICONINFO ii;
    if (hSource == NULL || !::GetIconInfo(hSource, &ii))
        return NULL;
    HCURSOR hCopy = (HCURSOR)::CreateIconIndirect(&ii);
    if (ii.hbmColor != NULL)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask != NULL)
        ::DeleteObject(ii.hbmMask);
    return hCopy;
}
}  // namespace

bool CExtGridCellEx::HasOwnLook() const
{
    if (m_font.IsAnySet()) return true;
    for (COLORREF clr : m_arrColors) {
        if (clr != COLORREF(-1L)) return true;
    }
    return false;
}

void CExtGridCellEx::Assign(const CExtGridCell& other)
{
    _Base::Assign(other);
    CursorSet(NULL);
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellEx)))
        CursorSet(DuplicateCellCursor(static_cast<const CExtGridCellEx&>(other).m_hCursor));
}

CExtGridCell* CExtGridCellEx::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellEx>(*this, pMalloc);
}

void CExtGridCellEx::Serialize(CArchive& ar)
{
    _Base::Serialize(ar);
    SerializeCursor(ar);
}

void CExtGridCellEx::SerializeCursor(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ICONINFO ii;
        if (m_hCursor == NULL || !::GetIconInfo(m_hCursor, &ii))
        {
            ar << (BYTE)0;
            return;
        }
        const BYTE nFlags = (BYTE)((ii.fIcon ? 1 : 0) | (ii.hbmColor != NULL ? 2 : 0) | (ii.hbmMask != NULL ? 4 : 0));
        ar << (BYTE)1 << nFlags << (DWORD)ii.xHotspot << (DWORD)ii.yHotspot;
        HBITMAP arrBitmaps[2] = {ii.hbmColor, ii.hbmMask};
        try
        {
            for (HBITMAP hBitmap : arrBitmaps)
            {
                if (hBitmap == NULL)
                    continue;
                CExtBitmap bmp;
                bmp.AssignFromHBITMAP(hBitmap);
                bmp.Serialize(ar);
            }
        }
        catch (...)
        {
            for (HBITMAP hBitmap : arrBitmaps)
                if (hBitmap != NULL)
                    ::DeleteObject(hBitmap);
            throw;
        }
        for (HBITMAP hBitmap : arrBitmaps)
            if (hBitmap != NULL)
                ::DeleteObject(hBitmap);
        return;
    }
    CursorSet(NULL);
    BYTE nPresent = 0;
    ar >> nPresent;
    if (nPresent == 0)
        return;
    BYTE nFlags = 0;
    DWORD xHot = 0, yHot = 0;
    ar >> nFlags >> xHot >> yHot;
    CExtBitmap arrBmp[2];
    if ((nFlags & 2) != 0)
        arrBmp[0].Serialize(ar);
    if ((nFlags & 4) != 0)
        arrBmp[1].Serialize(ar);
    ICONINFO ii;
    ::memset(&ii, 0, sizeof(ii));
    ii.fIcon = (nFlags & 1) != 0;
    ii.xHotspot = xHot;
    ii.yHotspot = yHot;
    ii.hbmColor = arrBmp[0].IsEmpty() ? NULL : arrBmp[0].CreateHBITMAP();
    ii.hbmMask = arrBmp[1].IsEmpty() ? NULL : arrBmp[1].CreateHBITMAP();
    if (ii.hbmMask != NULL)
        m_hCursor = (HCURSOR)::CreateIconIndirect(&ii);
    if (ii.hbmColor != NULL)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask != NULL)
        ::DeleteObject(ii.hbmMask);
}

bool CExtGridCellEx::OnSetCursor(CExtGridWnd& wndGrid, const HIT_TEST_INFO_T& htiCurrent) const
{
    // The cell's own cursor wins over the grid's wherever the pointer is on the cell.
    if (OnSetCursor()) return true;
    return _Base::OnSetCursor(wndGrid, htiCurrent);
}
