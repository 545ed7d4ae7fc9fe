// The collection forms the toolkit declares: element records passed by non-const
// reference, maps keyed by window handle and id, typed pointer maps over the
// word and pointer maps. Every member of each form is instantiated here, so a template
// member that does not compile for one of them fails the build, not a later library.
#include <gtest/gtest.h>
#include "framework/framework.h"

// File-scope names of their own, so the instantiations below have external linkage.
struct FtFormsSortKey {
    LONG nIndex;
    bool bAscending;
    FtFormsSortKey() : nIndex(0), bAscending(false) {}
    FtFormsSortKey(LONG n, bool b) : nIndex(n), bAscending(b) {}
    bool operator==(const FtFormsSortKey& other) const { return nIndex == other.nIndex && bAscending == other.bAscending; }
};
struct FtFormsPaneExtras {
    int nFormat;
    CString strTip;
    int nExtra;
    FtFormsPaneExtras() : nFormat(0), nExtra(0) {}
    bool operator==(const FtFormsPaneExtras& other) const {
        return nFormat == other.nFormat && strTip == other.strTip && nExtra == other.nExtra;
    }
};
struct FtFormsChain;
class CFtFormsFrame : public CObject {};

template class CArray<FtFormsSortKey, FtFormsSortKey&>;
template class CList<FtFormsSortKey, FtFormsSortKey&>;
template class CMap<UINT, UINT, FtFormsPaneExtras, FtFormsPaneExtras>;
template class CMap<DWORD, DWORD, FtFormsChain*, FtFormsChain*>;
template class CMap<HWND, HWND, FtFormsChain*, FtFormsChain*>;
template class CTypedPtrArray<CPtrArray, FtFormsChain*>;
template class CTypedPtrList<CPtrList, FtFormsChain*>;
template class CTypedPtrMap<CMapPtrToWord, CFtFormsFrame*, WORD>;
template class CTypedPtrMap<CMapPtrToPtr, CFtFormsFrame*, void*>;

TEST(CollectionForms, RecordsByNonConstReference) {
    CArray<FtFormsSortKey, FtFormsSortKey&> keys;
    FtFormsSortKey first(3, true), second(7, false);
    keys.Add(first);
    keys.Add(second);
    // An element of the array itself, inserted while the storage has to grow.
    keys.FreeExtra();
    keys.InsertAt(0, keys[1], 2);
    ASSERT_EQ(4, keys.GetSize());
    EXPECT_EQ(second, keys[0]);
    EXPECT_EQ(second, keys[1]);
    EXPECT_EQ(first, keys[2]);
    EXPECT_EQ(second, keys[3]);

    CArray<FtFormsSortKey, FtFormsSortKey&> copy;
    copy.Copy(keys);
    copy.RemoveAt(1, 2);
    ASSERT_EQ(2, copy.GetSize());
    EXPECT_EQ(second, copy[0]);
    EXPECT_EQ(second, copy[1]);

    CList<FtFormsSortKey, FtFormsSortKey&> list;
    list.AddTail(first);
    list.AddTail(second);
    EXPECT_EQ(list.GetTailPosition(), list.Find(second));
}

TEST(CollectionForms, MapsByHandleIdAndTypedPointer) {
    CMap<UINT, UINT, FtFormsPaneExtras, FtFormsPaneExtras> extras(10);
    FtFormsPaneExtras e;
    e.nFormat = 36;
    e.strTip = "tip";
    extras.SetAt(0xE801, e);
    FtFormsPaneExtras found;
    ASSERT_TRUE(extras.Lookup(0xE801, found));
    EXPECT_EQ(e, found);
    EXPECT_FALSE(extras.Lookup(0xE802, found));

    CMap<HWND, HWND, FtFormsChain*, FtFormsChain*> chains;
    HWND hWnd = ::GetDesktopWindow();
    chains[hWnd] = (FtFormsChain*)&e;
    FtFormsChain* pChain = NULL;
    EXPECT_TRUE(chains.Lookup(hWnd, pChain));
    EXPECT_EQ((FtFormsChain*)&e, pChain);
    EXPECT_TRUE(chains.RemoveKey(hWnd));
    EXPECT_TRUE(chains.IsEmpty());

    CTypedPtrMap<CMapPtrToWord, CFtFormsFrame*, WORD> registry(10);
    CFtFormsFrame frame;
    WORD w = 0;
    EXPECT_FALSE(registry.Lookup(&frame, w)) << "nothing listed";
    registry.SetAt(&frame, 5);
    EXPECT_TRUE(registry.Lookup(&frame, w));
    EXPECT_EQ(5, w);
    POSITION pos = registry.GetStartPosition();
    CFtFormsFrame* pKey = NULL;
    registry.GetNextAssoc(pos, pKey, w);
    EXPECT_EQ(&frame, pKey);
    EXPECT_EQ(NULL, pos);
}
