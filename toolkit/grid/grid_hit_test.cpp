// The grid's hit-test record.
#include "toolkit/grid/grid_hit_test.h"

namespace {

const DWORD kVertSides = CExtGridHitTestInfo::AREA_OUTER_TOP | CExtGridHitTestInfo::AREA_OUTER_BOTTOM;
const DWORD kHorzSides = CExtGridHitTestInfo::AREA_OUTER_LEFT | CExtGridHitTestInfo::AREA_OUTER_RIGHT;

}  // namespace

CExtGridHitTestInfo::CExtGridHitTestInfo()
    : m_nRowNo(-1), m_nColNo(-1), m_nVisibleRowNo(-1), m_nVisibleColNo(-1), m_dwAreaFlags(0),
      m_nButtonType(-1)
{
    m_ptClient.x = m_ptClient.y = -1;
    ::SetRectEmpty(&m_rcItem);
    ::SetRectEmpty(&m_rcPart);
    // The extent rectangle means something only after a hit test filled it; it is
    // still given a defined value so that copies never carry garbage.
    ::SetRectEmpty(&m_rcExtra);
}

CExtGridHitTestInfo::CExtGridHitTestInfo(int x, int y) : CExtGridHitTestInfo()
{
    m_ptClient.x = x;
    m_ptClient.y = y;
}

CExtGridHitTestInfo::CExtGridHitTestInfo(POINT ptClient) : CExtGridHitTestInfo(ptClient.x, ptClient.y) {}

bool CExtGridHitTestInfo::IsEmpty() const
{
    if (m_dwAreaFlags & AREA_INNER) return !(m_nRowNo >= 0 && m_nColNo >= 0);
    if (m_dwAreaFlags & AREA_OUTER) return !IsOuter();
    return true;
}

bool CExtGridHitTestInfo::IsInner() const
{
    return (m_dwAreaFlags & AREA_INNER) != 0 && m_nRowNo >= 0 && m_nColNo >= 0;
}

bool CExtGridHitTestInfo::IsOuter(bool* pbLeftOrRight) const
{
    if ((m_dwAreaFlags & AREA_OUTER) == 0) return false;
    const bool bVert = (m_dwAreaFlags & kVertSides) != 0;
    const bool bHorz = (m_dwAreaFlags & kHorzSides) != 0;
    if (bVert == bHorz) return false;  // a corner, or no side at all
    if (bHorz) {
        if (m_nRowNo < 0) return false;
        if (pbLeftOrRight != NULL) *pbLeftOrRight = true;
        return true;
    }
    if (m_nColNo < 0) return false;
    if (pbLeftOrRight != NULL) *pbLeftOrRight = false;
    return true;
}

bool CExtGridHitTestInfo::IsValidRect(bool bStrict) const
{
    if (bStrict) return m_rcItem.left < m_rcItem.right && m_rcItem.top < m_rcItem.bottom;
    return m_rcItem.left <= m_rcItem.right && m_rcItem.top <= m_rcItem.bottom;
}

bool CExtGridHitTestInfo::IsEqual(const CExtGridHitTestInfo& other, bool bCompareRects,
                                  bool bRequireValidRect, bool bCompareFarHalf) const
{
    if (bCompareRects) {
        if (!::EqualRect(&m_rcItem, &other.m_rcItem)) return false;
        if (bRequireValidRect && !IsValidRect(true)) return false;
    }
    const DWORD dwMine = m_dwAreaFlags, dwOther = other.m_dwAreaFlags;
    if ((dwMine & AREA_INNER) != (dwOther & AREA_INNER)) return false;
    if ((dwMine & AREA_OUTER) != (dwOther & AREA_OUTER)) return false;
    bool bCellMatches = false;
    if (dwMine & AREA_INNER) {
        if (dwMine & AREA_OUTER) return false;
        bCellMatches = m_nRowNo == other.m_nRowNo && m_nColNo == other.m_nColNo;
    } else if (dwMine & AREA_OUTER) {
        if ((dwMine & kVertSides) != (dwOther & kVertSides)) return false;
        if ((dwMine & kHorzSides) != (dwOther & kHorzSides)) return false;
        const bool bVert = (dwMine & kVertSides) != 0;
        const bool bHorz = (dwMine & kHorzSides) != 0;
        if (bVert && bHorz) return false;
        if (bHorz)
            bCellMatches = m_nRowNo == other.m_nRowNo;
        else if (bVert)
            bCellMatches = m_nColNo == other.m_nColNo;
    }
    if (!bCellMatches) return false;
    if (bCompareFarHalf && (dwMine & AREA_OUTER_FAR_HALF) != (dwOther & AREA_OUTER_FAR_HALF)) return false;
    return true;
}

bool CExtGridHitTestInfo::IsEqual(const CExtGridHitTestInfo& left, const CExtGridHitTestInfo& right,
                                  bool bCompareRects, bool bRequireValidRect, bool bCompareFarHalf)
{
    return left.IsEqual(right, bCompareRects, bRequireValidRect, bCompareFarHalf);
}

INT CExtGridHitTestInfo::GetColumnType() const { return GetColumnType(m_dwAreaFlags); }
INT CExtGridHitTestInfo::GetRowType() const { return GetRowType(m_dwAreaFlags); }

INT CExtGridHitTestInfo::GetColumnType(DWORD dwAreaFlags)
{
    if (dwAreaFlags & AREA_OUTER_LEFT) return -1;
    if (dwAreaFlags & AREA_OUTER_RIGHT) return 1;
    return 0;
}

INT CExtGridHitTestInfo::GetRowType(DWORD dwAreaFlags)
{
    if (dwAreaFlags & AREA_OUTER_TOP) return -1;
    if (dwAreaFlags & AREA_OUTER_BOTTOM) return 1;
    return 0;
}

DWORD CExtGridHitTestInfo::AreaFlagsFromTypes(INT nColType, INT nRowType)
{
    DWORD dw = 0;
    if (nColType < 0)
        dw = AREA_OUTER | AREA_OUTER_LEFT;
    else if (nColType > 0)
        dw = AREA_OUTER | AREA_OUTER_RIGHT;
    if (nRowType < 0)
        dw |= AREA_OUTER | AREA_OUTER_TOP;
    else if (nRowType > 0)
        dw |= AREA_OUTER | AREA_OUTER_BOTTOM;
    if (dw == 0) dw = AREA_INNER;
    return dw;
}
