// CString: construction, formatting, searching, editing, tokenizing, trimming, raw
// buffers and comparisons, including the edge cases callers lean on (clamped ranges,
// aliasing with the string's own buffer, strings longer than the first guess).
#include <gtest/gtest.h>
#include <string.h>
#include "framework/str.h"
#include "framework/exceptions.h"
#include "framework/resources.h"
#include "foundation_test_ids.h"

TEST(CStringConstruct, FromPointersCharsAndCounts)
{
    CString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_STREQ("", (LPCTSTR)empty);

    CString fromNull((LPCTSTR)NULL);
    EXPECT_EQ(0, fromNull.GetLength());

    CString part("abcdef", 3);
    EXPECT_STREQ("abc", (LPCTSTR)part);
    EXPECT_EQ(3, part.GetLength());

    CString stars('*', 4);
    EXPECT_STREQ("****", (LPCTSTR)stars);

    CString wide(L"Wide text");
    EXPECT_STREQ("Wide text", (LPCTSTR)wide);

    CString copy(part);
    copy.SetAt(0, 'X');
    EXPECT_STREQ("abc", (LPCTSTR)part) << "copies must not share characters";
    EXPECT_STREQ("Xbc", (LPCTSTR)copy);
}

TEST(CStringConstruct, FromStringResourceId)
{
    CString hello(MAKEINTRESOURCE(IDS_FT_HELLO));
    EXPECT_STREQ("Hello, resources", (LPCTSTR)hello);

    CString missing(MAKEINTRESOURCE(IDS_FT_MISSING));
    EXPECT_TRUE(missing.IsEmpty());
}

TEST(CStringConstruct, IsOnePointerWhoseBitsAreTheCharacters)
{
    // Code written for the classic class passes CStrings where a char* is read.
    CString s("layout");
    ASSERT_EQ(sizeof(LPCTSTR), sizeof(CString));
    LPCTSTR raw;
    memcpy(&raw, &s, sizeof(raw));
    EXPECT_STREQ("layout", raw);
}

TEST(CStringResources, LoadStringShortLongAndMissing)
{
    CString s("previous");
    EXPECT_TRUE(s.LoadString(IDS_FT_HELLO));
    EXPECT_STREQ("Hello, resources", (LPCTSTR)s);

    EXPECT_TRUE(s.LoadString(IDS_FT_LONG));
    ASSERT_EQ(400, s.GetLength());
    EXPECT_EQ('9', s[399]);

    EXPECT_FALSE(s.LoadString(IDS_FT_MISSING));
    EXPECT_TRUE(s.IsEmpty());

    char buf[8];
    EXPECT_EQ(7, AfxLoadString(IDS_FT_HELLO, buf, sizeof(buf)));
    EXPECT_STREQ("Hello, ", buf);
    EXPECT_EQ(0, AfxLoadString(IDS_FT_MISSING, buf, sizeof(buf)));
    EXPECT_STREQ("", buf);
}

TEST(CStringFormat, PrintfRulesAndLongResults)
{
    CString s;
    s.Format("%d|%5s|%-4s|%05.1f|%x|%c|%%", -42, "ab", "cd", 3.14159, 255, 'Z');
    EXPECT_STREQ("-42|   ab|cd  |003.1|ff|Z|%", (LPCTSTR)s);

    s.Format("%I64d", (__int64)1234567890123LL);
    EXPECT_STREQ("1234567890123", (LPCTSTR)s);

    CString big('x', 5000);
    s.Format("[%s]", (LPCTSTR)big);
    ASSERT_EQ(5002, s.GetLength());
    EXPECT_EQ('[', s[0]);
    EXPECT_EQ(']', s[5001]);

    s = "n=";
    s.AppendFormat("%d,%d", 1, 2);
    EXPECT_STREQ("n=1,2", (LPCTSTR)s);

    // Formatting may take the string itself as an argument.
    s = "self";
    s.Format("<%s>", (LPCTSTR)s);
    EXPECT_STREQ("<self>", (LPCTSTR)s);
    // ... and so may appending, also when the text outgrows the buffer on the way.
    s = "ab";
    s.FreeExtra();
    s.AppendFormat("%s%s", (LPCTSTR)s, (LPCTSTR)s);
    EXPECT_STREQ("ababab", (LPCTSTR)s);
    s = "x%d";
    s.FreeExtra();
    s.AppendFormat(s, 7);
    EXPECT_STREQ("x%dx7", (LPCTSTR)s);

    s.Format(IDS_FT_FORMAT, "List", 3);
    EXPECT_STREQ("List has 3 items", (LPCTSTR)s);

    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringFormat, InsertsAndSubStrings)
{
    CString s;
    AfxFormatString2(s, IDS_FT_INSERT, "Tom", "Ann");
    EXPECT_STREQ("Tom and Ann met", (LPCTSTR)s);

    s.FormatMessage("%1 + %2!d!", "one", 2);
    EXPECT_STREQ("one + 2", (LPCTSTR)s);

    CString full;
    full.LoadString(IDS_FT_FIELDS);
    CString field;
    EXPECT_TRUE(AfxExtractSubString(field, full, 0));
    EXPECT_STREQ("Prompt text", (LPCTSTR)field);
    EXPECT_TRUE(AfxExtractSubString(field, full, 1));
    EXPECT_STREQ("Tip", (LPCTSTR)field);
    EXPECT_FALSE(AfxExtractSubString(field, full, 2));
    EXPECT_TRUE(field.IsEmpty());
    EXPECT_TRUE(AfxExtractSubString(field, "a;;c", 1, ';'));
    EXPECT_TRUE(field.IsEmpty());
}

