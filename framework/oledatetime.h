// COleDateTime and COleDateTimeSpan: the automation date (days since 30 December 1899
// as a double, the time of day as the fraction; before that day the fraction still
// counts forwards from midnight, so -1.25 is 29 December 1899, 06:00) with a status.
// Valid dates run from 1 January 100 to 31 December 9999 in the proleptic Gregorian
// calendar. Times are kept to the second, rounded to the nearest one on reading.
#pragma once
#include "framework/platform.h"
#include "framework/str.h"
#include <time.h>

class COleDateTimeSpan
{
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan() : m_span(0), m_status(valid) {}
    COleDateTimeSpan(double dblSpan) : m_span(dblSpan), m_status(valid) {}
    COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs) { SetDateTimeSpan(lDays, nHours, nMins, nSecs); }

    void SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);
    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }
    double GetTotalDays() const { return m_span; }
    double GetTotalHours() const { return m_span * 24; }
    double GetTotalMinutes() const { return m_span * 24 * 60; }
    double GetTotalSeconds() const { return m_span * 24 * 60 * 60; }
    long GetDays() const { return long(m_span); }
    long GetHours() const;
    long GetMinutes() const;
    long GetSeconds() const;
    operator double() const { return m_span; }

    COleDateTimeSpan operator+(const COleDateTimeSpan& o) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& o) const;
    COleDateTimeSpan operator-() const { COleDateTimeSpan s(-m_span); s.m_status = m_status; return s; }
    bool operator==(const COleDateTimeSpan& o) const { return m_status == o.m_status && m_span == o.m_span; }
    bool operator!=(const COleDateTimeSpan& o) const { return !(*this == o); }

    double m_span;
    DateTimeSpanStatus m_status;
};

class CArchive;
class COleDateTime
{
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    static COleDateTime WINAPI GetCurrentTime();

    COleDateTime() : m_dt(0), m_status(valid) {}
    COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(valid) { CheckRange(); }
    COleDateTime(time_t timeSrc) { *this = timeSrc; }
    COleDateTime(const SYSTEMTIME& st) { *this = st; }
    COleDateTime(const FILETIME& ft) { *this = ft; }
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
    {
        SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
    }

    COleDateTime& operator=(DATE dtSrc);
    COleDateTime& operator=(time_t timeSrc);
    COleDateTime& operator=(const SYSTEMTIME& st);
    COleDateTime& operator=(const FILETIME& ft);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    operator DATE() const { return m_dt; }

    // Each returns 1 and sets the status invalid when a part lies out of its range.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
    int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

    bool GetAsSystemTime(SYSTEMTIME& st) const;
    // -1 (the class's error value) when the status is not valid.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 Sunday ... 7 Saturday
    int GetDayOfYear() const;  // 1 for 1 January

    // The locale's date and time text through VarDateFromStr. Text that is no date
    // leaves the value 0 and the status invalid; an out-of-range one the value -1 and the
    // status invalid. False in both cases; NULL counts as text that is no date.
    bool ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    // strftime-style format of the broken-down time; empty for a date not valid.
    CString Format(LPCTSTR pszFormat) const;
    // The locale's form through VarBstrFromDate: empty for a null date, "Invalid DateTime"
    // for an invalid one or one the conversion refuses.
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;

    bool operator==(const COleDateTime& o) const { return m_status == o.m_status && m_dt == o.m_dt; }
    bool operator!=(const COleDateTime& o) const { return !(*this == o); }
    bool operator<(const COleDateTime& o) const { return Linear(m_dt) < Linear(o.m_dt); }
    bool operator>(const COleDateTime& o) const { return Linear(m_dt) > Linear(o.m_dt); }
    bool operator<=(const COleDateTime& o) const { return Linear(m_dt) <= Linear(o.m_dt); }
    bool operator>=(const COleDateTime& o) const { return Linear(m_dt) >= Linear(o.m_dt); }

    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTime& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }
    COleDateTimeSpan operator-(const COleDateTime& o) const;

    // The proleptic Gregorian arithmetic the class stands on, shared with the calendar.
    static long DaysFromCivil(int nYear, int nMonth, int nDay);  // 30 Dec 1899 = 0
    static void CivilFromDays(long nDays, int& nYear, int& nMonth, int& nDay);
    static int DaysInMonth(int nYear, int nMonth);

    // The time line the comparisons use: before 30 December 1899 the fraction is turned
    // around so later times compare greater.
    static double Linear(DATE dt);
    static DATE FromLinear(double d);

    DATE m_dt;
    DateTimeStatus m_status;

private:
    void CheckRange();
    bool Split(int& y, int& mo, int& d, int& h, int& mi, int& s) const;
};

// The archive form: the status as a 32-bit number, then the DATE. A stored status
// outside valid/invalid/null loads as invalid.
CArchive& operator<<(CArchive& ar, const COleDateTime& dtSrc);
CArchive& operator>>(CArchive& ar, COleDateTime& dtSrc);
