// Tests of the framework's string classes.
#include "afx.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

std::wstring W(const CString& s)
{
    return std::wstring(s.GetString(), s.GetLength());
}

// ---- construction and code pages -------------------------------------------

struct CodePageCase
{
    UINT cp;
    const wchar_t* wide;
    const char* bytes;  // what the wide text becomes in that code page
    bool roundTrip;     // whether the bytes convert back to the same text
};

class CodePageTest : public ::testing::TestWithParam<CodePageCase>
{};

TEST_P(CodePageTest, ConvertsBothWays)
{
    const CodePageCase& c = GetParam();
    CStringA a = WideToMultiByte(c.cp, c.wide);
    EXPECT_EQ(std::string(c.bytes), a.str()) << "code page " << c.cp;
    CString back = MultiByteToWide(c.cp, c.bytes);
    if (c.roundTrip) {
        EXPECT_EQ(std::wstring(c.wide), W(back));
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, CodePageTest,
                         ::testing::Values(CodePageCase{ 1252, L"plain ascii", "plain ascii", true },
                                           CodePageCase{ 1252, L"caf\u00e9 \u00fc", "caf\xe9 \xfc", true },
                                           CodePageCase{ 1252, L"\u20ac", "\x80", true },    // euro sign
                                           CodePageCase{ 1252, L"x\u4e2dy", "x?y", false },  // outside the code page
                                           CodePageCase{ 437, L"caf\u00e9", "caf\x82", true },
                                           CodePageCase{ 437, L"\u2500", "\xc4", true },  // box drawing
                                           CodePageCase{ 437, L"\u4e2d", "?", false },
                                           CodePageCase{ 850, L"\u00e9\u00c9", "\x82\x90", true },
                                           CodePageCase{ 1252, L"", "", true }));

TEST(CStringCodePage, AnsiAndOemFollowTheSystemCodePages)
{
    const char* bytes = "Gr\xfc\xdf \x82\x90";
    EXPECT_EQ(W(MultiByteToWide(GetACP(), bytes)), W(CString(bytes)));
    EXPECT_EQ(W(MultiByteToWide(GetACP(), bytes)), W(AnsiToWide(bytes)));
    EXPECT_EQ(W(MultiByteToWide(GetOEMCP(), bytes)), W(OemToWide(bytes)));
    EXPECT_EQ(W(MultiByteToWide(GetOEMCP(), bytes)), W(MultiByteToWide(CP_OEMCP, bytes)));
    EXPECT_EQ(W(MultiByteToWide(GetACP(), bytes)), W(MultiByteToWide(CP_THREAD_ACP, bytes)));
    CString wide(L"caf\u00e9");
    EXPECT_EQ(WideToMultiByte(GetACP(), wide).str(), CStringA(wide).str());
    EXPECT_EQ(WideToMultiByte(GetOEMCP(), wide).str(), WideToOem(wide).str());
    CString fromA = CStringA("abc");
    EXPECT_EQ(L"abc", W(fromA));
}

TEST(CStringCodePage, FixedBufferRefusesTooLongTextAndKeepsTheBuffer)
{
    char buf[6];
    memcpy(buf, "xxxxx", 6);
    EXPECT_FALSE(AfxWideToMultiByteBuffer(CP_OEMCP, 5, L"12345", buf));  // needs 6 with NUL
    EXPECT_STREQ("xxxxx", buf);
    EXPECT_TRUE(AfxWideToMultiByteBuffer(CP_OEMCP, 6, L"12345", buf));
    EXPECT_STREQ("12345", buf);
    EXPECT_TRUE(AfxWideToMultiByteBuffer(437, 6, L"\u00e9", buf));
    EXPECT_STREQ("\x82", buf);

    wchar_t wbuf[4] = L"zzz";
    EXPECT_FALSE(AfxMultiByteToWideBuffer(CP_ACP, 3, "abc", wbuf));
    EXPECT_STREQ(L"zzz", wbuf);
    EXPECT_TRUE(AfxMultiByteToWideBuffer(CP_ACP, 4, "abc", wbuf));
    EXPECT_STREQ(L"abc", wbuf);
}

TEST(CString, Construction)
{
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString((LPCWSTR)NULL).IsEmpty());
    EXPECT_TRUE(CString((LPCSTR)NULL).IsEmpty());
    EXPECT_EQ(L"xxx", W(CString(L'x', 3)));
    EXPECT_EQ(L"x", W(CString(L'x')));
    EXPECT_EQ(L"ab", W(CString(L"abcdef", 2)));
    EXPECT_EQ(L"ab", W(CString("abcdef", 2)));
    CString s(L"abc");
    CString t = s;
    t.SetAt(0, L'X');
    EXPECT_EQ(L"abc", W(s)) << "copies are independent";
    EXPECT_EQ(L"Xbc", W(t));
}

