#include "app/unstorable_text.h"
#include "app/box_name_line.h"
#include "app/ui_manager.h"
#include "catalogue/groups_file.h"

UnstorableText FindUnstorableText(const std::string& text)
{
    UnstorableText found;
    found.fault = GroupsFileTextFault(text);
    if (found.fault.empty()) return found;
    // The first character that fails alone; bytes that only fail together (a lead byte
    // without its trail) blame none.
    int nChar = 0;
    for (const char* p = text.c_str(); *p != '\0'; ++nChar) {
        const char* pNext = ::CharNextA(p);
        if (pNext == p) break;
        if (!GroupsFileTextFault(std::string(p, (size_t)(pNext - p))).empty()) {
            found.nChar = nChar;
            break;
        }
        p = pNext;
    }
    return found;
}

UnstorableText FindUnstorableKeyword(const std::string& keyword)
{
    UnstorableText found = FindUnstorableText(keyword);
    if (!found.fault.empty()) return found;
    const size_t nBreak = keyword.find_first_of("\r\n");
    if (nBreak == std::string::npos) return found;
    found.fault = "a line break";
    found.why = "a keyword cannot hold: the group editor shows each keyword on a line of its own";
    found.nChar = 0;
    for (const char* p = keyword.c_str(); p < keyword.c_str() + nBreak && *p != '\0'; p = ::CharNextA(p)) ++found.nChar;
    found.nChars = keyword.compare(nBreak, 2, "\r\n") == 0 ? 2 : 1;
    return found;
}

std::string UnstorableTextBox(const std::string& strNotDone, const std::string& strHolder, const UnstorableText& found,
                              const std::string& strAgain)
{
    const std::string strAt = found.nChar < 0 ? "" : " at character " + std::to_string(found.nChar + 1);
    return strNotDone + ": " + strHolder + "holds " + found.fault + strAt + ", which " + found.why +
           ".\r\n\r\nRemove it and " + strAgain + ".";
}

std::string KeywordLines(const std::string& keyword)
{
    return "the keyword\r\n\r\n" + BoxNameLine(keyword) + "\r\n\r\n";
}

void RefuseUnstorableText(CDialog& dlg, int nField, int nChar, const std::string& strBox, const std::string& strKeyword,
                          int nChars)
{
    {
        CBoxNameFitter fitter(strKeyword);
        CUiManager::ShowBoxOver(dlg.GetSafeHwnd(), strBox.c_str(), MB_OK | MB_ICONWARNING);
    }
    CWnd* pField = dlg.GetDlgItem(nField);
    if (pField == NULL) return;
    dlg.GotoDlgCtrl(pField);
    if (nChar >= 0) pField->SendMessage(EM_SETSEL, nChar, nChar + nChars);
}
