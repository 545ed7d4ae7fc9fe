// Dialog templates: walking the variable-length layout and rebuilding it with another
// font. Strings in templates are always UTF-16; faces are converted to and from ANSI.
#include "framework/dlgtemplate.h"
#include "framework/resources.h"
#include <string.h>
#include <vector>

namespace {

// A "string or ordinal" field: 0 (none), 0xFFFF + WORD (ordinal), or a zero-ended string.
const WORD* SkipSzOrOrd(const WORD* p) {
    if (*p == 0xFFFF) return p + 2;
    while (*p++ != 0) {
    }
    return p;
}

const WORD* SkipString(const WORD* p) {
    while (*p++ != 0) {
    }
    return p;
}

const BYTE* AlignDword(const BYTE* p, const BYTE* base) {
    size_t off = (size_t)(p - base);
    return base + ((off + 3) & ~(size_t)3);
}

DWORD StyleOf(const DLGTEMPLATE* t) {
    return CDialogTemplate::IsDialogEx(t) ? ((const DLGTEMPLATEEX*)t)->style : t->style;
}

WORD ItemCount(const DLGTEMPLATE* t) {
    return CDialogTemplate::IsDialogEx(t) ? ((const DLGTEMPLATEEX*)t)->cDlgItems : t->cdit;
}

// Pointer to the font block (the point-size word), or to where it would be.
const BYTE* FontBlock(const DLGTEMPLATE* t) {
    BOOL bEx = CDialogTemplate::IsDialogEx(t);
    const WORD* p = (const WORD*)((const BYTE*)t + (bEx ? sizeof(DLGTEMPLATEEX) : sizeof(DLGTEMPLATE)));
    p = SkipSzOrOrd(p);  // menu
    p = SkipSzOrOrd(p);  // class
    p = SkipString(p);   // title
    return (const BYTE*)p;
}

// Past the font block.
const BYTE* AfterFont(const DLGTEMPLATE* t) {
    const BYTE* p = FontBlock(t);
    if (!CDialogTemplate::HasFont(t)) return p;
    BOOL bEx = CDialogTemplate::IsDialogEx(t);
    p += sizeof(WORD);                      // point size
    if (bEx) p += sizeof(WORD) + 2;         // weight, italic, charset
    return (const BYTE*)SkipString((const WORD*)p);
}

const BYTE* FirstItem(const DLGTEMPLATE* t) { return AlignDword(AfterFont(t), (const BYTE*)t); }

const BYTE* NextItem(const BYTE* item, BOOL bEx, const BYTE* base) {
    const WORD* p = (const WORD*)(item + (bEx ? sizeof(DLGITEMTEMPLATEEX) : sizeof(DLGITEMTEMPLATE)));
    p = SkipSzOrOrd(p);  // class
    p = SkipSzOrOrd(p);  // title
    WORD cbExtra = *p++;
    return AlignDword((const BYTE*)p + cbExtra, base);
}

}  // namespace

BOOL PASCAL CDialogTemplate::HasFont(const DLGTEMPLATE* pTemplate) {
    return (StyleOf(pTemplate) & (DS_SETFONT | DS_SHELLFONT)) != 0;
}

UINT PASCAL CDialogTemplate::GetTemplateSize(const DLGTEMPLATE* pTemplate) {
    BOOL bEx = IsDialogEx(pTemplate);
    const BYTE* base = (const BYTE*)pTemplate;
    const BYTE* p = AfterFont(pTemplate);
    int n = ItemCount(pTemplate);
    if (n > 0) {
        p = AlignDword(p, base);
        for (int i = 0; i < n; i++) p = NextItem(p, bEx, base);
    }
    return (UINT)(p - base);
}

BOOL PASCAL CDialogTemplate::GetFont(const DLGTEMPLATE* pTemplate, CString& strFaceName, WORD& nFontSize) {
    if (!HasFont(pTemplate)) return FALSE;
    const BYTE* p = FontBlock(pTemplate);
    memcpy(&nFontSize, p, sizeof(WORD));
    p += sizeof(WORD);
    if (IsDialogEx(pTemplate)) p += sizeof(WORD) + 2;
    const WCHAR* face = (const WCHAR*)p;
    char buf[LF_FACESIZE * 2];
    int n = ::WideCharToMultiByte(CP_ACP, 0, face, -1, buf, sizeof(buf), NULL, NULL);
    if (n <= 0) buf[0] = '\0';
    strFaceName = buf;
    return TRUE;
}

