// A name from the registry or the groups file as one line of a message box.
#pragma once
#include <string>

// Control characters become blanks (a line break must not split the name or make it look
// like the box's own text), and a name wider than a box's line in the box's font is cut
// between characters and ends in "...": the box clips a line without blanks, so a cut
// name would otherwise look whole. The name's own start stays, as the list shows it.
std::string BoxNameLine(const std::string& strName);