// ---- Format ------------------------------------------------------------------

struct FormatCase
{
    const char* name;
    CString (*make)();
    const wchar_t* expected;
};

CString FmtWideS()
{
    CString s;
    s.Format(L"[%s]", L"wide");
    return s;
}
CString FmtCStringArg()
{
    CString a(L"one"), b(L"two");
    CString s;
    s.Format(L"%s-%s", a, b);
    return s;
}
CString FmtInts()
{
    CString s;
    s.Format(L"%d %u %ld", -42, 4000000000u, 123456789L);
    return s;
}
CString FmtHex()
{
    CString s;
    s.Format(L"%04X%04X|%08X|%x", 0x409, 0x4B0, 0xBEEFu, 255);
    return s;
}
CString FmtChar()
{
    CString s;
    s.Format(L"%c%c", L'A', L'\u00e9');
    return s;
}
CString FmtPercent()
{
    CString s;
    s.Format(L"100%%");
    return s;
}
CString FmtNoArgs()
{
    CString s(L"old");
    s.Format(L"plain");
    return s;
}
CString FmtWidth()
{
    CString s;
    s.Format(L"%5d|%-4s|%.2s", 42, L"ab", L"xyz");
    return s;
}
CString FmtLong()
{
    CString big(L'z', 3000);
    CString s;
    s.Format(L"<%s>", big);
    return s;
}
CString FmtAppend()
{
    CString s(L"a=");
    s.AppendFormat(L"%d", 5);
    s.AppendFormat(L",%s", CString(L"b"));
    return s;
}
CString FmtSelf()
{
    CString s(L"self");
    s.Format(L"%s!", s);
    return s;
}
CString FmtAppendSelf()
{
    CString s(L"0123456789abcdef0123456789abcdef");
    s.AppendFormat(L"|%s", s);  // long enough that the append must grow the buffer
    return s;
}
CString FmtArray()
{
    wchar_t buf[8] = L"arr";
    CString s;
    s.Format(L"%s", buf);
    return s;
}
CString FmtStringA()
{
    CStringA a("8bit");
    CString s;
    s.Format(L"%S", a);
    return s;
}

class CStringFormat : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(CStringFormat, Produces)
{
    const FormatCase& c = GetParam();
    std::wstring expected = c.expected;
    if (std::string(c.name) == "long")
        expected = L"<" + std::wstring(3000, L'z') + L">";
    EXPECT_EQ(expected, W(c.make()));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CStringFormat,
    ::testing::Values(FormatCase{ "wide_s", FmtWideS, L"[wide]" },
                      FormatCase{ "cstring_args", FmtCStringArg, L"one-two" },
                      FormatCase{ "ints", FmtInts, L"-42 4000000000 123456789" },
                      FormatCase{ "hex", FmtHex, L"040904B0|0000BEEF|ff" }, FormatCase{ "char", FmtChar, L"A\u00e9" },
                      FormatCase{ "percent", FmtPercent, L"100%" }, FormatCase{ "no_args", FmtNoArgs, L"plain" },
                      FormatCase{ "width", FmtWidth, L"   42|ab  |xy" }, FormatCase{ "long", FmtLong, L"" },
                      FormatCase{ "append", FmtAppend, L"a=5,b" }, FormatCase{ "self_arg", FmtSelf, L"self!" },
                      FormatCase{ "append_self_arg", FmtAppendSelf,
                                  L"0123456789abcdef0123456789abcdef|0123456789abcdef0123456789abcdef" },
                      FormatCase{ "array_arg", FmtArray, L"arr" }, FormatCase{ "stringa_arg", FmtStringA, L"8bit" }),
    [](const ::testing::TestParamInfo<FormatCase>& i) { return std::string(i.param.name); });

