// The report grid's column registry: categories of columns, the set of all columns,
// activation (moving a column between the shown and the chooser's part of the provider)
// and the alignment styles of a column's cells. Names and categories compare
// case-sensitively; NULL counts as "".
#include "toolkit/reportgrid/report_grid_wnd.h"

namespace {

LPCTSTR Safe(LPCTSTR s) { return s != NULL ? s : _T(""); }

}  // namespace

CExtReportGridWnd::ColumnArray* CExtReportGridWnd::CategoryArrayGet(LPCTSTR sCategory, bool bCreate)
{
    void* p = NULL;
    if (m_mapCategories.Lookup(Safe(sCategory), p))
        return (ColumnArray*)p;
    if (!bCreate)
        return NULL;
    ColumnArray* pArray = new ColumnArray;
    m_mapCategories.SetAt(Safe(sCategory), pArray);
    AddComboCategory(Safe(sCategory));
    return pArray;
}

void CExtReportGridWnd::CategoryArrayRemove(LPCTSTR sCategory, CExtReportGridColumn* pColumn)
{
    ColumnArray* pArray = CategoryArrayGet(sCategory, false);
    if (pArray == NULL)
        return;
    for (INT_PTR i = 0; i < pArray->GetSize(); i++)
        if (pArray->GetAt(i) == pColumn)
        {
            pArray->RemoveAt(i);
            break;
        }
    if (pArray->GetSize() > 0)
        return;
    const CString strCategory = Safe(sCategory);
    m_mapCategories.RemoveKey(strCategory);
    delete pArray;
    RemoveComboCategory(strCategory);
}

CExtReportGridColumn* CExtReportGridWnd::ColumnRegister(LPCTSTR sName, LPCTSTR sCategory, bool bActive,
                                                        bool bRedraw, CRuntimeClass* pColumnRTC)
{
    if (pColumnRTC == NULL)
        pColumnRTC = RUNTIME_CLASS(CExtReportGridColumn);
    if (!pColumnRTC->IsDerivedFrom(RUNTIME_CLASS(CExtReportGridColumn)))
        return NULL;
    // A second column of one name and category would be one column to every lookup, and
    // a layout that stored both would not read back.
    CExtReportGridColumn::LAYOUT_FIELDS fields;
    fields.m_strName = Safe(sName);
    fields.m_strCategory = Safe(sCategory);
    if (CExtReportGridColumn::stat_LayoutFaults(fields, this, NULL) != 0)
        return NULL;
    GetDataProvider();
    if (m_pReportDP == NULL)
        return NULL;
    // Columns live as cells of the header row.
    if (GetTopOuterRowCount() < 1)
        SetTopOuterRowCount(1, false);
    const int nCol = GetColumnCount();
    if (!InsertColumns(nCol, 1, false))
        return NULL;
    CExtReportGridColumn* pColumn = DYNAMIC_DOWNCAST(CExtReportGridColumn, GridCellGet(nCol, 0, 0, -1, pColumnRTC));
    if (pColumn == NULL)
    {
        RemoveColumns(nCol, 1, false);
        return NULL;
    }
    // Named before it is linked: the registry files it below, once.
    pColumn->NameAndCategorySet(Safe(sName), Safe(sCategory));
    pColumn->m_pReportGrid = this;
    pColumn->m_nFlags |= CExtReportGridColumn::__ERGCF_ACTIVE;
    CategoryArrayGet(sCategory, true)->Add(pColumn);
    m_mapColumns.SetAt(pColumn, pColumn);
    if (!bActive)
        ColumnActivate(pColumn, false, -1, false);
    if (bRedraw)
        UpdateAndRedraw();
    return pColumn;
}

bool CExtReportGridWnd::ColumnUnregister(CExtReportGridColumn* pColumn, bool bRedraw)
{
    if (!ColumnIsOwn(pColumn))
        return false;
    if (CExtPopupMenuWnd::IsMenuTracking())
        CExtPopupMenuWnd::CancelMenuTracking();
    m_pContextColumn = NULL;
    m_mapColumns.RemoveKey(pColumn);
    CategoryArrayRemove(pColumn->CategoryNameGet(), pColumn);
    // The header cell stays with the provider, no longer tied to the registry.
    pColumn->m_pReportGrid = NULL;
    if (bRedraw)
        UpdateAndRedraw();
    return true;
}

