#include <gtest/gtest.h>
#include <cstddef>
#include "toolkit/grid/grid_hit_test.h"

typedef CExtGridHitTestInfo HTI;

TEST(GridHitTest, LayoutIsEightyBytesInFieldOrder) {
    EXPECT_EQ(80u, sizeof(HTI));
    EXPECT_EQ(0u, offsetof(HTI, m_ptClient));
    EXPECT_EQ(8u, offsetof(HTI, m_nRowNo));
    EXPECT_EQ(12u, offsetof(HTI, m_nColNo));
    EXPECT_EQ(16u, offsetof(HTI, m_nVisibleRowNo));
    EXPECT_EQ(20u, offsetof(HTI, m_nVisibleColNo));
    EXPECT_EQ(24u, offsetof(HTI, m_dwAreaFlags));
    EXPECT_EQ(28u, offsetof(HTI, m_rcItem));
    EXPECT_EQ(44u, offsetof(HTI, m_rcExtra));
    EXPECT_EQ(60u, offsetof(HTI, m_rcPart));
    EXPECT_EQ(76u, offsetof(HTI, m_nButtonType));
}

TEST(GridHitTest, DefaultAndPointConstruction) {
    HTI h;
    EXPECT_EQ(-1, h.m_ptClient.x);
    EXPECT_EQ(-1, h.m_ptClient.y);
    EXPECT_EQ(-1, h.m_nRowNo);
    EXPECT_EQ(-1, h.m_nColNo);
    EXPECT_EQ(-1, h.m_nVisibleRowNo);
    EXPECT_EQ(-1, h.m_nVisibleColNo);
    EXPECT_EQ(0u, h.m_dwAreaFlags);
    EXPECT_TRUE(::IsRectEmpty(&h.m_rcItem) && h.m_rcItem.left == 0 && h.m_rcItem.bottom == 0);
    EXPECT_TRUE(::IsRectEmpty(&h.m_rcPart) && h.m_rcPart.right == 0);
    EXPECT_EQ(-1, h.m_nButtonType);
    EXPECT_TRUE(h.IsEmpty());
    EXPECT_FALSE(h.IsInner());
    EXPECT_FALSE(h.IsOuter());
    EXPECT_EQ(0, h.GetColumnType());
    EXPECT_EQ(0, h.GetRowType());

    HTI p(7, 9);
    EXPECT_EQ(7, p.m_ptClient.x);
    EXPECT_EQ(9, p.m_ptClient.y);
    EXPECT_EQ(-1, p.m_nRowNo);
    p.m_nRowNo = 4;
    p.m_rcExtra = {1, 2, 3, 4};
    HTI c(p);
    EXPECT_EQ(0, memcmp(&c, &p, sizeof(HTI)));
}

TEST(GridHitTest, AreaFlagsFromTypesAndBack) {
    struct { int col, row; DWORD flags; } cases[] = {
        {-1, -1, 0x105}, {1, -1, 0x109}, {-1, 1, 0x106}, {1, 1, 0x10A},
        {-1, 0, 0x104}, {1, 0, 0x108}, {0, -1, 0x101}, {0, 1, 0x102}, {0, 0, 0x200},
        {-5, 7, 0x106},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "col " << c.col << " row " << c.row);
        DWORD f = HTI::AreaFlagsFromTypes(c.col, c.row);
        EXPECT_EQ(c.flags, f);
        EXPECT_EQ(c.col < 0 ? -1 : c.col > 0 ? 1 : 0, HTI::GetColumnType(f));
        EXPECT_EQ(c.row < 0 ? -1 : c.row > 0 ? 1 : 0, HTI::GetRowType(f));
    }
}

static HTI Make(DWORD flags, int row, int col) {
    HTI h;
    h.m_dwAreaFlags = flags;
    h.m_nRowNo = row;
    h.m_nColNo = col;
    return h;
}