TEST(CStringA, FormatFindMidAndAppend)
{
    CStringA a;
    a.Format("GET %s HTTP/1.%d\r\n", "/x.php", 0);
    EXPECT_EQ("GET /x.php HTTP/1.0\r\n", a.str());
    CStringA arg("val");
    a.Format("k=%s&n=%04X", arg, 0x1F);
    EXPECT_EQ("k=val&n=001F", a.str());
    a += "&z";
    a += '!';
    EXPECT_EQ("k=val&n=001F&z!", a.str());
    EXPECT_EQ(2, a.Find("va"));
    EXPECT_EQ(-1, a.Find("nope"));
    EXPECT_EQ(1, a.Find('='));
    EXPECT_EQ("val", a.Mid(2, 3).str());
    EXPECT_EQ("", a.Mid(100).str());
    EXPECT_STREQ("k=val&n=001F&z!", (LPCSTR)a);
    EXPECT_EQ(15, a.GetLength());
}

// ---- extraction and search -------------------------------------------------

struct ExtractCase
{
    const char* op;
    int a, b;
    const wchar_t* expected;
};

class CStringExtract : public ::testing::TestWithParam<ExtractCase>
{};

TEST_P(CStringExtract, IsClamped)
{
    const ExtractCase& c = GetParam();
    CString s(L"abcdef");
    CString r;
    std::string op = c.op;
    if (op == "Mid1")
        r = s.Mid(c.a);
    else if (op == "Mid2")
        r = s.Mid(c.a, c.b);
    else if (op == "Left")
        r = s.Left(c.a);
    else
        r = s.Right(c.a);
    EXPECT_EQ(std::wstring(c.expected), W(r)) << c.op << "(" << c.a << ", " << c.b << ")";
}

INSTANTIATE_TEST_SUITE_P(Tables, CStringExtract,
                         ::testing::Values(ExtractCase{ "Mid1", 2, 0, L"cdef" }, ExtractCase{ "Mid1", 0, 0, L"abcdef" },
                                           ExtractCase{ "Mid1", 6, 0, L"" }, ExtractCase{ "Mid1", 99, 0, L"" },
                                           ExtractCase{ "Mid1", -3, 0, L"abcdef" }, ExtractCase{ "Mid2", 1, 3, L"bcd" },
                                           ExtractCase{ "Mid2", 4, 10, L"ef" }, ExtractCase{ "Mid2", 7, 2, L"" },
                                           ExtractCase{ "Mid2", 2, -1, L"" }, ExtractCase{ "Mid2", -2, 3, L"abc" },
                                           ExtractCase{ "Mid2", 0, 0x7fffffff, L"abcdef" },
                                           ExtractCase{ "Left", 2, 0, L"ab" }, ExtractCase{ "Left", 10, 0, L"abcdef" },
                                           ExtractCase{ "Left", -1, 0, L"" }, ExtractCase{ "Right", 2, 0, L"ef" },
                                           ExtractCase{ "Right", 10, 0, L"abcdef" },
                                           ExtractCase{ "Right", -5, 0, L"" }));

struct FindCase
{
    const wchar_t* text;
    const wchar_t* sub;  // NULL: search for ch
    wchar_t ch;
    int start;
    int expected;
};

class CStringFind : public ::testing::TestWithParam<FindCase>
{};