int CExtReportGridWnd::ColumnUnregisterAll(LPCTSTR sName, LPCTSTR sCategory, bool bRedraw)
{
    int nCount = 0;
    if (sName == NULL && sCategory == NULL)
    {
        CArray<CExtReportGridColumn*, CExtReportGridColumn*> arr;
        POSITION pos = m_mapColumns.GetStartPosition();
        while (pos != NULL)
        {
            void *pKey = NULL, *pValue = NULL;
            m_mapColumns.GetNextAssoc(pos, pKey, pValue);
            arr.Add((CExtReportGridColumn*)pValue);
        }
        for (INT_PTR i = 0; i < arr.GetSize(); i++, nCount++)
            if (!ColumnUnregister(arr[i], false))
                break;
    }
    else if (ColumnUnregister(ColumnFind(sName, sCategory), false))
        nCount = 1;
    if (bRedraw)
        UpdateAndRedraw();
    return nCount;
}

int CExtReportGridWnd::RemoveColumns(int nPos, int nCount, bool bRedraw)
{
    // A header column's cell is its column, freed with it: it must leave the sort order
    // (whose group-by part the group area shows) and the registry first, or storing the
    // layout, painting the group area or the next rebuild would call through it.
    CExtReportGridDataProvider& dp = GetReportDataProvider();
    const int nActive = dp.ActiveColumnCountGet();
    if (nCount < 0)
        nCount = nActive;
    CExtReportGridSortOrder order(SortOrderGet());
    if ((GetScrollItemStyleEx() & __EGSE_EXTERNAL_DATA) == 0 && nPos >= 0 && nCount <= nActive - nPos)
        for (int i = nPos; i < nPos + nCount; i++)
        {
            CExtReportGridColumn* pColumn = dp.ActiveColumnGet(i);
            const int nIndex = order.IndexOf(pColumn);
            if (nIndex >= 0)
            {
                const int nGroups = order.GetGroupCount();
                order.ItemRemove(nIndex);
                order.SetGroupCount(nIndex < nGroups ? nGroups - 1 : nGroups);
            }
            if (ColumnIsOwn(pColumn))
                ColumnUnregister(pColumn, false);
        }
    const bool bOrderChanged = order != SortOrderGet();
    if (bOrderChanged)
        dp.ReportSortOrderGet().Assign(order);
    const int nRemoved = CExtTreeGridWnd::RemoveColumns(nPos, nCount, bRedraw);
    if (bOrderChanged)
        RebuildItems(bRedraw);
    return nRemoved;
}

CExtReportGridColumn* CExtReportGridWnd::ColumnFind(LPCTSTR sName, LPCTSTR sCategory)
{
    return ColumnFindOther(sName, sCategory, NULL);
}

CExtReportGridColumn* CExtReportGridWnd::ColumnFindOther(LPCTSTR sName, LPCTSTR sCategory,
                                                         const CExtReportGridColumn* pExcept)
{
    ColumnArray* pArray = CategoryArrayGet(sCategory, false);
    if (pArray == NULL)
        return NULL;
    for (INT_PTR i = 0; i < pArray->GetSize(); i++)
        if (pArray->GetAt(i) != pExcept && _tcscmp(pArray->GetAt(i)->ColumnNameGet(), Safe(sName)) == 0)
            return pArray->GetAt(i);
    return NULL;
}

bool CExtReportGridWnd::ColumnIsActive(LPCTSTR sName, LPCTSTR sCategory)
{
    const CExtReportGridColumn* pColumn = ColumnFind(sName, sCategory);
    return pColumn != NULL && pColumn->IsActive();
}

bool CExtReportGridWnd::ColumnIsOwn(const CExtReportGridColumn* pColumn) const
{
    return pColumn != NULL && pColumn->GetReportGrid() == this;
}

bool CExtReportGridWnd::ColumnActivate(CExtReportGridColumn* pColumn, bool bActivate, int nPos, bool bRedraw)
{
    if (!ColumnIsOwn(pColumn))
        return false;
    const CString strName = pColumn->ColumnNameGet(), strCategory = pColumn->CategoryNameGet();
    return ColumnActivate(strName, strCategory, bActivate, nPos, bRedraw);
}

