// The drawer object: its defaults, the entry points on empty text, the tip
// part of prompt strings, the image loaders and the checks on host handles.
#include "toolkit/MarkupDrawer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::string Narrow(const CString& s)
{
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
        out += (char)s.GetAt(i);
    return out;
}

// A 2 x 3 pixel, 24-bit bitmap file.
std::vector<unsigned char> SmallBitmapFile()
{
    const int cx = 2, cy = 3, nStride = 8;
    std::vector<unsigned char> file(14 + 40 + nStride * cy, 0);
    BITMAPFILEHEADER* pFile = (BITMAPFILEHEADER*)file.data();
    pFile->bfType = 0x4D42;
    pFile->bfSize = (DWORD)file.size();
    pFile->bfOffBits = 14 + 40;
    BITMAPINFOHEADER* pInfo = (BITMAPINFOHEADER*)(file.data() + 14);
    pInfo->biSize = 40;
    pInfo->biWidth = cx;
    pInfo->biHeight = cy;
    pInfo->biPlanes = 1;
    pInfo->biBitCount = 24;
    for (size_t i = 54; i < file.size(); ++i)
        file[i] = (unsigned char)(i * 37);
    return file;
}

CString TempPath(const wchar_t* pszName)
{
    wchar_t szDir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szDir);
    return CString(szDir) + pszName;
}
}  // namespace

TEST(MarkupDrawerTest, Defaults)
{
    CMarkupDrawer drawer;
    EXPECT_EQ(1, drawer.m_nMode);
    EXPECT_EQ(32, drawer.m_nTabSize);
    EXPECT_EQ(0, drawer.m_nMaxWidth);
    EXPECT_EQ(MARKUP_NO_HOT_AREA, drawer.m_nHotArea);
    EXPECT_TRUE(drawer.m_bConvertBreaks);
    EXPECT_TRUE(drawer.m_bIsEnabled);
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), drawer.m_crDisabled);
    EXPECT_TRUE(drawer.m_bShadowGradient);
    EXPECT_EQ(CSize(4, 4), drawer.m_szShadowOffset);
    EXPECT_EQ(CSize(7, 7), drawer.m_szShadowBlur);
    EXPECT_EQ(50, drawer.m_nShadowDarkness);
    EXPECT_EQ(RGB(128, 128, 128), drawer.m_crShadow);
    EXPECT_EQ(NULL, drawer.m_hResInstance);
    EXPECT_FALSE(drawer.m_bFreeResInstance);
    EXPECT_EQ(NULL, drawer.m_hImageList);
    EXPECT_EQ(0, drawer.m_nNotifyMsg);
    EXPECT_EQ(0, drawer.m_nLinkMsg);
    EXPECT_EQ(0, drawer.m_tm.tmHeight);
    EXPECT_EQ(0, drawer.m_lf.lfHeight);
    EXPECT_EQ(0, drawer.m_lf.lfFaceName[0]);
    EXPECT_EQ(NULL, drawer.m_hFont);
    EXPECT_TRUE(drawer.m_sText.IsEmpty());
    EXPECT_EQ(16, drawer.m_curStyle.m_nSize);
    EXPECT_EQ(0, drawer.m_curStyle.m_nWidth);
}

TEST(MarkupDrawerTest, EmptyTextMeasuresNothingAndDrawsNothing)
{
    HDC hDC = ::CreateCompatibleDC(NULL);
    CMarkupDrawer drawer;
    EXPECT_EQ(CSize(0, 0), CSize(drawer.MeasureMarkup(hDC, L"")));
    EXPECT_EQ(CSize(0, 0), CSize(drawer.MeasureMarkup(hDC, NULL)));
    EXPECT_EQ(CSize(0, 0), CSize(drawer.MeasureMarkup(hDC, L"\r")));
    EXPECT_TRUE(drawer.m_sText.IsEmpty());
    RECT rc = { 0, 0, 50, 50 };
    drawer.DrawMarkup(&rc, hDC);
    drawer.DrawMarkup(NULL, hDC);
    EXPECT_TRUE(drawer.m_arrAreas.empty());
    ::DeleteDC(hDC);
}

