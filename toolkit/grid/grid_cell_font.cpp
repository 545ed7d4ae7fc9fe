#include "toolkit/grid/grid_cell_font.h"
#include <olectl.h>
#include <string.h>
#include "toolkit/grid/grid_cell_typed_common.h"
#include "toolkit/grid/grid_wnd.h"

IMPLEMENT_SERIAL(CExtGridCellFont, CExtGridCellEx, VERSIONABLE_SCHEMA | 1)

namespace {

const IID kIID_IFontDisp = {0xBEF6E003, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

// The face name of a LOGFONT that may come without a terminator.
CString FaceOf(const LOGFONT& lf)
{
    TCHAR sFace[LF_FACESIZE];
    gridcell::CopyBounded(sFace, LF_FACESIZE, CString(lf.lfFaceName, (int)strnlen(lf.lfFaceName, LF_FACESIZE)));
    return CString(sFace);
}

}  // namespace

CExtGridCellFont::CExtGridCellFont(CExtGridDataProvider* pOwner) : CExtGridCellEx(pOwner), m_clr(COLORREF(-1))
{
    ::memset(&m_lf, 0, sizeof(m_lf));
    ModifyStyle(__EGCS_BUTTON_ELLIPSIS);
}

CExtGridCellFont::~CExtGridCellFont() {}

int CExtGridCellFont::stat_ScreenDpiY()
{
    HDC hDC = ::GetDC(NULL);
    int nDpi = hDC != NULL ? ::GetDeviceCaps(hDC, LOGPIXELSY) : 96;
    if (hDC != NULL) ::ReleaseDC(NULL, hDC);
    return nDpi > 0 ? nDpi : 96;
}

void CExtGridCellFont::FormatFont(CString& strText, const LOGFONT& lf) const
{
    const CString sFace = FaceOf(lf);
    if (sFace.IsEmpty()) return;
    const int nPoints = ::MulDiv(-lf.lfHeight, 72, stat_ScreenDpiY());
    strText.Format(_T("%s; %i pt"), (LPCTSTR)sFace, nPoints);
}

void CExtGridCellFont::LogFontSet(const LOGFONT& lf)
{
    m_lf = lf;
    gridcell::CopyBounded(m_lf.lfFaceName, LF_FACESIZE, FaceOf(lf));
}

void CExtGridCellFont::Serialize(CArchive& ar)
{
    CExtGridCellEx::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (LONG)m_lf.lfHeight << (LONG)m_lf.lfWidth << (LONG)m_lf.lfEscapement << (LONG)m_lf.lfOrientation
           << (LONG)m_lf.lfWeight;
        ar << m_lf.lfItalic << m_lf.lfUnderline << m_lf.lfStrikeOut << m_lf.lfCharSet << m_lf.lfOutPrecision
           << m_lf.lfClipPrecision << m_lf.lfQuality << m_lf.lfPitchAndFamily;
        ar << FaceOf(m_lf);
        ar << (DWORD)m_clr;
        return;
    }
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    LONG nHeight = 0, nWidth = 0, nEscapement = 0, nOrientation = 0, nWeight = 0;
    ar >> nHeight >> nWidth >> nEscapement >> nOrientation >> nWeight;
    ar >> lf.lfItalic >> lf.lfUnderline >> lf.lfStrikeOut >> lf.lfCharSet >> lf.lfOutPrecision >>
        lf.lfClipPrecision >> lf.lfQuality >> lf.lfPitchAndFamily;
    CString sFace;
    ar >> sFace;
    DWORD dwColor = 0;
    ar >> dwColor;
    lf.lfHeight = nHeight;
    lf.lfWidth = nWidth;
    lf.lfEscapement = nEscapement;
    lf.lfOrientation = nOrientation;
    lf.lfWeight = nWeight;
    // A stored face name longer than the field holds is cut, never written past it.
    gridcell::CopyBounded(lf.lfFaceName, LF_FACESIZE, sFace);
    m_lf = lf;
    m_clr = dwColor;
}

void CExtGridCellFont::Assign(const CExtGridCell& other)
{
    CExtGridCellEx::Assign(other);
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellFont))) {
        const CExtGridCellFont& src = static_cast<const CExtGridCellFont&>(other);
        LogFontSet(src.m_lf);
        m_clr = src.m_clr;
    } else {
        ::memset(&m_lf, 0, sizeof(m_lf));
        m_clr = COLORREF(-1);
    }
}

int CExtGridCellFont::Compare(const CExtGridCell& other, DWORD dwStyleMask, DWORD dwStyleExMask) const
{
    if (other.IsKindOf(RUNTIME_CLASS(CExtGridCellFont))) {
        const CExtGridCellFont& src = static_cast<const CExtGridCellFont&>(other);
        const int nFace = _tcscmp(FaceOf(m_lf), FaceOf(src.m_lf));
        if (nFace != 0) return nFace < 0 ? -1 : 1;
        const LONGLONG nMine = -(LONGLONG)m_lf.lfHeight, nTheirs = -(LONGLONG)src.m_lf.lfHeight;
        if (nMine != nTheirs) return nMine < nTheirs ? -1 : 1;
        if (m_clr != src.m_clr) return (DWORD)m_clr < (DWORD)src.m_clr ? -1 : 1;
    }
    return CExtGridCellEx::Compare(other, dwStyleMask, dwStyleExMask);
}

