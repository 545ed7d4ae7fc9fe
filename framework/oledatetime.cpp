#include "framework/oledatetime.h"
#include "framework/archive.h"

#include <math.h>
#include <oleauto.h>

namespace {

const double kMinDate = -657434.0;          // 1 January 100
const double kMaxDate = 2958465.99999999;   // 31 December 9999, 23:59:59
const long kSecondsPerDay = 86400;

long FloorDiv(long long a, long b, long& rem)
{
    long long q = a / b;
    long long r = a % b;
    if (r < 0) {
        r += b;
        --q;
    }
    rem = long(r);
    return long(q);
}

}  // namespace

// ---- span -----------------------------------------------------------------------------------

void COleDateTimeSpan::SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs)
{
    m_span = lDays + (nHours + (nMins + nSecs / 60.0) / 60.0) / 24.0;
    m_status = valid;
}

long COleDateTimeSpan::GetHours() const
{
    double d = (m_span - long(m_span)) * 24;
    return long(d + (d >= 0 ? 1e-7 : -1e-7));
}

long COleDateTimeSpan::GetMinutes() const
{
    double d = (m_span * 24 - long(m_span * 24)) * 60;
    return long(d + (d >= 0 ? 1e-6 : -1e-6));
}

long COleDateTimeSpan::GetSeconds() const
{
    double d = (m_span * 1440 - long(m_span * 1440)) * 60;
    return long(floor(fabs(d) + 0.5)) * (d < 0 ? -1 : 1) % 60;
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& o) const
{
    COleDateTimeSpan s(m_span + o.m_span);
    if (m_status != valid || o.m_status != valid)
        s.m_status = (m_status == null || o.m_status == null) ? null : invalid;
    return s;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& o) const
{
    return *this + (-o);
}

// ---- calendar -------------------------------------------------------------------------------

long COleDateTime::DaysFromCivil(int nYear, int nMonth, int nDay)
{
    long y = nYear - (nMonth <= 2 ? 1 : 0);
    long nEra = (y >= 0 ? y : y - 399) / 400;
    long nYoe = y - nEra * 400;
    long nDoy = (153 * (nMonth > 2 ? nMonth - 3 : nMonth + 9) + 2) / 5 + nDay - 1;
    long nDoe = nYoe * 365 + nYoe / 4 - nYoe / 100 + nDoy;
    // 693899 days lie between 1 March of year 0 and 30 December 1899.
    return nEra * 146097 + nDoe - 693899;
}

void COleDateTime::CivilFromDays(long nDays, int& nYear, int& nMonth, int& nDay)
{
    long z = nDays + 693899;
    long nEra = (z >= 0 ? z : z - 146096) / 146097;
    long nDoe = z - nEra * 146097;
    long nYoe = (nDoe - nDoe / 1460 + nDoe / 36524 - nDoe / 146096) / 365;
    long nDoy = nDoe - (365 * nYoe + nYoe / 4 - nYoe / 100);
    long mp = (5 * nDoy + 2) / 153;
    nDay = int(nDoy - (153 * mp + 2) / 5 + 1);
    nMonth = int(mp < 10 ? mp + 3 : mp - 9);
    nYear = int(nYoe + nEra * 400 + (nMonth <= 2 ? 1 : 0));
}

int COleDateTime::DaysInMonth(int nYear, int nMonth)
{
    static const int s_days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12)
        return 0;
    bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    return (nMonth == 2 && bLeap) ? 29 : s_days[nMonth - 1];
}

double COleDateTime::Linear(DATE dt)
{
    if (dt >= 0)
        return dt;
    double dDays = ceil(dt);  // the day counts towards zero
    return dDays + (dDays - dt);
}

DATE COleDateTime::FromLinear(double d)
{
    if (d >= 0)
        return d;
    double dDays = floor(d);
    double dFrac = d - dDays;
    if (dFrac == 0)
        return dDays;
    return dDays - dFrac;  // the day counts towards zero, the fraction forwards
}

