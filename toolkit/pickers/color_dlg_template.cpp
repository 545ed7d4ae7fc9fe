// The colour dialog's own template, used when the program supplies none with id 30001:
// the picker on the left under the mode list, the comparison and the nine value edits
// with their spin buttons on the right, OK and Cancel at the bottom.
#include "toolkit/pickers/color_dlg.h"

#include <vector>

namespace {

class CTemplateWriter
{
public:
    void Header(DWORD dwStyle, int nItems, short cx, short cy, const wchar_t* sTitle, WORD nPointSize,
                const wchar_t* sFace)
    {
        Dword(dwStyle);
        Dword(0);
        m_words.push_back((WORD)nItems);
        Short(0);
        Short(0);
        Short(cx);
        Short(cy);
        m_words.push_back(0);  // no menu
        m_words.push_back(0);  // the dialog class
        String(sTitle);
        m_words.push_back(nPointSize);
        String(sFace);
    }
    // Predefined classes by atom: 0x80 button, 0x81 edit, 0x82 static, 0x85 combo box;
    // sClass names any other window class.
    void Item(WORD nAtom, const wchar_t* sClass, UINT nID, DWORD dwStyle, short x, short y, short cx, short cy,
              const wchar_t* sText)
    {
        if ((m_words.size() & 1) != 0)
            m_words.push_back(0);  // each item starts on a DWORD
        Dword(dwStyle | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Short(x);
        Short(y);
        Short(cx);
        Short(cy);
        m_words.push_back((WORD)nID);
        if (sClass == NULL)
        {
            m_words.push_back(0xFFFF);
            m_words.push_back(nAtom);
        }
        else
            String(sClass);
        String(sText);
        m_words.push_back(0);  // no creation data
    }
    const std::vector<WORD>& Words() const { return m_words; }

private:
    void Dword(DWORD dw)
    {
        m_words.push_back(LOWORD(dw));
        m_words.push_back(HIWORD(dw));
    }
    void Short(short n) { m_words.push_back((WORD)n); }
    void String(const wchar_t* s)
    {
        for (; *s != 0; s++)
            m_words.push_back((WORD)*s);
        m_words.push_back(0);
    }
    std::vector<WORD> m_words;
};

struct FieldRow
{
    int nField;
    const wchar_t* sLabel;
    short y;
};

std::vector<WORD> BuildTemplate()
{
    const WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kCombo = 0x85;
    // Colour groups, top to bottom: red, green, blue; cyan, magenta, yellow; hue,
    // saturation, lightness.
    const FieldRow kRows[] = {
        {CExtColorDlg::FIELD_R, L"&Red:", 54},          {CExtColorDlg::FIELD_G, L"&Green:", 68},
        {CExtColorDlg::FIELD_B, L"&Blue:", 82},         {CExtColorDlg::FIELD_C, L"&Cyan:", 100},
        {CExtColorDlg::FIELD_M, L"M&agenta:", 114},     {CExtColorDlg::FIELD_Y, L"&Yellow:", 128},
        {CExtColorDlg::FIELD_H, L"&Hue:", 146},         {CExtColorDlg::FIELD_S, L"&Saturation:", 160},
        {CExtColorDlg::FIELD_L, L"&Luminance:", 174},
    };
    const int nItems = 8 + 3 * CExtColorDlg::FIELD_COUNT;
    CTemplateWriter w;
    w.Header(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, nItems, 316,
             214, L"Colors", 8, L"MS Shell Dlg");
    w.Item(kStatic, NULL, CExtColorDlg::IDC_LABEL_MODE, SS_LEFT, 7, 9, 30, 8, L"&Mode:");
    w.Item(kCombo, NULL, CExtColorDlg::IDC_MODE, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 40, 7, 164, 150, L"");
    w.Item(kStatic, NULL, CExtColorDlg::IDC_PICKER, SS_NOTIFY, 7, 24, 197, 162, L"");
    w.Item(kStatic, NULL, CExtColorDlg::IDC_DIFF, SS_NOTIFY, 212, 7, 50, 40, L"");
    w.Item(kStatic, NULL, CExtColorDlg::g_nLabelIds[9], SS_LEFT, 266, 10, 40, 8, L"New");
    w.Item(kStatic, NULL, CExtColorDlg::g_nLabelIds[10], SS_LEFT, 266, 34, 40, 8, L"Old");
    for (const FieldRow& row : kRows)
    {
        w.Item(kStatic, NULL, CExtColorDlg::g_nLabelIds[row.nField], SS_LEFT, 212, row.y + 2, 48, 8, row.sLabel);
        w.Item(kEdit, NULL, CExtColorDlg::g_nEditIds[row.nField], ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 262,
               row.y, 34, 12, L"");
        // The spin follows its edit, which makes the edit its automatic buddy.
        w.Item(0, UPDOWN_CLASSW, CExtColorDlg::g_nSpinIds[row.nField],
               UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 296, row.y, 10, 12,
               L"");
    }
    w.Item(kButton, NULL, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 193, 50, 14, L"OK");
    w.Item(kButton, NULL, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 62, 193, 50, 14, L"Cancel");
    return w.Words();
}

}  // namespace

LPCDLGTEMPLATE CExtColorDlg::stat_GetBuiltInTemplate()
{
    static const std::vector<WORD> s_words = BuildTemplate();
    return (LPCDLGTEMPLATE)s_words.data();
}
