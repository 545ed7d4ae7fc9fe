// The common dialogs: colour, file and font choosers.
//
// Thin: each class fills the platform's record (m_cc, m_ofn, m_cf) in its constructor,
// callers may adjust it, and DoModal runs the platform's dialog for the owner window
// and answers IDOK or IDCANCEL. The dialog window is not bound to the object (no
// message maps of derived classes run inside it); nothing in the program needs that.
#pragma once
#include "framework/platform.h"
#include <commdlg.h>
#include "framework/dialog.h"
#include "framework/str.h"

#ifndef AFX_POSITION_DEFINED
#define AFX_POSITION_DEFINED
struct __POSITION {};
typedef __POSITION* POSITION;
#endif

class CDC;

class CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);

protected:
    // The platform's dialog closes itself: OK and Cancel go to it unchanged.
    void OnOK() override;
    void OnCancel() override;
    // The window the dialog is owned by: the parent given, else the application's
    // main window (its last active popup).
    HWND GetOwnerForModal() const;
};

class CColorDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    CHOOSECOLOR m_cc;

    // A non-zero clrInit is the initial selection (CC_RGBINIT).
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = NULL);

    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr);
    // The 16 custom colours every colour dialog of the process shares (white at first).
    static COLORREF* PASCAL GetSavedCustomColors();
};

class CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    OPENFILENAME m_ofn;

    // lpszFilter: pairs of "description|pattern|", ending with "|" (the classic form).
    // dwSize: the record size handed to the platform; 0 means the full record.
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = NULL,
                         CWnd* pParentWnd = NULL, DWORD dwSize = 0);
    virtual ~CFileDialog();

    INT_PTR DoModal() override;

    CString GetPathName() const;   // the whole path of the (first) chosen file
    CString GetFileName() const;   // its name with extension
    CString GetFileExt() const;    // its extension without the dot
    CString GetFileTitle() const;  // its name without extension
    CString GetFolderPath() const; // its folder, without the final backslash
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

    // Multiple selection (OFN_ALLOWMULTISELECT | OFN_EXPLORER): the chosen paths one by one.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

protected:
    BOOL m_bOpenFileDialog;
    TCHAR m_szFileTitle[64];
    TCHAR m_szFileName[_MAX_PATH];
    TCHAR* m_pszFilter;  // the filter with NUL separators, ending in two NULs

private:
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;
};

class CFontDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFontDialog)
public:
    CHOOSEFONT m_cf;
    LOGFONT m_lf;

    // lplfInitial is copied (CF_INITTOLOGFONTSTRUCT); a printer DC adds its fonts.
    explicit CFontDialog(LPLOGFONT lplfInitial = NULL, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         CDC* pdcPrinter = NULL, CWnd* pParentWnd = NULL);

    INT_PTR DoModal() override;

    void GetCurrentFont(LPLOGFONT lplf);
    CString GetFaceName() const { return CString(m_lf.lfFaceName); }
    CString GetStyleName() const { return CString(m_szStyleName); }
    int GetSize() const { return m_cf.iPointSize; }  // tenths of a point
    COLORREF GetColor() const { return m_cf.rgbColors; }
    int GetWeight() const { return (int)m_lf.lfWeight; }
    BOOL IsStrikeOut() const { return m_lf.lfStrikeOut != 0; }
    BOOL IsUnderline() const { return m_lf.lfUnderline != 0; }
    BOOL IsBold() const { return m_lf.lfWeight >= FW_SEMIBOLD; }
    BOOL IsItalic() const { return m_lf.lfItalic != 0; }

protected:
    TCHAR m_szStyleName[64];
};
