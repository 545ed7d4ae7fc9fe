// The number cells: VARIANT cells that show their numeric value as locale-formatted
// text (plain number, own number format, currency, percentage, fraction, exponent form)
// and take typed text back with the locale's decimal separator. The locale comes from
// the toolkit's resource manager, so its language applies; every field that holds -1
// (numbers) or an empty text leaves that setting to the locale.
#pragma once
#include "toolkit/grid/grid_cell_variant.h"

class CExtGridCellNumberBase : public CExtGridCellVariant
{
    DECLARE_SERIAL(CExtGridCellNumberBase)
public:
    explicit CExtGridCellNumberBase(CExtGridDataProvider* pOwner = NULL);

    void TextGet(CString& strCopy) const override;
    void TextSet(LPCTSTR str = NULL, bool bAllowChangeDataType = false) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    void TextGetForEdit(CString& strCopy) const override;
    HRESULT OnParseText(LPCTSTR sText) const override;

    // The value as digits, "." and a leading "-" only; false (and an empty text) for a
    // value that is no number or whose text would not fit the formatting buffer.
    virtual bool GetPlainNumberText(const VARIANT& var, CString& strOut) const;
    // Prepares a copy of the value before it is formatted.
    virtual bool AdjustValueForDisplay(VARIANT* pVar) const;
    virtual int GetDigitCount() const;
    virtual int GetLeadingZero() const;
    virtual void GetGrouping(CString& strOut) const;
    virtual void GetDecimalSeparator(CString& strOut) const;
    virtual void GetThousandSeparator(CString& strOut) const;
    virtual int GetNegativeOrder() const;
    // Trims the text; an empty text becomes "0"; every "." becomes the locale's
    // decimal separator.
    virtual void NormalizeInputText(CString& strText) const;

    // A locale value through the resource manager: a text read into a buffer of
    // nBufferSize characters (empty when it does not fit), or a number.
    static CString stat_LocaleText(LCTYPE lcType, int nBufferSize);
    static int stat_LocaleInt(LCTYPE lcType);
    // The grouping text in the format records' form: ";" removed, trailing "0" cut, the
    // rest read as a number (3;0 gives 3, 3;2;0 gives 32).
    static UINT stat_GroupingValue(const CString& strGrouping);
    // Characters after the "." of a plain number text, at most 9; 0 without one.
    static int stat_FractionDigits(const CString& strPlain);

protected:
    // Steps 1-4 of the display text: the adjusted value's plain text; false when the
    // cell shows nothing.
    bool _DisplayPlainText(CString& strPlain) const;
    // The value as a double for the fraction and exponent forms (0.0 when it is none).
    double _ValueAsDouble() const;
};

class CExtGridCellNumber : public CExtGridCellNumberBase
{
    DECLARE_SERIAL(CExtGridCellNumber)
public:
    explicit CExtGridCellNumber(CExtGridDataProvider* pOwner = NULL);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    int GetDigitCount() const override;
    int GetLeadingZero() const override;
    void GetGrouping(CString& strOut) const override;
    void GetDecimalSeparator(CString& strOut) const override;
    void GetThousandSeparator(CString& strOut) const override;
    int GetNegativeOrder() const override;

    bool m_bAutoDigits;
    INT m_nDigitCount;
    INT m_nLeadingZero;
    INT m_nNegativeOrder;
    CString m_strGrouping;
    CString m_strDecimalSeparator;
    CString m_strThousandSeparator;

protected:
    void _ResetFormat();
    // The base count raised to the value's own fraction digits when auto digits is on.
    int _AutoDigitCount(int nLocaleCount) const;
};

class CExtGridCellPercentage : public CExtGridCellNumber
{
    DECLARE_SERIAL(CExtGridCellPercentage)
public:
    explicit CExtGridCellPercentage(CExtGridDataProvider* pOwner = NULL);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    void TextGet(CString& strCopy) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    bool AdjustValueForDisplay(VARIANT* pVar) const override;
    int GetDigitCount() const override;
    // 0 "%15", 1 "% 15", 2 "15%", 3 "15 %"; a negative field means 2.
    virtual int GetSignPosition() const;

    INT m_nSignPosition;
};

class CExtGridCellCurrency : public CExtGridCellNumberBase
{
    DECLARE_SERIAL(CExtGridCellCurrency)
public:
    explicit CExtGridCellCurrency(CExtGridDataProvider* pOwner = NULL);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    void TextGet(CString& strCopy) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    int GetDigitCount() const override;
    int GetLeadingZero() const override;
    void GetGrouping(CString& strOut) const override;
    void GetDecimalSeparator(CString& strOut) const override;
    void GetThousandSeparator(CString& strOut) const override;
    int GetNegativeOrder() const override;
    virtual void GetCurrencySymbol(CString& strOut) const;
    virtual int GetPositiveOrder() const;

    bool m_bAutoDigits;
    INT m_nDigitCount;
    INT m_nLeadingZero;
    INT m_nNegativeOrder;
    INT m_nPositiveOrder;
    CString m_strGrouping;
    CString m_strDecimalSeparator;
    CString m_strThousandSeparator;
    CString m_strCurrencySymbol;

protected:
    void _ResetFormat();
};

class CExtGridCellFraction : public CExtGridCellNumberBase
{
    DECLARE_SERIAL(CExtGridCellFraction)
public:
    explicit CExtGridCellFraction(CExtGridDataProvider* pOwner = NULL);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    void TextGet(CString& strCopy) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;
    // The value as "whole  numerator/denominator" by the fraction type into a buffer of
    // nSize characters (empty when it does not fit); returns the buffer.
    virtual char* FormatFraction(double lfValue, char* pBuffer, int nSize) const;

    // 0 exact; 1-4 denominators up to 9, 99, 999, 9999; 5-10 halves, quarters, eighths,
    // sixteenths, tenths, hundredths; any other behaves as 3.
    INT m_nFractionType;
};

class CExtGridCellScientific : public CExtGridCellNumberBase
{
    DECLARE_SERIAL(CExtGridCellScientific)
public:
    explicit CExtGridCellScientific(CExtGridDataProvider* pOwner = NULL);

    void Serialize(CArchive& ar) override;
    void Assign(const CExtGridCell& other) override;
    void TextGet(CString& strCopy) const override;
    CExtGridCell* Clone(IMalloc* pMalloc = NULL) const override;

    // Mantissa digits after the point; a negative value means 2.
    INT m_nDigitCount;
};
