#include "toolkit/grid/grid_cell_layers.h"
#include "toolkit/theme/paint_manager.h"

void CExtGridCellFontAttributes::ResetAll()
{
    m_nHeight = m_nWidth = m_nWeight = -1;
    m_bHeightUnset = m_bWidthUnset = m_bWeightUnset = m_bFaceNameUnset = true;
    m_nItalic = m_nUnderline = m_nStrikeOut = m_nQuality = -1;
    m_sFaceName.Empty();
}

bool CExtGridCellFontAttributes::IsAnySet() const
{
    return !m_bHeightUnset || !m_bWidthUnset || !m_bWeightUnset || !m_bFaceNameUnset || m_nItalic >= 0 ||
           m_nUnderline >= 0 || m_nStrikeOut >= 0 || m_nQuality >= 0;
}

void CExtGridCellFontAttributes::AssignFrom(const CExtGridCell& other)
{
    ResetAll();
    LONG n = 0;
    if (other.FontHeightGet(n))
        m_nHeight = n, m_bHeightUnset = false;
    if (other.FontWidthGet(n))
        m_nWidth = n, m_bWidthUnset = false;
    if (other.FontWeightGet(n))
        m_nWeight = n, m_bWeightUnset = false;
    bool b = false;
    if (other.FontItalicGet(b))
        m_nItalic = b ? 1 : 0;
    if (other.FontUnderlineGet(b))
        m_nUnderline = b ? 1 : 0;
    if (other.FontStrikeOutGet(b))
        m_nStrikeOut = b ? 1 : 0;
    BYTE nQuality = 0;
    if (other.FontQualityGet(nQuality))
        m_nQuality = nQuality;
    CString s;
    if (other.FontFaceNameGet(s))
        m_sFaceName = s, m_bFaceNameUnset = false;
}

void CExtGridCellFontAttributes::Serialize(CArchive& ar)
{
    LONG* arrValues[3] = {&m_nHeight, &m_nWidth, &m_nWeight};
    SHORT* arrFlags[4] = {&m_nItalic, &m_nUnderline, &m_nStrikeOut, &m_nQuality};
    if (ar.IsStoring())
    {
        const bool arrUnset[3] = {m_bHeightUnset, m_bWidthUnset, m_bWeightUnset};
        for (int i = 0; i < 3; i++)
        {
            ar << (BYTE)(arrUnset[i] ? 1 : 0);
            if (!arrUnset[i])
                ar << *arrValues[i];
        }
        for (SHORT* p : arrFlags)
            ar << (WORD)*p;
        ar << (BYTE)(m_bFaceNameUnset ? 1 : 0);
        if (!m_bFaceNameUnset)
            ar << m_sFaceName;
        return;
    }
    ResetAll();
    bool arrUnset[3] = {true, true, true};
    for (int i = 0; i < 3; i++)
    {
        BYTE nUnset = 1;
        ar >> nUnset;
        arrUnset[i] = nUnset != 0;
        if (!arrUnset[i])
            ar >> *arrValues[i];
    }
    m_bHeightUnset = arrUnset[0], m_bWidthUnset = arrUnset[1], m_bWeightUnset = arrUnset[2];
    for (SHORT* p : arrFlags)
    {
        WORD w = 0xFFFF;
        ar >> w;
        *p = (SHORT)w;
    }
    // Only -1 means unset; anything else outside a flag's or a byte's range is damage.
    for (int i = 0; i < 3; i++)
        if (*arrFlags[i] < -1 || *arrFlags[i] > 1)
            *arrFlags[i] = 1;
    if (m_nQuality < -1 || m_nQuality > 255)
        m_nQuality = -1;
    BYTE nUnset = 1;
    ar >> nUnset;
    if (nUnset == 0)
    {
        ar >> m_sFaceName;
        m_bFaceNameUnset = false;
    }
}

namespace {
template <class V>
int Order(const V& a, const V& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}
}  // namespace

int CExtGridCellFontAttributes::Compare(const CExtGridCell& other) const
{
    LONG nOther = 0;
    const LONG arrMine[3] = {m_bHeightUnset ? 0 : m_nHeight, m_bWidthUnset ? 0 : m_nWidth,
                             m_bWeightUnset ? 0 : m_nWeight};
    for (int i = 0; i < 3; i++)
    {
        nOther = 0;
        const bool bSet = i == 0 ? other.FontHeightGet(nOther)
                                 : (i == 1 ? other.FontWidthGet(nOther) : other.FontWeightGet(nOther));
        if (!bSet)
            nOther = 0;
        if (const int n = Order(arrMine[i], nOther))
            return n;
    }
    const SHORT arrFlags[3] = {m_nItalic, m_nUnderline, m_nStrikeOut};
    for (int i = 0; i < 3; i++)
    {
        bool bOther = false;
        const bool bSet = i == 0 ? other.FontItalicGet(bOther)
                                 : (i == 1 ? other.FontUnderlineGet(bOther) : other.FontStrikeOutGet(bOther));
        if (!bSet)
            bOther = false;
        if (const int n = Order(arrFlags[i] > 0, bOther))
            return n;
    }
    BYTE nQualityOther = 0;
    if (!other.FontQualityGet(nQualityOther))
        nQualityOther = 0;
    if (const int n = Order<int>(m_nQuality < 0 ? 0 : m_nQuality, nQualityOther))
        return n;
    CString sOther;
    if (!other.FontFaceNameGet(sOther))
        sOther.Empty();
    const CString sMine = m_bFaceNameUnset ? CString() : m_sFaceName;
    const int n = sMine.Compare(sOther);
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

HFONT CExtGridCellFontAttributes::Apply(HFONT hFontBase, bool* pbDelete) const
{
    LOGFONT lf;
    ::memset(&lf, 0, sizeof(lf));
    HFONT hFontSource = hFontBase;
    if (hFontSource == NULL)
    {
        CExtPaintManager* pPM = g_CurrentPaintManager.GetPM();
        if (pPM != NULL)
            hFontSource = (HFONT)pPM->m_FontNormal.GetSafeHandle();
    }
    if (hFontSource == NULL)
        hFontSource = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    ::GetObject(hFontSource, sizeof(lf), &lf);
    if (hFontBase != NULL && pbDelete != NULL && *pbDelete)
        ::DeleteObject(hFontBase);
    if (!m_bHeightUnset)
        lf.lfHeight = m_nHeight;
    if (!m_bWidthUnset)
        lf.lfWidth = m_nWidth;
    if (!m_bWeightUnset)
        lf.lfWeight = m_nWeight;
    if (m_nItalic >= 0)
        lf.lfItalic = (BYTE)m_nItalic;
    if (m_nUnderline >= 0)
        lf.lfUnderline = (BYTE)m_nUnderline;
    if (m_nStrikeOut >= 0)
        lf.lfStrikeOut = (BYTE)m_nStrikeOut;
    if (m_nQuality >= 0)
        lf.lfQuality = (BYTE)m_nQuality;
    if (!m_bFaceNameUnset)
        ::lstrcpyn(lf.lfFaceName, m_sFaceName, LF_FACESIZE);
    HFONT hFont = ::CreateFontIndirect(&lf);
    if (pbDelete != NULL)
        *pbDelete = hFont != NULL;
    return hFont;
}
