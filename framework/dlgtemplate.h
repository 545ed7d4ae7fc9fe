// Dialog templates in memory: the extended form the Windows headers lack, and
// CDialogTemplate, which reads and replaces the font of a DLGTEMPLATE or DLGTEMPLATEEX
// (a copy in global memory; the original resource is never written).
#pragma once
#include "framework/platform.h"
#include "framework/str.h"

#pragma pack(push, 2)
// The fixed part of an extended template (signature 0xFFFF); menu, class, title and
// the font block follow, then the items, each DWORD-aligned.
struct DLGTEMPLATEEX {
    WORD dlgVer;
    WORD signature;
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
    WORD cDlgItems;
    short x;
    short y;
    short cx;
    short cy;
};
struct DLGITEMTEMPLATEEX {
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
    short x;
    short y;
    short cx;
    short cy;
    DWORD id;
};
#pragma pack(pop)

class CDialogTemplate {
public:
    explicit CDialogTemplate(const DLGTEMPLATE* pTemplate = NULL);
    explicit CDialogTemplate(HGLOBAL hTemplate);
    ~CDialogTemplate();

    HGLOBAL m_hTemplate;        // our copy (GMEM_MOVEABLE)
    DWORD m_dwTemplateSize;
    BOOL m_bSystemFont;

    BOOL Load(LPCTSTR lpDialogTemplateID);
    BOOL SetTemplate(const DLGTEMPLATE* pTemplate, UINT cb);
    HGLOBAL Detach();

    BOOL HasFont() const;
    BOOL SetFont(LPCTSTR lpFaceName, WORD nFontSize);
    // The system's dialog font (the message-box font's face); a size of 0 keeps the
    // template's size, or takes the system font's when the template has none.
    BOOL SetSystemFont(WORD nFontSize = 0);
    BOOL GetFont(CString& strFaceName, WORD& nFontSize) const;
    void GetSizeInDialogUnits(SIZE* pSize) const;
    void GetSizeInPixels(SIZE* pSize) const;

    static BOOL PASCAL GetFont(const DLGTEMPLATE* pTemplate, CString& strFaceName, WORD& nFontSize);
    static BOOL PASCAL IsDialogEx(const DLGTEMPLATE* pTemplate) {
        return ((const DLGTEMPLATEEX*)pTemplate)->signature == 0xFFFF;
    }
    static BOOL PASCAL HasFont(const DLGTEMPLATE* pTemplate);
    // Size in bytes of the whole template, items included.
    static UINT PASCAL GetTemplateSize(const DLGTEMPLATE* pTemplate);
    // The system dialog font's face and point size.
    static BOOL PASCAL GetSystemFont(CString& strFace, WORD& nSize);

private:
    CDialogTemplate(const CDialogTemplate&) = delete;
    CDialogTemplate& operator=(const CDialogTemplate&) = delete;
};