BOOL PASCAL CDialogTemplate::GetSystemFont(CString& strFace, WORD& nSize) {
    // The font dialogs are meant to use: the message font of the non-client metrics.
    NONCLIENTMETRICSA ncm;
    ZeroMemory(&ncm, sizeof(ncm));
    ncm.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
    LOGFONTA lf;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0))
        lf = ncm.lfMessageFont;
    else if (!::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf))
        return FALSE;
    strFace = lf.lfFaceName;
    HDC hDC = ::GetDC(NULL);
    int dpi = hDC ? ::GetDeviceCaps(hDC, LOGPIXELSY) : 96;
    if (hDC) ::ReleaseDC(NULL, hDC);
    int h = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    nSize = (WORD)::MulDiv(h, 72, dpi);
    if (nSize == 0) nSize = 8;
    return TRUE;
}

CDialogTemplate::CDialogTemplate(const DLGTEMPLATE* pTemplate) : m_hTemplate(NULL), m_dwTemplateSize(0), m_bSystemFont(FALSE) {
    if (pTemplate != NULL) SetTemplate(pTemplate, GetTemplateSize(pTemplate));
}

CDialogTemplate::CDialogTemplate(HGLOBAL hTemplate) : m_hTemplate(NULL), m_dwTemplateSize(0), m_bSystemFont(FALSE) {
    if (hTemplate != NULL) {
        const DLGTEMPLATE* p = (const DLGTEMPLATE*)::GlobalLock(hTemplate);
        if (p != NULL) {
            SetTemplate(p, GetTemplateSize(p));
            ::GlobalUnlock(hTemplate);
        }
    }
}

CDialogTemplate::~CDialogTemplate() {
    if (m_hTemplate != NULL) ::GlobalFree(m_hTemplate);
}

BOOL CDialogTemplate::Load(LPCTSTR lpDialogTemplateID) {
    HINSTANCE hInst = AfxFindResourceHandle(lpDialogTemplateID, (LPCSTR)RT_DIALOG);
    HRSRC hRsrc = ::FindResourceA(hInst, lpDialogTemplateID, (LPCSTR)RT_DIALOG);
    if (hRsrc == NULL) return FALSE;
    HGLOBAL hRes = ::LoadResource(hInst, hRsrc);
    const DLGTEMPLATE* p = hRes ? (const DLGTEMPLATE*)::LockResource(hRes) : NULL;
    if (p == NULL) return FALSE;
    DWORD cbRes = ::SizeofResource(hInst, hRsrc);
    UINT cb = GetTemplateSize(p);
    return SetTemplate(p, cb <= cbRes ? cb : cbRes);
}

BOOL CDialogTemplate::SetTemplate(const DLGTEMPLATE* pTemplate, UINT cb) {
    if (m_hTemplate != NULL) ::GlobalFree(m_hTemplate);
    m_hTemplate = ::GlobalAlloc(GPTR, cb);
    if (m_hTemplate == NULL) {
        m_dwTemplateSize = 0;
        return FALSE;
    }
    m_dwTemplateSize = cb;
    memcpy((void*)m_hTemplate, pTemplate, cb);  // GPTR: the handle is the pointer
    return TRUE;
}

HGLOBAL CDialogTemplate::Detach() {
    HGLOBAL h = m_hTemplate;
    m_hTemplate = NULL;
    m_dwTemplateSize = 0;
    return h;
}

BOOL CDialogTemplate::HasFont() const {
    return m_hTemplate != NULL && HasFont((const DLGTEMPLATE*)m_hTemplate);
}

BOOL CDialogTemplate::GetFont(CString& strFaceName, WORD& nFontSize) const {
    if (m_hTemplate == NULL) return FALSE;
    return GetFont((const DLGTEMPLATE*)m_hTemplate, strFaceName, nFontSize);
}

