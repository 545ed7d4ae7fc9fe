// Shared by the typed cell tests: the archive bytes of the layered base, loading from
// bytes, and a resource manager whose locale answers are fixed, so that formatted
// texts do not depend on the machine's locale.
#pragma once
#include <map>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "toolkit/core/resource_manager.h"
#include "toolkit/grid/grid_cell.h"

namespace typedcells {

typedef std::vector<BYTE> Bytes;

struct Builder {
    Bytes b;
    Builder& dw(DWORD v) { for (int i = 0; i < 4; i++) b.push_back((BYTE)(v >> (8 * i))); return *this; }
    Builder& w(WORD v) { b.push_back((BYTE)v); b.push_back((BYTE)(v >> 8)); return *this; }
    Builder& by(BYTE v) { b.push_back(v); return *this; }
    Builder& str(const char* s) { by((BYTE)strlen(s)); while (*s) by((BYTE)*s++); return *this; }
    Builder& root(DWORD style) { return dw(style).dw(0).dw(0xFFFFFFFF).dw(0xFFFFFFFF).dw(0); }
    // The layered cell: root, eight colours, the font attributes, no cursor.
    Builder& raw(std::initializer_list<BYTE> v) { b.insert(b.end(), v); return *this; }
    Builder& colours() { for (int i = 0; i < 8; i++) dw(0xFFFFFFFF); return *this; }
    Builder& fonts() { return raw({1, 1, 1}).w(0xFFFF).w(0xFFFF).w(0xFFFF).w(0xFFFF).by(1); }
    Builder& ex(DWORD style = 0x40000000) { return root(style).colours().fonts().by(0); }
};

inline void Load(CExtGridCell& cell, const Bytes& bytes) {
    CMemFile file;
    file.Write(bytes.data(), (UINT)bytes.size());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    cell.Serialize(ar);
}

// Answers the locale values of its table like the system does (0 when the buffer is
// too small); everything else as the default manager.
class FixedLocaleManager : public CExtResourceManager {
public:
    std::map<LCTYPE, std::string> m_values;
    int GetLocaleInfo(LCTYPE lcType, LPTSTR pData, int cchData) override {
        auto it = m_values.find(lcType);
        if (it == m_values.end()) return CExtResourceManager::GetLocaleInfo(lcType, pData, cchData);
        const int nNeed = (int)it->second.size() + 1;
        if (pData == NULL || cchData < nNeed) return 0;
        memcpy(pData, it->second.c_str(), (size_t)nNeed);
        return nNeed;
    }
};

// Installs a fixed English-like locale for the scope of a test.
struct FixedLocale {
    FixedLocaleManager* pManager;
    FixedLocale() : pManager(new FixedLocaleManager) {
        pManager->m_values = {
            {LOCALE_IDIGITS, "2"}, {LOCALE_ILZERO, "1"}, {LOCALE_SGROUPING, "3;0"}, {LOCALE_SDECIMAL, "."},
            {LOCALE_STHOUSAND, ","}, {LOCALE_INEGNUMBER, "1"}, {LOCALE_ICURRDIGITS, "2"},
            {LOCALE_SMONGROUPING, "3;0"}, {LOCALE_SMONDECIMALSEP, "."}, {LOCALE_SMONTHOUSANDSEP, ","},
            {LOCALE_INEGCURR, "1"}, {LOCALE_ICURRENCY, "0"}, {LOCALE_SCURRENCY, "$"},
        };
        g_CurrentResourceManager.InstallResourceManager(pManager);
    }
    ~FixedLocale() { g_CurrentResourceManager.InstallResourceManager(NULL); }
};

inline CString Text(const CExtGridCell& cell) {
    CString s;
    cell.TextGet(s);
    return s;
}

inline VARIANT R8(double lf) { VARIANT v; ::VariantInit(&v); v.vt = VT_R8; v.dblVal = lf; return v; }
inline VARIANT I4(LONG n) { VARIANT v; ::VariantInit(&v); v.vt = VT_I4; v.lVal = n; return v; }

}  // namespace typedcells