bool CExtReportGridWnd::ColumnIsActive(const CExtReportGridColumn* pColumn)
{
    if (!ColumnIsOwn(pColumn))
        return false;
    return ColumnIsActive(pColumn->ColumnNameGet(), pColumn->CategoryNameGet());
}

bool CExtReportGridWnd::ColumnActivate(LPCTSTR sName, LPCTSTR sCategory, bool bActivate, int nPos, bool bRedraw)
{
    CExtReportGridDataProvider& dp = GetReportDataProvider();
    if (bActivate && (nPos < 0 || nPos > dp.ActiveColumnCountGet()))
        nPos = dp.ActiveColumnCountGet();
    if (sName == NULL)
    {
        // Every column (of the category): copies, since activation reorders nothing here
        // but a failure must not leave the walk on a changed list.
        CArray<CExtReportGridColumn*, CExtReportGridColumn*> arr;
        if (sCategory == NULL)
        {
            POSITION pos = m_mapColumns.GetStartPosition();
            while (pos != NULL)
            {
                void *pKey = NULL, *pValue = NULL;
                m_mapColumns.GetNextAssoc(pos, pKey, pValue);
                arr.Add((CExtReportGridColumn*)pValue);
            }
        }
        else if (ColumnArray* pArray = CategoryArrayGet(sCategory, false))
            for (INT_PTR i = 0; i < pArray->GetSize(); i++)
                arr.Add(pArray->GetAt(i));
        bool bAll = true;
        for (INT_PTR i = 0; i < arr.GetSize(); i++)
        {
            const CString strName = arr[i]->ColumnNameGet(), strCategory = arr[i]->CategoryNameGet();
            if (ColumnActivate(strName, strCategory, bActivate, nPos, false))
            {
                if (bActivate)
                    nPos++;
            }
            else
                bAll = false;
        }
        if (bRedraw)
            UpdateAndRedraw();
        return bAll;
    }
    CExtReportGridColumn* pColumn = ColumnFind(sName, sCategory);
    if (pColumn == NULL)
        return false;
    // The provider moves the column's active flag with it.
    bool bDone = true;
    if (!bActivate)
    {
        if (pColumn->IsActive())
            bDone = dp.ColumnDeactivate(dp.ActiveColumnIndexOf(pColumn), nPos < 0 ? -1 : nPos);
    }
    else if (!pColumn->IsActive())
        bDone = dp.ColumnActivate(dp.InactiveColumnIndexOf(pColumn), nPos);
    else
    {
        // One move among the shown columns: it lands where the way through the hidden
        // ones would bring it (before nPos, counted before the move), or stays.
        const int nIndex = dp.ActiveColumnIndexOf(pColumn);
        bDone = nIndex >= 0 && dp.MoveColumnOrRow(true, (ULONG)nIndex, (ULONG)nPos);
    }
    if (!bDone)
        return false;
    CWnd* pCombo = m_pWndCategoryComboBox;
    if (pCombo != NULL && pCombo->m_hWnd != NULL && pCombo->SendMessage(CB_GETCOUNT) > 0)
    {
        const LRESULT nSel = pCombo->SendMessage(CB_GETCURSEL);
        CString strSel;
        if (nSel >= 0)
        {
            const LRESULT nLen = pCombo->SendMessage(CB_GETLBTEXTLEN, (WPARAM)nSel);
            if (nLen >= 0)
            {
                pCombo->SendMessage(CB_GETLBTEXT, (WPARAM)nSel, (LPARAM)strSel.GetBuffer((int)nLen + 1));
                strSel.ReleaseBuffer();
            }
        }
        CWnd* pParent = pCombo->GetParent();
        if (strSel == pColumn->CategoryNameGet() && pParent != NULL)
            pParent->SendMessage(WM_COMMAND, MAKEWPARAM(pCombo->GetDlgCtrlID(), CBN_SELCHANGE),
                                 (LPARAM)pCombo->m_hWnd);
    }
    if (bRedraw)
        UpdateAndRedraw();
    return true;
}

int CExtReportGridWnd::ColumnGetCount(bool bActive, bool bInactive)
{
    CExtReportGridDataProvider& dp = GetReportDataProvider();
    return (bActive ? dp.ActiveColumnCountGet() : 0) + (bInactive ? dp.InactiveColumnCountGet() : 0);
}

