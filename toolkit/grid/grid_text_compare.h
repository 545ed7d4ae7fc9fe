// Ordinal comparison of cell texts, as _mbscmp orders them.
#pragma once
#include <mbstring.h>

// _mbscmp consults the thread's multibyte code page for every call, which costs far more
// than the comparison itself when a sort compares short texts millions of times. While
// both texts hold only ASCII characters they are single bytes in every code page, so the
// first differing ASCII byte decides exactly as _mbscmp would; anything else is left to it.
inline int GridCompareTextsOrdinal(const char* s1, const char* s2)
{
    const unsigned char* p1 = (const unsigned char*)s1;
    const unsigned char* p2 = (const unsigned char*)s2;
    while (*p1 == *p2 && *p1 != 0 && *p1 < 0x80)
    {
        p1++;
        p2++;
    }
    if (*p1 < 0x80 && *p2 < 0x80)
        return *p1 < *p2 ? -1 : (*p1 > *p2 ? 1 : 0);
    const int n = _mbscmp((const unsigned char*)s1, (const unsigned char*)s2);
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}