TEST(CStringSearch, FindReverseFindFindOneOf)
{
    const CString s("hello world, hello");
    EXPECT_EQ(2, s.Find('l'));
    EXPECT_EQ(3, s.Find('l', 3));
    EXPECT_EQ(9, s.Find('l', 4));
    EXPECT_EQ(-1, s.Find('z'));
    EXPECT_EQ(-1, s.Find('h', 100));
    EXPECT_EQ(-1, s.Find('h', -1));

    EXPECT_EQ(0, s.Find("hello"));
    EXPECT_EQ(13, s.Find("hello", 1));
    EXPECT_EQ(-1, s.Find("hello", 14));
    EXPECT_EQ(-1, s.Find("hello", 19));
    EXPECT_EQ(18, s.Find("", 18)) << "an empty needle is found at the start position";

    EXPECT_EQ(16, s.ReverseFind('l'));
    EXPECT_EQ(-1, s.ReverseFind('q'));

    EXPECT_EQ(4, s.FindOneOf("wo"));
    EXPECT_EQ(11, s.FindOneOf(",;"));
    EXPECT_EQ(-1, s.FindOneOf("xyz"));
    EXPECT_EQ(-1, s.FindOneOf(""));
}

TEST(CStringExtract, MidLeftRightClampOutOfRange)
{
    const CString s("abcdef");
    EXPECT_STREQ("cde", (LPCTSTR)s.Mid(2, 3));
    EXPECT_STREQ("cdef", (LPCTSTR)s.Mid(2));
    EXPECT_STREQ("ef", (LPCTSTR)s.Mid(4, 100));
    EXPECT_STREQ("ab", (LPCTSTR)s.Mid(-3, 2));
    EXPECT_STREQ("", (LPCTSTR)s.Mid(10, 2));
    EXPECT_STREQ("", (LPCTSTR)s.Mid(1, -2));
    EXPECT_STREQ("ab", (LPCTSTR)s.Left(2));
    EXPECT_STREQ("abcdef", (LPCTSTR)s.Left(99));
    EXPECT_STREQ("", (LPCTSTR)s.Left(-1));
    EXPECT_STREQ("ef", (LPCTSTR)s.Right(2));
    EXPECT_STREQ("abcdef", (LPCTSTR)s.Right(99));
    EXPECT_STREQ("", (LPCTSTR)s.Right(-5));

    CString path("C:\\dir\\file.txt");
    EXPECT_STREQ("C:", (LPCTSTR)path.SpanExcluding("\\"));
    EXPECT_STREQ("C", (LPCTSTR)path.SpanIncluding("ABC"));
    EXPECT_STREQ("", (LPCTSTR)path.SpanIncluding("xyz"));
}