// ---- date -----------------------------------------------------------------------------------

void COleDateTime::CheckRange()
{
    m_status = (m_dt >= kMinDate && m_dt <= kMaxDate) ? valid : invalid;
}

COleDateTime WINAPI COleDateTime::GetCurrentTime()
{
    return COleDateTime(::time(NULL));
}

COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    m_dt = dtSrc;
    CheckRange();
    return *this;
}

COleDateTime& COleDateTime::operator=(time_t timeSrc)
{
    struct tm* ptm = ::localtime(&timeSrc);
    if (ptm == NULL) {
        m_dt = 0;
        m_status = invalid;
        return *this;
    }
    SetDateTime(ptm->tm_year + 1900, ptm->tm_mon + 1, ptm->tm_mday, ptm->tm_hour, ptm->tm_min,
                ptm->tm_sec);
    return *this;
}

COleDateTime& COleDateTime::operator=(const SYSTEMTIME& st)
{
    SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    return *this;
}

COleDateTime& COleDateTime::operator=(const FILETIME& ft)
{
    // The classic class takes the FILETIME as it stands, without a zone conversion.
    SYSTEMTIME st;
    if (!::FileTimeToSystemTime(&ft, &st)) {
        m_dt = 0;
        m_status = invalid;
        return *this;
    }
    return *this = st;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    if (nYear < 100 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 ||
        nDay > DaysInMonth(nYear, nMonth) || nHour < 0 || nHour > 23 || nMin < 0 ||
        nMin > 59 || nSec < 0 || nSec > 59) {
        m_dt = 0;
        m_status = invalid;
        return 1;
    }
    double dDays = DaysFromCivil(nYear, nMonth, nDay);
    double dTime = (nHour * 3600 + nMin * 60 + nSec) / double(kSecondsPerDay);
    m_dt = dDays >= 0 ? dDays + dTime : dDays - dTime;
    m_status = valid;
    return 0;
}

bool COleDateTime::Split(int& y, int& mo, int& d, int& h, int& mi, int& s) const
{
    if (m_status != valid || !(m_dt >= kMinDate && m_dt <= kMaxDate))
        return false;
    long long nSecs = (long long)floor(Linear(m_dt) * kSecondsPerDay + 0.5);
    long nRem = 0;
    long nDays = FloorDiv(nSecs, kSecondsPerDay, nRem);
    CivilFromDays(nDays, y, mo, d);
    h = int(nRem / 3600);
    mi = int(nRem / 60 % 60);
    s = int(nRem % 60);
    return true;
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    int y, mo, d, h, mi, s;
    if (!Split(y, mo, d, h, mi, s))
        return false;
    st.wYear = WORD(y);
    st.wMonth = WORD(mo);
    st.wDay = WORD(d);
    st.wHour = WORD(h);
    st.wMinute = WORD(mi);
    st.wSecond = WORD(s);
    st.wMilliseconds = 0;
    st.wDayOfWeek = WORD(GetDayOfWeek() - 1);
    return true;
}

#define OLEDT_PART(name, var)                  \
    int COleDateTime::name() const             \
    {                                          \
        int y, mo, d, h, mi, s;                \
        return Split(y, mo, d, h, mi, s) ? var : -1; \
    }
OLEDT_PART(GetYear, y)
OLEDT_PART(GetMonth, mo)
OLEDT_PART(GetDay, d)
OLEDT_PART(GetHour, h)
OLEDT_PART(GetMinute, mi)
OLEDT_PART(GetSecond, s)
#undef OLEDT_PART

int COleDateTime::GetDayOfWeek() const
{
    int y, mo, d, h, mi, s;
    if (!Split(y, mo, d, h, mi, s))
        return -1;
    long n = DaysFromCivil(y, mo, d);  // 30 December 1899 was a Saturday
    return int(((n + 6) % 7 + 7) % 7) + 1;
}

