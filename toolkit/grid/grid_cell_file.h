// The path cells: a file path chosen with the common file dialog, a file path of an icon
// that the cell shows, and a folder path chosen with the shell's folder browser, all from
// the ellipsis button. The path is the string cell's text; a path that would not fit the
// dialogs' buffers is never cut: the dialog starts without it.
#pragma once
#include "toolkit/grid/grid_cell_string.h"

class CExtGridCellFile : public CExtGridCellString
{
    DECLARE_SERIAL(CExtGridCellFile)
public:
    explicit CExtGridCellFile(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellFile();

    bool m_bOpenFileDialog;
    DWORD m_dwFileDialogFlags;
    CString m_sDefExt;
    CString m_sFilter;

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    void OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra, const RECT& rcCell,
                         LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                         INT nRowType) override;
    bool OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                             const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra, const RECT& rcCell) override;

    // The dialog step, apart so that it can be replaced: true with the chosen path.
    virtual bool OnRunFileDialog(CExtGridWnd& wndGrid, CString& sPath);
    // The initial file name handed to the dialog: NULL when there is none or it would not
    // fit the dialog's buffer.
    LPCTSTR DialogInitialFile() const;
};

class CExtGridCellFileImage : public CExtGridCellFile
{
    DECLARE_SERIAL(CExtGridCellFileImage)
public:
    explicit CExtGridCellFileImage(CExtGridDataProvider* pOwner = NULL);

    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    CSize IconGetSize() override;
    CRect GetIconMargins() const override;
    // The icon file named by the text, stretched over the icon box, on the window colour
    // in a black frame; a file that gives no icon leaves the framed box.
    void OnPaintIcon(CExtCmdIcon* pIcon, const RECT& rcIcon, EXT_GRID_CELL_PAINT_ARGS) const override;
};

class CExtGridCellFolder : public CExtGridCellString
{
    DECLARE_SERIAL(CExtGridCellFolder)
public:
    explicit CExtGridCellFolder(CExtGridDataProvider* pOwner = NULL);
    virtual ~CExtGridCellFolder();

    DWORD m_dwBrowseFlags;
    CString m_sTitle;
    CString m_sRootFolder;

    // The shell's folder browser; sPathBuffer (MAX_PATH characters) holds the folder to
    // preselect and receives the chosen one. True only when a path was obtained.
    virtual bool BrowseForFolder(LPCTSTR sTitle, LPTSTR sPathBuffer, LPCTSTR sRoot, HWND hWndOwner);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    void OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra, const RECT& rcCell,
                         LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo, LONG nRowNo, INT nColType,
                         INT nRowType) override;
    bool OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                             const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra, const RECT& rcCell) override;

    // The common-controls library's version as major << 16 | minor; 0 without the entry.
    static DWORD stat_ComCtlVersion();
};