TEST(CStringEdit, InsertDeleteRemoveReplace)
{
    CString s("abc");
    EXPECT_EQ(4, s.Insert(1, 'X'));
    EXPECT_STREQ("aXbc", (LPCTSTR)s);
    EXPECT_EQ(7, s.Insert(100, "end"));
    EXPECT_STREQ("aXbcend", (LPCTSTR)s);
    EXPECT_EQ(9, s.Insert(-5, ">>"));
    EXPECT_STREQ(">>aXbcend", (LPCTSTR)s);

    EXPECT_EQ(6, s.Delete(0, 3));
    EXPECT_STREQ("Xbcend", (LPCTSTR)s);
    EXPECT_EQ(3, s.Delete(3, 100));
    EXPECT_STREQ("Xbc", (LPCTSTR)s);
    EXPECT_EQ(3, s.Delete(10, 1));
    EXPECT_EQ(2, s.Delete(0));
    EXPECT_STREQ("bc", (LPCTSTR)s);

    s = "a-b-c-";
    EXPECT_EQ(3, s.Remove('-'));
    EXPECT_STREQ("abc", (LPCTSTR)s);
    EXPECT_EQ(0, s.Remove('-'));

    s = "one two one";
    EXPECT_EQ(2, s.Replace("one", "three"));
    EXPECT_STREQ("three two three", (LPCTSTR)s);
    EXPECT_EQ(2, s.Replace("three", ""));
    EXPECT_STREQ(" two ", (LPCTSTR)s);
    EXPECT_EQ(0, s.Replace("", "x"));
    s = "aaa";
    EXPECT_EQ(3, s.Replace("a", "aa")) << "replacement text is not searched again";
    EXPECT_STREQ("aaaaaa", (LPCTSTR)s);
    EXPECT_EQ(6, s.Replace('a', 'b'));
    EXPECT_STREQ("bbbbbb", (LPCTSTR)s);
}

TEST(CStringEdit, CaseAndReverse)
{
    CString s("MiXeD 1!");
    EXPECT_STREQ("MIXED 1!", (LPCTSTR)s.MakeUpper());
    EXPECT_STREQ("mixed 1!", (LPCTSTR)s.MakeLower());
    EXPECT_STREQ("!1 dexim", (LPCTSTR)s.MakeReverse());
}

TEST(CStringEdit, OperationsOnItsOwnCharacters)
{
    CString s("ab");
    s += s;
    EXPECT_STREQ("abab", (LPCTSTR)s);
    s.Append((LPCTSTR)s + 1);
    EXPECT_STREQ("abab" "bab", (LPCTSTR)s);
    s.Insert(0, (LPCTSTR)s + 5);
    EXPECT_STREQ("ababab" "bab", (LPCTSTR)s);
    s = (LPCTSTR)s + 6;
    EXPECT_STREQ("bab", (LPCTSTR)s);
    s = s;
    EXPECT_STREQ("bab", (LPCTSTR)s);
}

TEST(CStringTokenize, RunsOfDelimitersGiveNoEmptyTokens)
{
    const CString s(",,alpha;; beta ,gamma;");
    int pos = 0;
    const char* expected[] = { "alpha", "beta", "gamma" };
    for (const char* want : expected)
    {
        CString token = s.Tokenize(",; ", pos);
        EXPECT_STREQ(want, (LPCTSTR)token) << "token " << want;
        EXPECT_GT(pos, 0);
    }
    CString rest = s.Tokenize(",; ", pos);
    EXPECT_TRUE(rest.IsEmpty());
    EXPECT_EQ(-1, pos);

    // A last token without a trailing delimiter.
    pos = 0;
    EXPECT_STREQ("x", (LPCTSTR)CString(" x").Tokenize(" ", pos));
    EXPECT_EQ(3, pos);
    rest = CString(" x").Tokenize(" ", pos);
    EXPECT_TRUE(rest.IsEmpty());
    EXPECT_EQ(-1, pos);
    // Asking again after the end stays at the end.
    EXPECT_TRUE(s.Tokenize(",; ", pos).IsEmpty());
    EXPECT_EQ(-1, pos);

    pos = 0;
    EXPECT_TRUE(CString(";;;").Tokenize(";", pos).IsEmpty());
    EXPECT_EQ(-1, pos);
    pos = 0;
    EXPECT_TRUE(CString().Tokenize(";", pos).IsEmpty());
    EXPECT_EQ(-1, pos);

    // Without delimiters the rest is one token, and then the end.
    pos = 2;
    EXPECT_STREQ("cd", (LPCTSTR)CString("abcd").Tokenize("", pos));
    EXPECT_TRUE(CString("abcd").Tokenize("", pos).IsEmpty());
    EXPECT_EQ(-1, pos);
}