namespace {

bool ColumnMatches(const CExtReportGridColumn* pColumn, LPCTSTR sCategory, bool bActive, bool bInactive)
{
    if (pColumn == NULL || !(pColumn->IsActive() ? bActive : bInactive))
        return false;
    return sCategory == NULL || _tcscmp(pColumn->CategoryNameGet(), sCategory) == 0;
}

// The first position at or after pos whose column matches.
POSITION SkipToMatch(const CMapPtrToPtr& map, POSITION pos, LPCTSTR sCategory, bool bActive, bool bInactive)
{
    while (pos != NULL)
    {
        POSITION posNext = pos;
        void *pKey = NULL, *pValue = NULL;
        map.GetNextAssoc(posNext, pKey, pValue);
        if (ColumnMatches((const CExtReportGridColumn*)pValue, sCategory, bActive, bInactive))
            return pos;
        pos = posNext;
    }
    return NULL;
}

}  // namespace

POSITION CExtReportGridWnd::ColumnGetStartPosition(LPCTSTR sCategory, bool bActive, bool bInactive)
{
    if (!bActive && !bInactive)
        return NULL;
    return SkipToMatch(m_mapColumns, m_mapColumns.GetStartPosition(), sCategory, bActive, bInactive);
}

CExtReportGridColumn* CExtReportGridWnd::ColumnGetNext(POSITION& pos, LPCTSTR sCategory, bool bActive,
                                                       bool bInactive)
{
    if (pos == NULL || (!bActive && !bInactive))
    {
        pos = NULL;
        return NULL;
    }
    void *pKey = NULL, *pValue = NULL;
    m_mapColumns.GetNextAssoc(pos, pKey, pValue);
    pos = SkipToMatch(m_mapColumns, pos, sCategory, bActive, bInactive);
    return (CExtReportGridColumn*)pValue;
}

bool CExtReportGridWnd::ColumnRegistryMoveAllowed(CExtReportGridColumn* pColumn, LPCTSTR sNewName, LPCTSTR sNewCategory)
{
    CExtReportGridColumn::LAYOUT_FIELDS fields = pColumn->ExtentFieldsGet();
    fields.m_strName = sNewName;
    fields.m_strCategory = sNewCategory;
    return (CExtReportGridColumn::stat_LayoutFaults(fields, this, pColumn) &
            CExtReportGridColumn::__ERGC_LAYOUT_TWIN) == 0;
}

bool CExtReportGridWnd::ColumnRegistryMove(LPCTSTR sOldName, LPCTSTR sOldCategory, LPCTSTR sNewName,
                                           LPCTSTR sNewCategory, bool bRedraw)
{
    const CString strOldName = Safe(sOldName), strOldCategory = Safe(sOldCategory);
    if (strOldCategory == Safe(sNewCategory) && strOldName == Safe(sNewName))
        return true;
    // Moving the registry entry alone would file the column under a pair it does not
    // name: lookups by its own pair would miss it, the layout would store a pair that
    // reads back as no column, and ColumnRegister would make a second column of it.
    CExtReportGridColumn* pColumn = ColumnFind(strOldName, strOldCategory);
    return pColumn != NULL && ColumnIdentitySet(pColumn, sNewName, sNewCategory, bRedraw);
}

bool CExtReportGridWnd::ColumnIdentitySet(CExtReportGridColumn* pColumn, LPCTSTR sName, LPCTSTR sCategory, bool bRedraw)
{
    if (!ColumnIsOwn(pColumn))
        return false;
    const CString strName = Safe(sName), strCategory = Safe(sCategory);
    const CString strFiledCategory = pColumn->CategoryNameGet();
    if (strName == pColumn->ColumnNameGet() && strCategory == strFiledCategory)
        return true;
    if (!ColumnRegistryMoveAllowed(pColumn, strName, strCategory))
        return false;
    pColumn->CExtGridCellHeader::TextSet(strName);
    pColumn->m_strCategory = strCategory;
    ColumnRegistryRefile(pColumn, strFiledCategory, false);
    if (bRedraw)
        UpdateAndRedraw();
    return true;
}