void CExtGridCellFont::TextGet(CString& strCopy) const
{
    strCopy.Empty();
    FormatFont(strCopy, m_lf);
}

void CExtGridCellFont::VariantGet(VARIANT* pVariant) const
{
    if (pVariant == NULL) return;
    ::VariantClear(pVariant);
    BSTR bstrFace = gridcell::AllocBstr(FaceOf(m_lf));
    FONTDESC fd;
    ::memset(&fd, 0, sizeof(fd));
    fd.cbSizeofstruct = sizeof(FONTDESC);
    fd.lpstrName = bstrFace;
    const LONG nHeight = m_lf.lfHeight < 0 ? -m_lf.lfHeight : m_lf.lfHeight;
    fd.cySize.int64 = (LONGLONG)::MulDiv(nHeight, 720000, stat_ScreenDpiY());
    fd.sWeight = (SHORT)m_lf.lfWeight;
    fd.sCharset = (SHORT)m_lf.lfCharSet;
    fd.fItalic = m_lf.lfItalic != 0;
    fd.fUnderline = m_lf.lfUnderline != 0;
    fd.fStrikethrough = m_lf.lfStrikeOut != 0;
    IDispatch* pDisp = NULL;
    if (bstrFace != NULL && FAILED(::OleCreateFontIndirect(&fd, kIID_IFontDisp, (void**)&pDisp))) pDisp = NULL;
    if (bstrFace != NULL) ::SysFreeString(bstrFace);
    pVariant->vt = VT_DISPATCH;
    pVariant->pdispVal = pDisp;
}

CExtGridCell* CExtGridCellFont::Clone(IMalloc* pMalloc) const
{
    return ExtGridCellCloneAs<CExtGridCellFont>(*this, pMalloc);
}

bool CExtGridCellFont::OnRunFontDialog(CExtGridWnd& wndGrid, LOGFONT& lfOut, COLORREF& clrOut)
{
    LOGFONT lf = m_lf;
    const bool bColor = m_clr != COLORREF(-1);
    CFontDialog dlg(&lf, bColor ? (CF_SCREENFONTS | CF_EFFECTS) : CF_SCREENFONTS, NULL, &wndGrid);
    if (bColor) dlg.m_cf.rgbColors = m_clr;
    if (dlg.DoModal() != IDOK) return false;
    ::memset(&lfOut, 0, sizeof(lfOut));
    dlg.GetCurrentFont(&lfOut);
    clrOut = dlg.GetColor();
    return true;
}

void CExtGridCellFont::OnButtonPressed(CExtGridWnd& wndGrid, INT nButtonType, const RECT& rcCellExtra,
                                       const RECT& rcCell, LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                       LONG nRowNo, INT nColType, INT nRowType)
{
    auto fnRunDialog = [&]() {
        LOGFONT lf;
        COLORREF clr = m_clr;
        if (!OnRunFontDialog(wndGrid, lf, clr))
            return false;
        if (lf.lfFaceName[0] != _T('\0'))
        {
            LogFontSet(lf);
            if (m_clr != COLORREF(-1))
                m_clr = clr;
        }
        return true;
    };
    if (gridcell::PressEllipsisButton(this, wndGrid, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo,
                                      nColNo, nRowNo, nColType, nRowType, fnRunDialog))
        return;
    CExtGridCellEx::OnButtonPressed(wndGrid, nButtonType, rcCellExtra, rcCell, nVisibleColNo, nVisibleRowNo, nColNo,
                                    nRowNo, nColType, nRowType);
}

bool CExtGridCellFont::OnInplaceControlKey(MSG* pMsg, HWND hWndInplaceControl, CExtGridWnd& wndGrid,
                                           const HIT_TEST_INFO_T& htiCell, const RECT& rcCellExtra,
                                           const RECT& rcCell)
{
    if (gridcell::EditorF4PressesButton(*this, pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell,
                                        __EBTT_ELLIPSIS))
        return true;
    return CExtGridCellEx::OnInplaceControlKey(pMsg, hWndInplaceControl, wndGrid, htiCell, rcCellExtra, rcCell);
}

void CExtGridCellFont::OnInplaceControlQueryOptions(CExtGridWnd& wndGrid, HWND hWndInplaceControl,
                                                    LONG nVisibleColNo, LONG nVisibleRowNo, LONG nColNo,
                                                    LONG nRowNo, INT nColType, INT nRowType, DWORD dwAreaFlags,
                                                    bool* pbReadOnly, bool* pbPassword, COLORREF* pclrText,
                                                    COLORREF* pclrBack)
{
    CExtGridCellEx::OnInplaceControlQueryOptions(wndGrid, hWndInplaceControl, nVisibleColNo, nVisibleRowNo, nColNo,
                                                 nRowNo, nColType, nRowType, dwAreaFlags, pbReadOnly, pbPassword,
                                                 pclrText, pclrBack);
    if (pbReadOnly != NULL) *pbReadOnly = true;
    if (pbPassword != NULL) *pbPassword = false;
}
