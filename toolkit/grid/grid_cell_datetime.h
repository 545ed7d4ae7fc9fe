// The date-time cell: one COleDateTime shown as locale text (date and time, time only or
// date only, on a 12-hour, 24-hour or the locale's clock), edited with the date-time
// field editor or picked from a drop-down month calendar.
#pragma once
#include "toolkit/grid/grid_cell_ex.h"

class CExtPopupInplaceDatePicker;

class CExtGridCellDateTime : public CExtGridCellEx
{
    DECLARE_SERIAL(CExtGridCellDateTime)
public:
    // Display mode 0 date and time, 1 time only, 2 date only; time format 0 12-hour,
    // 1 24-hour, 2 the locale's clock; parts 0 year ... 5 second, 6 the AM/PM designator.
    explicit CExtGridCellDateTime(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellDateTime();

    virtual bool OnQueryPartVisible(int nPart) const;
    virtual bool OnPopupDatePickerInitContent(CExtPopupInplaceDatePicker& wndPicker);
    // The picker's selection record (CExtDatePickerWnd::SELECTIONNOTIFICATION).
    virtual bool OnPopupDatePickerSelection(LPVOID pSelectionNotification);
    virtual DWORD OnQueryDatePickerStyle() const;
    virtual bool OnValueChanging(const COleDateTime& dtOld, const COleDateTime& dtNew);
    virtual bool OnValueChanged(const COleDateTime& dtOld, const COleDateTime& dtNew);

    COleDateTime GetDateTime() const { return m_dtDate; }
    // Through the veto path; false when vetoed.
    bool SetDateTime(const COleDateTime& dt);
    int GetMode() const { return m_nMode; }
    void SetMode(int nMode) { m_nMode = nMode; }
    int GetTimeFormat() const { return m_nTimeFormat; }
    void SetTimeFormat(int nTimeFormat) { m_nTimeFormat = nTimeFormat; }

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    int Compare(const CExtGridCell& other, DWORD dwStyleMask = 0, DWORD dwStyleExMask = 0) const override;
    void TextGet(CString& strCopy) const override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    void VariantGet(VARIANT* pVariant) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    HWND OnInplaceControlCreate(CExtGridWnd& wndGrid, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                LONG nRowNo, INT nColType, INT nRowType, const RECT& rcCellExtra,
                                const RECT& rcCell, const RECT& rcInplaceControl, LONG nLastEditedColNo,
                                LONG nLastEditedRowNo) override;
    void OnInplaceControlApplyDateTime(HWND hWndInplaceControl, CExtGridWnd& wndGrid, LONG nColNo, LONG nRowNo,
                                       INT nColType, INT nRowType, const COleDateTime& dtValue,
                                       bool bSaveChanges) override;
    bool OnButtonPopupMenuTrack(POPUP_LIST_INFO& _pli) override;
    // F4 opens the drop-down calendar.
    bool OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                             const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra, const RECT& rcCell) override;

    // Cuts one part (a run of sLetter, either case after the first) out of a picture
    // together with its separator: the one before it, else the one after it.
    static void stat_RemovePart(CString& sPicture, TCHAR chLetter, LPCTSTR sSeparator);

protected:
    int m_nMode;
    int m_nTimeFormat;
    COleDateTime m_dtDate;

private:
    // The picture texts of TextGet; also what the fallbacks are built from.
    void BuildPictures(CString& sDatePicture, CString& sTimePicture) const;
};
