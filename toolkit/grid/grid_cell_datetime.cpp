#include "toolkit/grid/grid_cell_datetime.h"
#include <string.h>
#include "toolkit/core/resource_manager.h"
#include "toolkit/grid/grid_cell_typed_common.h"
#include "toolkit/grid/grid_inplace_edit.h"
#include "toolkit/grid/grid_wnd.h"
#include "toolkit/pickers/popup_control_menu.h"

IMPLEMENT_SERIAL(CExtGridCellDateTime, CExtGridCellEx, VERSIONABLE_SCHEMA | 1)

namespace {

CString LocaleText(LCTYPE lcType, int cchBuffer)
{
    CString s;
    LPTSTR p = s.GetBuffer(cchBuffer);
    p[0] = _T('\0');
    const int n = g_CurrentResourceManager->GetLocaleInfo(lcType, p, cchBuffer);
    p[cchBuffer - 1] = _T('\0');
    s.ReleaseBuffer(n > 0 ? -1 : 0);
    return s;
}

// The date picture filled in by hand, for a locale formatter that refused it.
CString DateFallback(CString sPicture, const SYSTEMTIME& st)
{
    CString sNum;
    if (sPicture.Find(_T("dd")) >= 0) { sNum.Format(_T("%02d"), (int)st.wDay); sPicture.Replace(_T("dd"), sNum); }
    if (sPicture.Find(_T("d")) >= 0) { sNum.Format(_T("%d"), (int)st.wDay); sPicture.Replace(_T("d"), sNum); }
    if (sPicture.Find(_T("MM")) >= 0) { sNum.Format(_T("%02d"), (int)st.wMonth); sPicture.Replace(_T("MM"), sNum); }
    if (sPicture.Find(_T("M")) >= 0) { sNum.Format(_T("%d"), (int)st.wMonth); sPicture.Replace(_T("M"), sNum); }
    if (sPicture.Find(_T("yyyy")) >= 0) { sNum.Format(_T("%04d"), (int)st.wYear); sPicture.Replace(_T("yyyy"), sNum); }
    if (sPicture.Find(_T("yy")) >= 0) {
        sNum.Format(_T("%04d"), (int)st.wYear);
        sPicture.Replace(_T("yy"), sNum.Right(2));
    }
    if (sPicture.Find(_T("y")) >= 0) { sNum.Format(_T("%d"), (int)st.wYear); sPicture.Replace(_T("y"), sNum); }
    return sPicture;
}

bool CbDatePickerSelection(LPVOID pSelectionNotification, LPVOID pCookie)
{
    CExtGridCellDateTime* pCell = static_cast<CExtGridCellDateTime*>(pCookie);
    if (pCell == NULL || CExtGridCell::g_pCellMenuTracking != pCell) return false;
    return pCell->OnPopupDatePickerSelection(pSelectionNotification);
}

bool CbDatePickerInitContent(CExtPopupInplaceDatePicker& wndPicker, LPVOID pCookie)
{
    CExtGridCellDateTime* pCell = static_cast<CExtGridCellDateTime*>(pCookie);
    if (pCell == NULL || CExtGridCell::g_pCellMenuTracking != pCell) return false;
    return pCell->OnPopupDatePickerInitContent(wndPicker);
}

}  // namespace

CExtGridCellDateTime::CExtGridCellDateTime(CExtGridDataProvider* pOwner)
    : CExtGridCellEx(pOwner), m_nMode(0), m_nTimeFormat(2), m_dtDate(::time(NULL))
{
    // A new cell shows no text until it is given a value.
    m_dtDate.SetStatus(COleDateTime::null);
    ModifyStyle(__EGCS_BUTTON_DROPDOWN);
}

CExtGridCellDateTime::~CExtGridCellDateTime() {}

bool CExtGridCellDateTime::OnQueryPartVisible(int nPart) const
{
    (void)nPart;
    return true;
}

bool CExtGridCellDateTime::OnPopupDatePickerInitContent(CExtPopupInplaceDatePicker& wndPicker)
{
    if (m_dtDate.GetStatus() == COleDateTime::valid) {
        wndPicker.SelectionSet(m_dtDate, m_dtDate, false, false);
        wndPicker.EnsureVisible(m_dtDate, false);
    } else {
        wndPicker.SelectionClear(false);
    }
    return true;
}