TEST_P(CStringFind, Finds)
{
    const FindCase& c = GetParam();
    CString s(c.text);
    int got = c.sub ? s.Find(c.sub, c.start) : s.Find(c.ch, c.start);
    EXPECT_EQ(c.expected, got) << "in \"" << CStringA(s).str() << "\" from " << c.start;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CStringFind,
    ::testing::Values(FindCase{ L"a\tb\tc", NULL, L'\t', 0, 1 }, FindCase{ L"a\tb\tc", NULL, L'\t', 2, 3 },
                      FindCase{ L"a\tb\tc", NULL, L'\t', 4, -1 }, FindCase{ L"a\tb\tc", NULL, L'x', 0, -1 },
                      FindCase{ L"abc", NULL, L'a', -1, -1 }, FindCase{ L"abc", NULL, L'a', 99, -1 },
                      FindCase{ L"", NULL, L'a', 0, -1 }, FindCase{ L"network.proxy.type", L"proxy", 0, 0, 8 },
                      FindCase{ L"aXbXc", L"X", 0, 2, 3 }, FindCase{ L"abc", L"abcd", 0, 0, -1 },
                      FindCase{ L"abc", L"", 0, 1, 1 }, FindCase{ L"abc", L"c", 0, 3, -1 },
                      FindCase{ L"abc", L"a", 0, 50, -1 }));

TEST(CString, FindOneOfAndReverseFind)
{
    CString s(L"C:\\dir\\file.txt");
    EXPECT_EQ(2, s.FindOneOf(L"/\\"));
    EXPECT_EQ(-1, s.FindOneOf(L"?*"));
    EXPECT_EQ(-1, s.FindOneOf(L""));
    EXPECT_EQ(6, s.ReverseFind(L'\\'));
    EXPECT_EQ(-1, s.ReverseFind(L'#'));
}

// ---- editing -----------------------------------------------------------------

TEST(CString, Editing)
{
    CString s(L"a-b-c");
    EXPECT_EQ(2, s.Replace(L'-', L'+'));
    EXPECT_EQ(L"a+b+c", W(s));
    EXPECT_EQ(2, s.Replace(L"+", L"--"));
    EXPECT_EQ(L"a--b--c", W(s));
    EXPECT_EQ(2, s.Replace(L"--", L""));
    EXPECT_EQ(L"abc", W(s));
    EXPECT_EQ(0, s.Replace(L"", L"x")) << "an empty pattern replaces nothing";
    EXPECT_EQ(1, s.Replace(L"b", L"bb"));
    EXPECT_EQ(L"abbc", W(s)) << "replacement text is not searched again";
    EXPECT_EQ(2, s.Remove(L'b'));
    EXPECT_EQ(L"ac", W(s));
    EXPECT_EQ(3, s.Insert(1, L'b'));
    EXPECT_EQ(6, s.Insert(99, L"def"));
    EXPECT_EQ(L"abcdef", W(s));
    EXPECT_EQ(4, s.Delete(1, 2));
    EXPECT_EQ(L"adef", W(s));
    EXPECT_EQ(2, s.Delete(2, 99));
    EXPECT_EQ(2, s.Delete(5, 1));
    EXPECT_EQ(L"ad", W(s));
    s.SetAt(7, L'x');
    EXPECT_EQ(L"ad", W(s)) << "writing out of range is ignored";
    EXPECT_EQ(L'\0', s.GetAt(-1));
    EXPECT_EQ(L'\0', s[2]);
    EXPECT_EQ(L'd', s[1]);

    CString t(L"  \t x y \r\n");
    t.TrimLeft();
    EXPECT_EQ(L"x y \r\n", W(t));
    t.TrimRight();
    EXPECT_EQ(L"x y", W(t));
    CString u(L"--x--");
    EXPECT_EQ(L"x", W(u.Trim(L'-')));
    CString v(L"<<x>>");
    EXPECT_EQ(L"<<x", W(v.TrimRight(L"<>")));
    EXPECT_EQ(L"x", W(v.TrimLeft(L"<>")));
    EXPECT_EQ(L"x", W(CString(L"  x  ").Trim()));
    EXPECT_EQ(L"", W(CString(L"   ").Trim()));

    CString m(L"MiXeD \u00c9");
    EXPECT_EQ(L"mixed \u00e9", W(CString(m).MakeLower()));
    EXPECT_EQ(L"MIXED \u00c9", W(CString(m).MakeUpper()));
    EXPECT_EQ(L"cba", W(CString(L"abc").MakeReverse()));
}