int COleDateTime::GetDayOfYear() const
{
    int y, mo, d, h, mi, s;
    if (!Split(y, mo, d, h, mi, s))
        return -1;
    return int(DaysFromCivil(y, mo, d) - DaysFromCivil(y, 1, 1)) + 1;
}

CString COleDateTime::Format(LPCTSTR pszFormat) const
{
    int y, mo, d, h, mi, s;
    if (pszFormat == NULL || !Split(y, mo, d, h, mi, s))
        return CString();
    struct tm t;
    ::memset(&t, 0, sizeof(t));
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    t.tm_wday = GetDayOfWeek() - 1;
    t.tm_yday = GetDayOfYear() - 1;
    char szBuf[256];
    size_t n = ::strftime(szBuf, sizeof(szBuf), pszFormat, &t);
    szBuf[n < sizeof(szBuf) ? n : sizeof(szBuf) - 1] = 0;
    return CString(szBuf);
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const
{
    static const char szInvalid[] = "Invalid DateTime";
    if (m_status == null)
        return CString();
    if (m_status == invalid)
        return CString(szInvalid);
    BSTR bstr = NULL;
    if (FAILED(::VarBstrFromDate(m_dt, lcid, dwFlags, &bstr)) || bstr == NULL)
        return CString(szInvalid);
    const int nLen = ::WideCharToMultiByte(CP_ACP, 0, bstr, -1, NULL, 0, NULL, NULL);
    CString s;
    if (nLen > 1) {
        ::WideCharToMultiByte(CP_ACP, 0, bstr, -1, s.GetBuffer(nLen), nLen, NULL, NULL);
        s.ReleaseBuffer();
    }
    ::SysFreeString(bstr);
    return s;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const
{
    COleDateTime r;
    if (m_status == null || span.m_status == COleDateTimeSpan::null) {
        r.m_status = null;
        return r;
    }
    if (m_status == invalid || span.m_status == COleDateTimeSpan::invalid) {
        r.m_status = invalid;
        return r;
    }
    r = FromLinear(Linear(m_dt) + span.m_span);
    return r;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const
{
    return *this + (-span);
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& o) const
{
    COleDateTimeSpan r(Linear(m_dt) - Linear(o.m_dt));
    if (m_status != valid || o.m_status != valid)
        r.m_status = (m_status == null || o.m_status == null) ? COleDateTimeSpan::null
                                                              : COleDateTimeSpan::invalid;
    return r;
}

bool COleDateTime::ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags, LCID lcid)
{
    m_dt = 0;
    m_status = invalid;
    if (lpszDate == NULL) return false;
    const int nWide = ::MultiByteToWideChar(CP_ACP, 0, lpszDate, -1, NULL, 0);
    if (nWide <= 0) return false;
    BSTR bstr = ::SysAllocStringLen(NULL, (UINT)(nWide - 1));
    if (bstr == NULL) return false;
    ::MultiByteToWideChar(CP_ACP, 0, lpszDate, -1, bstr, nWide);
    DATE dt = 0;
    const HRESULT hr = ::VarDateFromStr(bstr, lcid, dwFlags, &dt);
    ::SysFreeString(bstr);
    if (FAILED(hr)) {
        if (hr == DISP_E_OVERFLOW) m_dt = -1;
        return false;
    }
    m_dt = dt;
    m_status = valid;
    return true;
}

CArchive& operator<<(CArchive& ar, const COleDateTime& dtSrc)
{
    ar << (LONG)dtSrc.m_status;
    return ar << (double)dtSrc.m_dt;
}

CArchive& operator>>(CArchive& ar, COleDateTime& dtSrc)
{
    LONG nStatus = 0;
    double dt = 0;
    ar >> nStatus;
    ar >> dt;
    dtSrc.m_dt = dt;
    dtSrc.m_status = (nStatus >= COleDateTime::valid && nStatus <= COleDateTime::null)
                         ? (COleDateTime::DateTimeStatus)nStatus
                         : COleDateTime::invalid;
    return ar;
}
