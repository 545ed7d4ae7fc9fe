// CTime conversions through the run-time library's 64-bit time functions.
#include "framework/datetime.h"
#include "framework/exceptions.h"

static __time64_t MakeLocalTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
    struct tm atm = {};
    atm.tm_sec = nSec;
    atm.tm_min = nMin;
    atm.tm_hour = nHour;
    atm.tm_mday = nDay;
    atm.tm_mon = nMonth - 1;
    atm.tm_year = nYear - 1900;
    atm.tm_isdst = nDST;
    __time64_t t = _mktime64(&atm);
    return t == -1 ? 0 : t;
}

CTime WINAPI CTime::GetCurrentTime() {
    return CTime(_time64(NULL));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
    : m_time(MakeLocalTime(nYear, nMonth, nDay, nHour, nMin, nSec, nDST)) {}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : m_time(st.wYear < 1900 ? 0 : MakeLocalTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST)) {}

CTime::CTime(const FILETIME& ft, int nDST) : m_time(0) {
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st)) return;
    *this = CTime(st, nDST);
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
    if (ptm == NULL) return NULL;
    struct tm* p = _localtime64(&m_time);
    if (p == NULL) return NULL;
    *ptm = *p;
    return ptm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const {
    struct tm ttm;
    if (m_time <= 0 || GetLocalTm(&ttm) == NULL) return FALSE;
    st.wYear = (WORD)(1900 + ttm.tm_year);
    st.wMonth = (WORD)(1 + ttm.tm_mon);
    st.wDayOfWeek = (WORD)ttm.tm_wday;
    st.wDay = (WORD)ttm.tm_mday;
    st.wHour = (WORD)ttm.tm_hour;
    st.wMinute = (WORD)ttm.tm_min;
    st.wSecond = (WORD)ttm.tm_sec;
    st.wMilliseconds = 0;
    return TRUE;
}

static int TmField(const CTime& t, int tm::*field, int nAdd) {
    struct tm ttm;
    return t.GetLocalTm(&ttm) != NULL ? ttm.*field + nAdd : 0;
}

int CTime::GetYear() const { return TmField(*this, &tm::tm_year, 1900); }
int CTime::GetMonth() const { return TmField(*this, &tm::tm_mon, 1); }
int CTime::GetDay() const { return TmField(*this, &tm::tm_mday, 0); }
int CTime::GetHour() const { return TmField(*this, &tm::tm_hour, 0); }
int CTime::GetMinute() const { return TmField(*this, &tm::tm_min, 0); }
int CTime::GetSecond() const { return TmField(*this, &tm::tm_sec, 0); }
int CTime::GetDayOfWeek() const { return TmField(*this, &tm::tm_wday, 1); }

CString CTime::Format(LPCTSTR pszFormat) const {
    struct tm ttm;
    char szBuffer[256];
    if (pszFormat == NULL || GetLocalTm(&ttm) == NULL) return CString();
    if (strftime(szBuffer, sizeof(szBuffer), pszFormat, &ttm) == 0) szBuffer[0] = '\0';
    return CString(szBuffer);
}