TEST(CStringTrim, BlanksCharsAndSets)
{
    CString s(" \t value \r\n");
    EXPECT_STREQ(" \t value", (LPCTSTR)CString(s).TrimRight());
    EXPECT_STREQ("value \r\n", (LPCTSTR)CString(s).TrimLeft());
    EXPECT_STREQ("value", (LPCTSTR)s.Trim());

    s = "xxabcxx";
    EXPECT_STREQ("abcxx", (LPCTSTR)CString(s).TrimLeft('x'));
    EXPECT_STREQ("xxabc", (LPCTSTR)CString(s).TrimRight('x'));
    EXPECT_STREQ("abc", (LPCTSTR)CString(s).Trim('x'));

    s = "-=+middle+=-";
    EXPECT_STREQ("middle", (LPCTSTR)s.Trim("+-="));
    s = "    ";
    EXPECT_TRUE(s.Trim().IsEmpty());
    s = "keep";
    EXPECT_STREQ("keep", (LPCTSTR)s.Trim(""));
}

TEST(CStringBuffer, GetBufferReleaseBufferAndSetLength)
{
    CString s("start");
    LPTSTR p = s.GetBuffer(64);
    EXPECT_STREQ("start", p) << "the old text survives GetBuffer";
    strcpy(p, "written through the buffer");
    s.ReleaseBuffer();
    EXPECT_EQ(26, s.GetLength());
    EXPECT_STREQ("written through the buffer", (LPCTSTR)s);

    p = s.GetBuffer(10);
    s.ReleaseBuffer(7);
    EXPECT_STREQ("written", (LPCTSTR)s);

    p = s.GetBufferSetLength(3);
    EXPECT_EQ(3, s.GetLength());
    p[0] = 'x';
    EXPECT_STREQ("xri", (LPCTSTR)s);

    // A filled buffer without a terminator is taken whole.
    CString t;
    p = t.GetBuffer(4);
    int alloc = t.GetAllocLength();
    ASSERT_GE(alloc, 4);
    memset(p, 'q', alloc + 1);
    t.ReleaseBuffer();
    EXPECT_EQ(alloc, t.GetLength());

    s.Empty();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ("", (LPCTSTR)s);
}

TEST(CStringCompare, OperatorsAndCaseRules)
{
    CString a("apple"), b("Banana"), a2("apple");
    EXPECT_TRUE(a == a2);
    EXPECT_TRUE(a == "apple");
    EXPECT_TRUE("apple" == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a != "Apple");
    EXPECT_TRUE(b < a) << "byte order: upper case before lower case";
    EXPECT_TRUE(a > "Zebra");
    EXPECT_TRUE("aardvark" < a);
    EXPECT_TRUE(a <= a2);
    EXPECT_TRUE(a >= "apple");
    EXPECT_LT(0, a.Compare("Apple"));
    EXPECT_EQ(0, a.CompareNoCase("APPLE"));
    EXPECT_GT(0, a.CompareNoCase("banana"));
    EXPECT_EQ(0, a.Compare(a2));
    EXPECT_FALSE(CString("ab") == CString("abc"));
}

TEST(CStringConcat, OperatorPlusForms)
{
    CString s("mid");
    EXPECT_STREQ("<mid>", (LPCTSTR)("<" + s + ">"));
    EXPECT_STREQ("mid!", (LPCTSTR)(s + '!'));
    EXPECT_STREQ("?mid", (LPCTSTR)('?' + s));
    EXPECT_STREQ("midmid", (LPCTSTR)(s + s));
    s += 'x';
    s += "yz";
    EXPECT_STREQ("midxyz", (LPCTSTR)s);

    CString grow;
    for (int i = 0; i < 1000; ++i)
        grow += "0123456789";
    EXPECT_EQ(10000, grow.GetLength());
    EXPECT_EQ(0, strncmp((LPCTSTR)grow + 9990, "0123456789", 10));
}

TEST(CStringAccess, IndexingChecksTheRange)
{
    CString s("abc");
    EXPECT_EQ('b', s[1]);
    EXPECT_EQ('\0', s.GetAt(3)) << "the terminator may be read";
    bool thrown = false;
    try
    {
        s.GetAt(4);
    }
    catch (CException* e)
    {
        thrown = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)) != FALSE;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    thrown = false;
    try
    {
        s.SetAt(3, 'x');
    }
    catch (CInvalidArgException* e)
    {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    EXPECT_STREQ("abc", (LPCTSTR)s);
}

TEST(CStringBstr, AllocSysStringConvertsToWide)
{
    CString s("wide");
    BSTR b = s.AllocSysString();
    ASSERT_TRUE(b != NULL);
    EXPECT_EQ(4u, SysStringLen(b));
    EXPECT_EQ(0, wcscmp(L"wide", b));
    SysFreeString(b);
}