TEST(CString, Tokenize)
{
    CString s(L"  a, b,,c ");
    int pos = 0;
    std::vector<std::wstring> tokens;
    for (CString tok = s.Tokenize(L", ", pos); pos != -1; tok = s.Tokenize(L", ", pos))
        tokens.push_back(W(tok));
    ASSERT_EQ(3u, tokens.size());
    EXPECT_EQ(L"a", tokens[0]);
    EXPECT_EQ(L"b", tokens[1]);
    EXPECT_EQ(L"c", tokens[2]);
    EXPECT_EQ(L"ab", W(CString(L"abc12").SpanIncluding(L"abc").Left(2)));
    EXPECT_EQ(L"key", W(CString(L"key=value").SpanExcluding(L"=")));
}

// ---- comparison and concatenation ----------------------------------------------

TEST(CString, ComparisonAndOrder)
{
    CString a(L"abc"), b(L"abd"), A(L"ABC");
    EXPECT_TRUE(a == L"abc");
    EXPECT_TRUE(L"abc" == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a != L"ab");
    EXPECT_FALSE(a == A);
    EXPECT_LT(a.Compare(b), 0);
    EXPECT_GT(b.Compare(a), 0);
    EXPECT_EQ(0, a.Compare(L"abc"));
    EXPECT_EQ(0, a.CompareNoCase(A));
    EXPECT_NE(0, a.CompareNoCase(L"abcd"));
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(A < a) << "upper case sorts before lower case in code-unit order";
    EXPECT_TRUE(CString(L"ab") < CString(L"abc"));
    EXPECT_TRUE(CString(L"z") < CString(L"\u00e9"));

    std::map<CString, int> m;
    m[L"td"] = 1;
    m[L"a"] = 2;
    m[L"TABLE"] = 3;
    m[L"b"] = 4;
    std::wstring order;
    for (auto& kv : m)
        order += W(kv.first) + L" ";
    EXPECT_EQ(L"TABLE a b td ", order);
}

TEST(CString, Concatenation)
{
    CString a(L"ab");
    EXPECT_EQ(L"abcd", W(a + L"cd"));
    EXPECT_EQ(L"cdab", W(L"cd" + a));
    EXPECT_EQ(L"abab", W(a + a));
    EXPECT_EQ(L"ab!", W(a + L'!'));
    EXPECT_EQ(L"!ab", W(L'!' + a));
    a += L"c";
    a += L'd';
    a += CString(L"e");
    a += "f";
    EXPECT_EQ(L"abcdef", W(a));
    a += a;
    EXPECT_EQ(L"abcdefabcdef", W(a));
    a = a.GetString() + 6;  // assignment from the string's own text
    EXPECT_EQ(L"abcdef", W(a));
}

TEST(CString, Buffer)
{
    CString s;
    LPWSTR p = s.GetBuffer(10);
    wcscpy(p, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(5, s.GetLength());
    EXPECT_EQ(L"hello", W(s));
    p = s.GetBuffer(2);  // never shrinks the buffer below the text
    EXPECT_EQ(L'h', p[0]);
    s.ReleaseBuffer(2);
    EXPECT_EQ(L"he", W(s));
    p = s.GetBufferSetLength(3);
    p[2] = L'y';
    s.ReleaseBuffer(3);
    EXPECT_EQ(L"hey", W(s));
    EXPECT_EQ(0, wcscmp(L"hey", (LPCWSTR)s));
    BSTR b = s.AllocSysString();
    EXPECT_EQ(3u, SysStringLen(b));
    SysFreeString(b);
}

TEST(CString, LoadStringOfMissingIdIsEmpty)
{
    CString s(L"old");
    EXPECT_FALSE(s.LoadString(0xFEDC));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(NULL, AfxFindStringResourceHandle(0xFEDC));
    wchar_t buf[8] = L"zz";
    EXPECT_EQ(0, AfxLoadString(0xFEDC, buf, 8));
    EXPECT_STREQ(L"", buf);
}

}  // namespace