bool CExtGridCellDateTime::OnPopupDatePickerSelection(LPVOID pSelectionNotification)
{
    if (pSelectionNotification == NULL) return false;
    const CExtDatePickerWnd::SELECTIONNOTIFICATION& sn =
        *static_cast<const CExtDatePickerWnd::SELECTIONNOTIFICATION*>(pSelectionNotification);
    if (!sn.m_bFinalSelectionChanging) return true;
    if (sn.m_dtBegin.GetStatus() == COleDateTime::valid && m_dtDate.GetStatus() == COleDateTime::valid) {
        // A picked day keeps the time of day the cell had.
        COleDateTime dtNew;
        if (dtNew.SetDateTime(sn.m_dtBegin.GetYear(), sn.m_dtBegin.GetMonth(), sn.m_dtBegin.GetDay(),
                              m_dtDate.GetHour(), m_dtDate.GetMinute(), m_dtDate.GetSecond()) != 0)
            return true;
        SetDateTime(dtNew);
    } else {
        SetDateTime(sn.m_dtBegin);
    }
    return true;
}

DWORD CExtGridCellDateTime::OnQueryDatePickerStyle() const { return 0x1E1F; }

bool CExtGridCellDateTime::OnValueChanging(const COleDateTime& dtOld, const COleDateTime& dtNew)
{
    (void)dtOld, (void)dtNew;
    return true;
}

bool CExtGridCellDateTime::OnValueChanged(const COleDateTime& dtOld, const COleDateTime& dtNew)
{
    (void)dtOld, (void)dtNew;
    return true;
}

bool CExtGridCellDateTime::SetDateTime(const COleDateTime& dt)
{
    const COleDateTime dtOld = m_dtDate;
    if (!OnValueChanging(dtOld, dt)) return false;
    m_dtDate = dt;
    OnValueChanged(dtOld, m_dtDate);
    return true;
}

void CExtGridCellDateTime::Serialize(CArchive& ar)
{
    CExtGridCellEx::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_dtDate;
        ar << (LONG)m_nMode;
        ar << (LONG)m_nTimeFormat;
    } else {
        COleDateTime dt;
        LONG nMode = 0, nTimeFormat = 0;
        ar >> dt;
        ar >> nMode;
        ar >> nTimeFormat;
        m_dtDate = dt;
        m_nMode = (int)nMode;
        m_nTimeFormat = (int)nTimeFormat;
    }
}

void CExtGridCellDateTime::Assign(const CExtGridCell& other)
{
    CExtGridCellEx::Assign(other);
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellDateTime))) {
        const CExtGridCellDateTime& src = static_cast<const CExtGridCellDateTime&>(other);
        m_dtDate = src.m_dtDate;
        m_nMode = src.m_nMode;
        m_nTimeFormat = src.m_nTimeFormat;
    } else {
        m_dtDate = COleDateTime(::time(NULL));
        m_dtDate.SetStatus(COleDateTime::null);
        m_nMode = 0;
        m_nTimeFormat = 2;
    }
}

int CExtGridCellDateTime::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellDateTime))) {
        const COleDateTime& dtOther = static_cast<const CExtGridCellDateTime&>(other).m_dtDate;
        const bool bMine = m_dtDate.GetStatus() == COleDateTime::valid;
        const bool bTheirs = dtOther.GetStatus() == COleDateTime::valid;
        if (!bMine && bTheirs) return 1;
        if (bMine && !bTheirs) return -1;
        if (bMine && bTheirs) {
            if (m_dtDate < dtOther) return -1;
            if (m_dtDate > dtOther) return 1;
        }
    }
    return CExtGridCellEx::Compare(other, dwStyleMask, dwStyleExMask);
}

