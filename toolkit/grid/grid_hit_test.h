// What lies under a point of a grid window: the cell, its band, the edges near the
// point and the cell's rectangles. A plain value record, copied freely.
//
// The grid base window names it CExtGridBaseWnd::HIT_TEST_INFO (a typedef of this
// record inside that class); it lives on its own so that the cells, which the base
// window's header needs, can take it without including the window.
#pragma once
#include "framework/framework.h"

struct CExtGridHitTestInfo
{
    enum AREA_FLAGS : DWORD
    {
        AREA_OUTER_TOP = 0x0001,
        AREA_OUTER_BOTTOM = 0x0002,
        AREA_OUTER_LEFT = 0x0004,
        AREA_OUTER_RIGHT = 0x0008,
        AREA_NEAR_TOP_EDGE = 0x0010,
        AREA_NEAR_BOTTOM_EDGE = 0x0020,
        AREA_NEAR_LEFT_EDGE = 0x0040,
        AREA_NEAR_RIGHT_EDGE = 0x0080,
        AREA_OUTER = 0x0100,
        AREA_INNER = 0x0200,
        AREA_OUTER_FAR_HALF = 0x20000,
    };

    POINT m_ptClient;
    LONG m_nRowNo;
    LONG m_nColNo;
    LONG m_nVisibleRowNo;
    LONG m_nVisibleColNo;
    DWORD m_dwAreaFlags;
    RECT m_rcItem;      // the cell's content rectangle (less its extra space)
    RECT m_rcExtra;     // the whole cell, extra space included
    RECT m_rcPart;      // the cell part under the point, filled by the cell's hit test
    INT m_nButtonType;  // 0 ellipsis, 1 drop-down, 2 up, 3 down; -1 none

    CExtGridHitTestInfo();
    CExtGridHitTestInfo(int x, int y);
    explicit CExtGridHitTestInfo(POINT ptClient);

    bool IsEmpty() const;
    bool IsInner() const;
    bool IsOuter(bool* pbLeftOrRight = NULL) const;
    bool IsValidRect(bool bStrict = true) const;

    bool IsEqual(const CExtGridHitTestInfo& other, bool bCompareRects = false,
                 bool bRequireValidRect = true, bool bCompareFarHalf = false) const;
    static bool IsEqual(const CExtGridHitTestInfo& left, const CExtGridHitTestInfo& right,
                        bool bCompareRects = false, bool bRequireValidRect = true,
                        bool bCompareFarHalf = false);

    // -1 the near band (left or top), 1 the far band (right or bottom), 0 inner.
    INT GetColumnType() const;
    INT GetRowType() const;
    static INT GetColumnType(DWORD dwAreaFlags);
    static INT GetRowType(DWORD dwAreaFlags);
    static DWORD AreaFlagsFromTypes(INT nColType, INT nRowType);
};
