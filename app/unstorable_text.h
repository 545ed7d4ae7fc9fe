// Names and keywords the groups file cannot hold, refused where the user typed or
// confirmed them, before anything is stored. The file's own rule decides
// (GroupsFileTextFault): stored anyway, such a text would make this save and every later
// one fail until it was removed. The box names the character and where it lies, and the
// field keeps the text with that character selected, for the user to mend.
#pragma once
#include "framework/framework.h"
#include <string>

// Why one name or keyword cannot be stored, and where.
struct UnstorableText
{
    std::string fault;  // the rule's reason ("the control character U+0001"); "" when it can be stored
    int nChar = -1;     // the first character that fails the rule alone, counted in characters
                        // (a double-byte one once); -1 when no one character is to blame
    int nChars = 1;     // how many characters from nChar are to blame (a CR LF pair: 2)
    std::string why = "a groups file cannot hold";  // what the rule keeps from holding it
};
UnstorableText FindUnstorableText(const std::string& text);
// The same for a keyword, which also holds no line break: the group editor shows one
// keyword per line, and a keyword holding one would come back from it as two. The one
// rule for every keyword the user gives (Add to Group, each line of the editor).
UnstorableText FindUnstorableKeyword(const std::string& keyword);

// The refusal's text: what is not done ("The group is not applied"), what holds the
// character ("its name " or KeywordLines), the fault and where it lies in that text,
// and what to do once it is mended ("apply again").
std::string UnstorableTextBox(const std::string& strNotDone, const std::string& strHolder, const UnstorableText& found,
                              const std::string& strAgain);
// A keyword as the box names it: on a line of its own, as a box shows a name.
std::string KeywordLines(const std::string& keyword);

// Shows the refusal in a box over the dialog (a keyword line fitted to the box), then
// puts the focus in the field nField with nChars characters from nChar selected (the
// whole text when nChar is -1). strKeyword: the keyword the box shows on a line, or "".
void RefuseUnstorableText(CDialog& dlg, int nField, int nChar, const std::string& strBox,
                          const std::string& strKeyword, int nChars = 1);