void CExtGridCellDateTime::stat_RemovePart(CString& sPicture, TCHAR chLetter, LPCTSTR sSeparator)
{
    const int nPos = sPicture.Find(chLetter);
    if (nPos < 0) return;
    int nEnd = nPos;
    const int nLower = _totlower(chLetter);
    while (nEnd < sPicture.GetLength() && _totlower(sPicture[nEnd]) == nLower) nEnd++;
    sPicture.Delete(nPos, nEnd - nPos);
    const int nSepLen = sSeparator != NULL ? (int)_tcslen(sSeparator) : 0;
    if (nSepLen == 0) return;
    for (int i = nPos - nSepLen; i >= 0; i--) {
        if (_tcsncmp((LPCTSTR)sPicture + i, sSeparator, nSepLen) == 0) {
            sPicture.Delete(i, nPos - i);
            return;
        }
    }
    for (int i = nPos; i + nSepLen <= sPicture.GetLength(); i++) {
        if (_tcsncmp((LPCTSTR)sPicture + i, sSeparator, nSepLen) == 0) {
            sPicture.Delete(nPos, i + nSepLen - nPos);
            return;
        }
    }
}

void CExtGridCellDateTime::BuildPictures(CString& sDatePicture, CString& sTimePicture) const
{
    sTimePicture = LocaleText(LOCALE_STIMEFORMAT, 64);
    sDatePicture = LocaleText(LOCALE_SSHORTDATE, 64);
    const CString sTimeSep = LocaleText(LOCALE_STIME, 10);
    const CString sDateSep = LocaleText(LOCALE_SDATE, 10);
    bool b24;
    if (m_nTimeFormat == 0)
        b24 = false;
    else if (m_nTimeFormat == 1)
        b24 = true;
    else
        b24 = LocaleText(LOCALE_ITIME, 10) != _T("0");
    if (b24)
        sTimePicture.Replace(_T('h'), _T('H'));
    else
        sTimePicture.Replace(_T('H'), _T('h'));
    if (m_nMode == 0 || m_nMode == 2) {
        static const TCHAR g_arrDateLetters[3] = {_T('y'), _T('M'), _T('d')};
        for (int i = 0; i < 3; i++)
            if (!OnQueryPartVisible(i)) stat_RemovePart(sDatePicture, g_arrDateLetters[i], sDateSep);
    }
    if (m_nMode == 0 || m_nMode == 1) {
        if (!OnQueryPartVisible(3)) {
            stat_RemovePart(sTimePicture, _T('h'), sTimeSep);
            stat_RemovePart(sTimePicture, _T('H'), sTimeSep);
        }
        if (!OnQueryPartVisible(4)) stat_RemovePart(sTimePicture, _T('m'), sTimeSep);
        if (!OnQueryPartVisible(5)) stat_RemovePart(sTimePicture, _T('s'), sTimeSep);
        if (!OnQueryPartVisible(6) || b24) stat_RemovePart(sTimePicture, _T('t'), _T(" "));
    }
}

void CExtGridCellDateTime::TextGet(CString& strCopy) const
{
    strCopy.Empty();
    if (m_dtDate.GetStatus() != COleDateTime::valid) return;
    CString sDatePicture, sTimePicture;
    BuildPictures(sDatePicture, sTimePicture);
    SYSTEMTIME st;
    ::memset(&st, 0, sizeof(st));
    if (!::VariantTimeToSystemTime(m_dtDate.m_dt, &st)) return;
    CString sTime, sDate;
    TCHAR szBuffer[64];
    szBuffer[0] = _T('\0');
    if (g_CurrentResourceManager->GetTimeFormat(0, &st, sTimePicture, szBuffer, 64) != 0) {
        szBuffer[63] = _T('\0');
        sTime = szBuffer;
    } else {
        sTime = m_dtDate.Format(VAR_TIMEVALUEONLY, LANG_USER_DEFAULT);
    }
    szBuffer[0] = _T('\0');
    if (g_CurrentResourceManager->GetDateFormat(0, &st, sDatePicture, szBuffer, 64) != 0) {
        szBuffer[63] = _T('\0');
        sDate = szBuffer;
    } else {
        sDate = DateFallback(sDatePicture, st);
    }
    if (m_nMode == 2)
        strCopy = sDate;
    else if (m_nMode == 1)
        strCopy = sTime;
    else
        strCopy = sDate + _T(" ") + sTime;
}