BOOL CDialogTemplate::SetFont(LPCTSTR lpFaceName, WORD nFontSize) {
    if (m_hTemplate == NULL || lpFaceName == NULL) return FALSE;
    const DLGTEMPLATE* pOld = (const DLGTEMPLATE*)m_hTemplate;
    BOOL bEx = IsDialogEx(pOld);
    const BYTE* base = (const BYTE*)pOld;
    const BYTE* pFont = FontBlock(pOld);
    const BYTE* pItems = ItemCount(pOld) > 0 ? FirstItem(pOld) : AfterFont(pOld);
    UINT cbOld = m_dwTemplateSize;
    if ((UINT)(pItems - base) > cbOld) return FALSE;

    WCHAR wFace[LF_FACESIZE];
    int nFace = ::MultiByteToWideChar(CP_ACP, 0, lpFaceName, -1, wFace, LF_FACESIZE);
    if (nFace <= 0) return FALSE;

    // Header, menu, class, title as they are; then the new font block; then the items
    // from a DWORD boundary, unchanged (they only depend on their own alignment).
    std::vector<BYTE> out(base, pFont);
    WORD wSize = nFontSize;
    const BYTE* ps = (const BYTE*)&wSize;
    out.insert(out.end(), ps, ps + 2);
    if (bEx) {
        WORD weight = FW_NORMAL;
        BYTE italic = FALSE, charset = DEFAULT_CHARSET;
        if (HasFont(pOld)) {
            memcpy(&weight, pFont + 2, 2);
            italic = pFont[4];
            charset = pFont[5];
        }
        const BYTE* pw = (const BYTE*)&weight;
        out.insert(out.end(), pw, pw + 2);
        out.push_back(italic);
        out.push_back(charset);
    }
    const BYTE* pf = (const BYTE*)wFace;
    out.insert(out.end(), pf, pf + nFace * sizeof(WCHAR));
    while (out.size() % 4) out.push_back(0);
    out.insert(out.end(), pItems, base + cbOld);

    // The style must say there is a font now.
    if (bEx)
        ((DLGTEMPLATEEX*)out.data())->style |= DS_SETFONT;
    else
        ((DLGTEMPLATE*)out.data())->style |= DS_SETFONT;
    return SetTemplate((const DLGTEMPLATE*)out.data(), (UINT)out.size());
}

BOOL CDialogTemplate::SetSystemFont(WORD nFontSize) {
    CString strFace;
    WORD nSize = 0;
    if (!GetSystemFont(strFace, nSize)) return FALSE;
    if (nFontSize == 0) {
        CString strOldFace;
        WORD nOldSize;
        nFontSize = GetFont(strOldFace, nOldSize) ? nOldSize : nSize;
    }
    m_bSystemFont = TRUE;
    return SetFont(strFace, nFontSize);
}

void CDialogTemplate::GetSizeInDialogUnits(SIZE* pSize) const {
    const DLGTEMPLATE* p = (const DLGTEMPLATE*)m_hTemplate;
    if (p == NULL) {
        pSize->cx = pSize->cy = 0;
    } else if (IsDialogEx(p)) {
        pSize->cx = ((const DLGTEMPLATEEX*)p)->cx;
        pSize->cy = ((const DLGTEMPLATEEX*)p)->cy;
    } else {
        pSize->cx = p->cx;
        pSize->cy = p->cy;
    }
}

void CDialogTemplate::GetSizeInPixels(SIZE* pSize) const {
    GetSizeInDialogUnits(pSize);
    // Base units of the template's font.
    CString face;
    WORD size = 8;
    if (!GetFont(face, size)) GetSystemFont(face, size);
    HDC hDC = ::GetDC(NULL);
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof(lf));
    lf.lfHeight = -::MulDiv(size, ::GetDeviceCaps(hDC, LOGPIXELSY), 72);
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    HFONT hFont = ::CreateFontIndirectA(&lf);
    HGDIOBJ old = ::SelectObject(hDC, hFont);
    TEXTMETRICA tm;
    ::GetTextMetricsA(hDC, &tm);
    SIZE ext;
    ::GetTextExtentPoint32A(hDC, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &ext);
    ::SelectObject(hDC, old);
    ::DeleteObject(hFont);
    ::ReleaseDC(NULL, hDC);
    int baseX = (ext.cx / 26 + 1) / 2, baseY = tm.tmHeight;
    pSize->cx = ::MulDiv(pSize->cx, baseX, 4);
    pSize->cy = ::MulDiv(pSize->cy, baseY, 8);
}