bool CExtReportGridWnd::ColumnRegistryRefile(CExtReportGridColumn* pColumn, LPCTSTR sFiledCategory, bool bRedraw)
{
    if (!ColumnIsOwn(pColumn))
        return false;
    const CString strFiled = Safe(sFiledCategory), strNow = pColumn->CategoryNameGet();
    if (strFiled == strNow)
        return true;
    CategoryArrayRemove(strFiled, pColumn);
    ColumnArray* pArray = CategoryArrayGet(strNow, true);
    bool bFiled = false;
    for (INT_PTR i = 0; i < pArray->GetSize() && !bFiled; i++)
        bFiled = pArray->GetAt(i) == pColumn;
    if (!bFiled)
        pArray->Add(pColumn);
    m_mapColumns.SetAt(pColumn, pColumn);
    if (bRedraw)
        UpdateAndRedraw();
    return true;
}

// ---- cell styles of a column ------------------------------------------------------------

int CExtReportGridWnd::CellStyleWalk(CExtTreeGridCellNode* pNode, const CExtReportGridColumn* pColumn, DWORD dwValue,
                                     DWORD dwMask, bool bStyleEx)
{
    if (pNode == NULL)
        return 0;
    int nChanged = 0;
    // Depth is bounded by the number of group-by columns.
    for (ULONG i = 0, n = pNode->TreeNodeGetChildCount(); i < n; i++)
    {
        CExtTreeGridCellNode* pChild = pNode->TreeNodeGetChildAt(i);
        if (pChild->TreeNodeGetChildCount() > 0)
        {
            nChanged += CellStyleWalk(pChild, pColumn, dwValue, dwMask, bStyleEx);
            continue;
        }
        CExtGridCell* pCell = ItemCellGet(pColumn, DYNAMIC_DOWNCAST(CExtReportGridItem, pChild), NULL);
        if (pCell == NULL)
            continue;
        const DWORD dwOld = bStyleEx ? pCell->GetStyleEx() : pCell->GetStyle();
        if ((dwOld & dwMask) == dwValue)
            continue;
        if (bStyleEx)
            pCell->ModifyStyleEx(dwValue, dwMask & ~dwValue);
        else
            pCell->ModifyStyle(dwValue, dwMask & ~dwValue);
        nChanged++;
    }
    return nChanged;
}

bool CExtReportGridWnd::ColumnCellStyleModify(CExtReportGridColumn* pColumn, DWORD dwValue, DWORD dwMask,
                                              bool bStyleEx, bool bRedraw)
{
    if (dwMask == 0 || (dwValue & ~dwMask) != 0 || pColumn == NULL)
        return false;
    int nChanged = CellStyleWalk(NodeOf(ItemGetRoot()), pColumn, dwValue, dwMask, bStyleEx);
    // The header cell carries the same bits: the header menu marks the alignment the
    // column has, and the layout archive stores them from it.
    const DWORD dwOld = bStyleEx ? pColumn->GetStyleEx() : pColumn->GetStyle();
    if ((dwOld & dwMask) != dwValue)
    {
        bStyleEx ? pColumn->ModifyStyleEx(dwValue, dwMask & ~dwValue) : pColumn->ModifyStyle(dwValue, dwMask & ~dwValue);
        nChanged++;
    }
    if (bRedraw && nChanged > 0)
        UpdateAndRedraw();
    return true;
}

bool CExtReportGridWnd::ColumnCellStyle300Set(CExtReportGridColumn* pColumn, DWORD dwValue, bool bRedraw)
{
    return ColumnCellStyleModify(pColumn, dwValue, 0x300, false, bRedraw);
}
bool CExtReportGridWnd::ColumnCellStyle3000Set(CExtReportGridColumn* pColumn, DWORD dwValue, bool bRedraw)
{
    return ColumnCellStyleModify(pColumn, dwValue, 0x3000, false, bRedraw);
}
bool CExtReportGridWnd::ColumnCellStyle3Set(CExtReportGridColumn* pColumn, DWORD dwValue, bool bRedraw)
{
    return ColumnCellStyleModify(pColumn, dwValue, 0x3, false, bRedraw);
}
bool CExtReportGridWnd::ColumnCellStyle30Set(CExtReportGridColumn* pColumn, DWORD dwValue, bool bRedraw)
{
    return ColumnCellStyleModify(pColumn, dwValue, 0x30, false, bRedraw);
}