void CExtGridCellDateTime::TextSet(LPCTSTR str, bool bAllowChangeDataType)
{
    (void)bAllowChangeDataType;
    COleDateTime dt;
    if (!dt.ParseDateTime(str, 0, LANG_USER_DEFAULT)) return;
    SetDateTime(dt);
}

void CExtGridCellDateTime::VariantGet(VARIANT* pVariant) const
{
    if (pVariant == NULL) return;
    ::VariantClear(pVariant);
    pVariant->vt = VT_DATE;
    pVariant->date = m_dtDate.m_dt;
}

CExtGridCell* CExtGridCellDateTime::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellDateTime>(*this, pMalloc);
}

HWND CExtGridCellDateTime::OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo,
                                                  LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                  const RECT& rcCellExtra, const RECT& rcCell,
                                                  const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                                  LONG nLastEditedRowNo)
{
    auto fnCreate = [&](CExtGridInplaceDateTime& editor) {
        bool arrVisible[7];
        for (int i = 0; i < 7; i++)
            arrVisible[i] = OnQueryPartVisible(i);
        return editor.Create(m_dtDate, m_nMode, m_nTimeFormat, arrVisible);
    };
    return gridcell::CreateInplaceEditor<CExtGridInplaceDateTime>(
        this, wndGrid, nVisibleColNo, nVisibleRowNo, nColNo, nRowNo, nColType, nRowType, rcCellExtra, rcCell,
        rcInplaceControl, nLastEditedColNo, nLastEditedRowNo, fnCreate);
}

void CExtGridCellDateTime::OnInplaceControlApplyDateTime(HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                                         LONG nColNo, LONG nRowNo, INT nColType, INT nRowType,
                                                         const COleDateTime& dtValue, bool bSaveChanges)
{
    if (bSaveChanges) {
        SetDateTime(dtValue);
        gridcell::ResortShowFocus(wndGrid);
    }
    wndGrid.OnInplaceControlApplied(this, hWndInplaceControl, nColNo, nRowNo, nColType, nRowType, dtValue,
                                    bSaveChanges);
}

bool CExtGridCellDateTime::OnButtonPopupMenuTrack(POPUP_LIST_INFO& pli)
{
    if (pli.m_pWndGrid == NULL) return false;
    CExtGridWnd& wndGrid = *pli.m_pWndGrid;
    const HWND hWndGrid = wndGrid.GetSafeHwnd();
    gridcell::FocusCellNow(wndGrid, pli.m_nColNo, pli.m_nRowNo, pli.m_nColType, pli.m_nRowType);
    if (hWndGrid != NULL) {
        ::InvalidateRect(hWndGrid, &pli.m_rcCell, TRUE);
        wndGrid.UpdateWindowNow();
    }
    CExtPopupDatePickerMenuWnd* pPopup = new CExtPopupDatePickerMenuWnd(0, 1, 1, 0x52000000, 0x1E17);
    if (!pPopup->CreatePopupMenu(hWndGrid)) {
        delete pPopup;
        return true;
    }
    pPopup->m_dwDatePickerStyle = OnQueryDatePickerStyle();
    pPopup->m_pCbDatePickerSelection = CbDatePickerSelection;
    pPopup->m_pDatePickerSelectionCookie = this;
    pPopup->m_pCbDatePickerInitContent = CbDatePickerInitContent;
    pPopup->m_pDatePickerInitCookie = this;
    bool bTracked = false;
    if (!gridcell::TrackCellPopup(this, wndGrid, pPopup, pli.m_rcCell, &bTracked) || !bTracked) return true;
    ::InvalidateRect(hWndGrid, &pli.m_rcCell, TRUE);
    gridcell::ValueChangedTail(this, wndGrid, pli.m_nColNo, pli.m_nRowNo, pli.m_nColType, pli.m_nRowType);
    return OnPopupListBoxClosed(pli);
}

bool CExtGridCellDateTime::OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                               const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                                               const RECT& rcCell)
{
    if ((GetStyle() & __EGCS_BUTTON_DROPDOWN) != 0 &&
        gridcell::EditorF4PressesButton(*this, pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell,
                                        __EBTT_DROPDOWN))
        return true;
    return CExtGridCellEx::OnInplaceControlKey(pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell);
}