TEST(MarkupDrawerTest, TipPartOfPromptStrings)
{
    struct Case
    {
        const wchar_t* pszPrompt;
        const char* pszTip;
    };
    const Case cases[] = {
        { L"status\ntip\nmore", "tip" }, { L"status\ntip", "tip" },
        { L"status only", "" },          { L"\n\n", "" },
        { L"\ntip\n", "tip" },           { L"", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pszTip, Narrow(CMarkupDrawer::TipPart(c.pszPrompt))) << Narrow(c.pszPrompt);
    CMarkupDrawer drawer;
    EXPECT_TRUE(drawer.LoadResourceString(0).IsEmpty());
    EXPECT_TRUE(drawer.LoadResourceString(0xFFF0).IsEmpty());
    EXPECT_TRUE(drawer.LoadTipString(0xFFF0).IsEmpty());
}

TEST(MarkupDrawerTest, SharedHandCursorOutlivesTheDrawer)
{
    HCURSOR hShared = ::LoadCursorW(NULL, IDC_HAND);
    ASSERT_NE(nullptr, hShared);
    {
        CMarkupDrawer drawer;
        EXPECT_EQ(hShared, drawer.m_hLinkCursor);
        EXPECT_FALSE(drawer.m_bOwnLinkCursor);
        drawer.FreeHandCursor();
        EXPECT_EQ(nullptr, drawer.m_hLinkCursor);
        drawer.LoadHandCursor();
        EXPECT_EQ(hShared, drawer.m_hLinkCursor);
    }
    ICONINFO info;
    ASSERT_TRUE(::GetIconInfo(hShared, &info));
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    EXPECT_EQ(hShared, ::LoadCursorW(NULL, IDC_HAND));
}

TEST(MarkupDrawerTest, LoadersGiveNullForWhatIsMissing)
{
    CMarkupDrawer drawer;
    EXPECT_EQ(nullptr, drawer.LoadIconImage(NULL, 1, 16, 16));  // no resource module
    EXPECT_EQ(nullptr, drawer.LoadIconImage(L"kernel32.dll", 0, 16, 16));
    EXPECT_EQ(nullptr, drawer.LoadIconImage(L"no-such-library.dll", 1, 16, 16));
    EXPECT_EQ(nullptr, drawer.LoadDllBitmap(NULL, 1));
    EXPECT_EQ(nullptr, drawer.LoadDllBitmap(L"no-such-library.dll", 1));
    EXPECT_EQ(nullptr, drawer.LoadDllBitmap(L"kernel32.dll", 0));
    EXPECT_EQ(nullptr, drawer.LoadDllBitmap(L"kernel32.dll", 0xFEDC));
    EXPECT_EQ(nullptr, drawer.LoadResBitmap(0));
    EXPECT_EQ(nullptr, drawer.LoadResBitmap(0xFEDC));
    EXPECT_EQ(nullptr, drawer.LoadFileBitmap(NULL));
    EXPECT_EQ(nullptr, drawer.LoadFileBitmap(L""));
    EXPECT_EQ(nullptr, drawer.LoadFileBitmap(TempPath(L"no-such-picture.bmp")));
    EXPECT_FALSE(drawer.SetResourceModule(L"no-such-library.dll"));
    EXPECT_EQ(nullptr, drawer.m_hResInstance);
    EXPECT_FALSE(drawer.m_bFreeResInstance);
}

TEST(MarkupDrawerTest, FileBitmapLoads)
{
    CString sPath = TempPath(L"corvane-markup-small.bmp");
    std::vector<unsigned char> file = SmallBitmapFile();
    HANDLE hFile = ::CreateFileW(sPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD nWritten = 0;
    ::WriteFile(hFile, file.data(), (DWORD)file.size(), &nWritten, NULL);
    ::CloseHandle(hFile);

    CMarkupDrawer drawer;
    HBITMAP hBitmap = drawer.LoadFileBitmap(sPath);
    ASSERT_NE(nullptr, hBitmap);
    BITMAP bm;
    ASSERT_EQ((int)sizeof(bm), ::GetObjectW(hBitmap, sizeof(bm), &bm));
    EXPECT_EQ(2, bm.bmWidth);
    EXPECT_EQ(3, bm.bmHeight);
    EXPECT_EQ(hBitmap, CMarkupDrawer::BitmapFromHandle((int)(INT_PTR)hBitmap));
    EXPECT_EQ(nullptr, CMarkupDrawer::IconFromHandle((int)(INT_PTR)hBitmap));
    ::DeleteObject(hBitmap);
    ::DeleteFileW(sPath);
}

TEST(MarkupDrawerTest, HandlesAreUsedOnlyWhenTheyAreImages)
{
    HBRUSH hBrush = ::CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(nullptr, CMarkupDrawer::BitmapFromHandle((int)(INT_PTR)hBrush));
    EXPECT_EQ(nullptr, CMarkupDrawer::IconFromHandle((int)(INT_PTR)hBrush));
    ::DeleteObject(hBrush);
    EXPECT_EQ(nullptr, CMarkupDrawer::BitmapFromHandle(0));
    EXPECT_EQ(nullptr, CMarkupDrawer::BitmapFromHandle(12345));
    EXPECT_EQ(nullptr, CMarkupDrawer::IconFromHandle(0));
    EXPECT_EQ(nullptr, CMarkupDrawer::IconFromHandle(12345));

    HICON hIcon = ::LoadIconW(NULL, IDI_APPLICATION);
    ASSERT_NE(nullptr, hIcon);
    EXPECT_EQ(hIcon, CMarkupDrawer::IconFromHandle((int)(INT_PTR)hIcon));
    EXPECT_EQ(nullptr, CMarkupDrawer::BitmapFromHandle((int)(INT_PTR)hIcon));

    // A deleted bitmap is no bitmap any more.
    HBITMAP hGone = ::CreateBitmap(4, 4, 1, 1, NULL);
    int nGone = (int)(INT_PTR)hGone;
    ::DeleteObject(hGone);
    EXPECT_EQ(nullptr, CMarkupDrawer::BitmapFromHandle(nGone));
}

TEST(MarkupDrawerTest, ResourceModuleIsOwned)
{
    CMarkupDrawer drawer;
    ASSERT_TRUE(drawer.SetResourceModule(L"comctl32.dll"));
    EXPECT_NE(nullptr, drawer.m_hResInstance);
    EXPECT_TRUE(drawer.m_bFreeResInstance);
    EXPECT_TRUE(drawer.SetResourceModule(NULL));
    EXPECT_EQ(nullptr, drawer.m_hResInstance);
    EXPECT_FALSE(drawer.m_bFreeResInstance);
}

TEST(MarkupDrawerTest, BackgroundImageTilesAFileBitmap)
{
    CString sPath = TempPath(L"corvane-markup-tile.bmp");
    std::vector<unsigned char> file = SmallBitmapFile();
    HANDLE hFile = ::CreateFileW(sPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD nWritten = 0;
    ::WriteFile(hFile, file.data(), (DWORD)file.size(), &nWritten, NULL);
    ::CloseHandle(hFile);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 8;
    info.bmiHeader.biHeight = -8;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    DWORD* pBits = NULL;
    HBITMAP hTarget = ::CreateDIBSection(NULL, &info, DIB_RGB_COLORS, (void**)&pBits, NULL, 0);
    ASSERT_NE(nullptr, hTarget);
    HDC hDC = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, hTarget);
    for (int i = 0; i < 64; ++i)
        pBits[i] = 0x00ABCDEF;

    CMarkupDrawer drawer;
    RECT rc = { 1, 1, 6, 7 };
    drawer.DrawBackgroundImage(hDC, rc, L"file");  // 5 characters or fewer: nothing
    EXPECT_EQ(0x00ABCDEFu, pBits[8 + 1]);
    drawer.DrawBackgroundImage(hDC, rc, L"file:" + sPath);
    ::GdiFlush();
    EXPECT_NE(0x00ABCDEFu, pBits[8 + 1]);
    EXPECT_EQ(pBits[8 + 1], pBits[8 + 3]);      // the 2-pixel tile repeats
    EXPECT_EQ(pBits[8 + 1], pBits[4 * 8 + 1]);  // and every 3 rows
    EXPECT_EQ(0x00ABCDEFu, pBits[0]);           // nothing outside
    EXPECT_EQ(0x00ABCDEFu, pBits[8 + 6]);
    EXPECT_EQ(0x00ABCDEFu, pBits[7 * 8 + 1]);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::DeleteObject(hTarget);
    ::DeleteFileW(sPath);
}