TEST(GridHitTest, InnerOuterAndEmpty) {
    HTI inner = Make(0x200, 2, 3);
    EXPECT_TRUE(inner.IsInner());
    EXPECT_FALSE(inner.IsEmpty());
    EXPECT_FALSE(inner.IsOuter());
    EXPECT_TRUE(Make(0x200, -1, 3).IsEmpty());
    EXPECT_FALSE(Make(0x200, -1, 3).IsInner());

    bool bLeftOrRight = true;
    HTI top = Make(0x101, -1, 3);
    EXPECT_TRUE(top.IsOuter(&bLeftOrRight));
    EXPECT_FALSE(bLeftOrRight);
    EXPECT_FALSE(top.IsEmpty());

    bLeftOrRight = false;
    EXPECT_TRUE(Make(0x108, 5, -1).IsOuter(&bLeftOrRight));
    EXPECT_TRUE(bLeftOrRight);
    EXPECT_FALSE(Make(0x104, -1, 0).IsOuter());
    EXPECT_TRUE(Make(0x104, -1, 0).IsEmpty());

    // Corners address no cell.
    EXPECT_FALSE(Make(0x105, 0, 0).IsOuter());
    EXPECT_TRUE(Make(0x105, 0, 0).IsEmpty());
    // The inner bit decides before the outer bit.
    EXPECT_TRUE(Make(0x301, -1, 2).IsEmpty());
    // Side bits without the outer bit are nowhere.
    EXPECT_TRUE(Make(0x001, 0, 2).IsEmpty());
}

TEST(GridHitTest, ValidRect) {
    HTI h;
    EXPECT_FALSE(h.IsValidRect(true));
    EXPECT_TRUE(h.IsValidRect(false));
    h.m_rcItem = {5, 5, 4, 9};
    EXPECT_FALSE(h.IsValidRect(false));
    h.m_rcItem = {5, 5, 6, 9};
    EXPECT_TRUE(h.IsValidRect(true));
}

TEST(GridHitTest, Equality) {
    // Left band: the same row in different outer columns is the same header.
    EXPECT_TRUE(Make(0x104, 3, 0).IsEqual(Make(0x104, 3, 1)));
    EXPECT_FALSE(Make(0x104, 3, 0).IsEqual(Make(0x104, 4, 0)));
    EXPECT_FALSE(Make(0x104, 3, 0).IsEqual(Make(0x108, 3, 0)));
    // Top band: the same column in different outer rows.
    EXPECT_TRUE(Make(0x101, 0, 6).IsEqual(Make(0x101, 2, 6)));
    EXPECT_FALSE(Make(0x101, 0, 6).IsEqual(Make(0x102, 0, 6)));
    // Corners never match, not even themselves.
    HTI corner = Make(0x105, 0, 0);
    EXPECT_FALSE(corner.IsEqual(corner));
    // Inner cells match on row and column; inner never equals outer.
    EXPECT_TRUE(HTI::IsEqual(Make(0x200, 1, 2), Make(0x200, 1, 2)));
    EXPECT_FALSE(Make(0x200, 1, 2).IsEqual(Make(0x200, 1, 3)));
    EXPECT_FALSE(Make(0x200, 1, 2).IsEqual(Make(0x104, 1, 2)));
    EXPECT_FALSE(Make(0x300, 1, 2).IsEqual(Make(0x300, 1, 2)));
    EXPECT_FALSE(HTI().IsEqual(HTI()));
    // Edge bits do not take part.
    EXPECT_TRUE(Make(0x210, 1, 2).IsEqual(Make(0x280, 1, 2)));

    // Rectangles.
    HTI a = Make(0x200, 1, 2), b = Make(0x200, 1, 2);
    a.m_rcItem = {0, 0, 10, 10};
    b.m_rcItem = {0, 0, 10, 11};
    EXPECT_TRUE(a.IsEqual(b));
    EXPECT_FALSE(a.IsEqual(b, true));
    b.m_rcItem = a.m_rcItem;
    EXPECT_TRUE(a.IsEqual(b, true));
    a.m_rcItem = b.m_rcItem = {0, 0, 0, 10};
    EXPECT_FALSE(a.IsEqual(b, true, true));
    EXPECT_TRUE(a.IsEqual(b, true, false));

    // The far half counts only when asked.
    HTI l = Make(0x101, 0, 4), r = Make(0x20101, 0, 4);
    EXPECT_TRUE(l.IsEqual(r));
    EXPECT_FALSE(l.IsEqual(r, false, true, true));
    EXPECT_TRUE(r.IsEqual(Make(0x20101, 1, 4), false, true, true));
}
