// The proxy list view hosted in a dialog of its own, driven by messages and
// read back with LVM_* and screen pixels: row texts and flags, the speed
// bars, column sort, context menu, fixed columns, Ctrl+A and scrolling.
#include "app/CorvaneDlg.h"
#include "app/CorvaneDlgList.h"
#include "app/CorvaneMessages.h"
#include "proxy/CountryTable.h"
#include "proxy/ProxySort.h"
#include "tests/TestFiles.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const int kTimeoutMs = 10000;
const WORD kPlainListId = 1010;
const COLORREF kFlagColors[] = { RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255) };

// Stands in for the main window: it receives the context-menu request and
// sorts on a column click the way the main window does.
class CListHostDlg : public CDialog
{
public:
    CProListCtrl m_list;
    CProxyList m_proxies;
    const CCountryTable* m_pCountries = nullptr;
    int m_nSortKey = PROXY_SORT_SPEED;
    bool m_bSortAscending = true;
    std::vector<std::pair<WPARAM, LPARAM>> m_menus;
    int m_nDeleteItemNotes = 0;

    void Refresh() { FillProxyRows(m_list, m_proxies, *m_pCountries, kTimeoutMs); }

protected:
    afx_msg LRESULT OnListContextMenu(WPARAM wParam, LPARAM lParam)
    {
        m_menus.push_back({ wParam, lParam });
        return 0;
    }
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
    {
        *pResult = 0;
        if (!ChooseSortKey(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem, m_nSortKey, m_bSortAscending))
            return;
        SortProxyList(m_proxies, m_nSortKey, m_bSortAscending, m_pCountries->GetCount());
        Refresh();
    }
    afx_msg void OnDeleteItem(NMHDR*, LRESULT* pResult)
    {
        ++m_nDeleteItemNotes;
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListHostDlg, CDialog)
ON_MESSAGE(WM_LIST_CONTEXT_MENU, &CListHostDlg::OnListContextMenu)
ON_NOTIFY(LVN_COLUMNCLICK, IDC_PROXY_LIST, &CListHostDlg::OnColumnClick)
ON_NOTIFY(LVN_DELETEITEM, IDC_PROXY_LIST, &CListHostDlg::OnDeleteItem)
END_MESSAGE_MAP()

// Reaches the main window's own column-click handler without its window.
class CColumnClickProbe : public CCorvaneDlg
{
public:
    void Click(int nColumn)
    {
        NMLISTVIEW nm = {};
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.hdr.idFrom = IDC_PROXY_LIST;
        nm.iSubItem = nColumn;
        LRESULT lResult = -1;
        OnColumnClick(&nm.hdr, &lResult);
        EXPECT_EQ(0, lResult);
    }
};

void SetUpColumns(CListCtrl& list)
{
    const struct
    {
        const wchar_t* title;
        int width;
    } columns[] = {
        { L"Country", 140 }, { L"IP", 112 }, { L"Port", 0 }, { L"Type", 95 }, { L"Uptime", 51 }, { L"Speed", 100 },
    };
    for (int i = 0; i < 6; ++i)
        list.InsertColumn(i, columns[i].title, LVCFMT_LEFT, columns[i].width);
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
}

void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

int ProgressBarCount(HWND hParent)
{
    int n = 0;
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        ::GetClassNameW(h, cls, 64);
        n += lstrcmpiW(cls, PROGRESS_CLASSW) == 0;
    }
    return n;
}

std::vector<std::string> Addresses(const CProxyList& list)
{
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        out.push_back(list.GetNext(pos).m_szIP);
    return out;
}

class ProListCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitTestControls();
        m_oldMainWnd = g_hMainWnd;

        std::wstring path = m_dir.File(L"countries.crv");
        WriteFileBytes(path, "DE\tGermany\r\nFR\tFrance\r\nJP\tJapan\r\n");
        m_countries.Load(path.c_str());
        ASSERT_EQ(3, m_countries.GetCount());

        CTestDialogTemplate tmpl(WS_POPUP | WS_CAPTION | WS_VISIBLE, 353, 380, L"List");
        tmpl.Add(IDC_PROXY_LIST, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER, 7, 43, 339, 233)
            .Add(kPlainListId, WC_LISTVIEWW, L"", LVS_REPORT | WS_BORDER, 7, 285, 339, 80);
        ASSERT_TRUE(m_host.CreateIndirect(tmpl.Get()));
        ASSERT_TRUE(m_host.m_list.SubclassDlgItem(IDC_PROXY_LIST, &m_host));
        m_host.m_pCountries = &m_countries;
        g_hMainWnd = m_host.m_hWnd;
        SetUpColumns(m_host.m_list);

        // Flags as the main window makes them: every index exists, each
        // image put in place without a mask.
        ASSERT_TRUE(m_flags.Create(25, 15, ILC_COLOR24 | ILC_MASK, 8, 1));
        m_flags.SetImageCount(3);
        HDC hScreen = GetDC(NULL);
        for (int i = 0; i < 3; ++i) {
            HDC hMem = CreateCompatibleDC(hScreen);
            HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 25, 15);
            HGDIOBJ hOld = SelectObject(hMem, hBitmap);
            RECT rc = { 0, 0, 25, 15 };
            HBRUSH hBrush = CreateSolidBrush(kFlagColors[i]);
            FillRect(hMem, &rc, hBrush);
            DeleteObject(hBrush);
            SelectObject(hMem, hOld);
            DeleteDC(hMem);
            m_flags.Replace(i, hBitmap, NULL);
            DeleteObject(hBitmap);
        }
        ReleaseDC(NULL, hScreen);
        m_host.m_list.SetImageList(&m_flags, LVSIL_SMALL);
    }

    void TearDown() override
    {
        m_host.DestroyWindow();
        g_hMainWnd = m_oldMainWnd;
    }

    CProListCtrl& List() { return m_host.m_list; }
    HWND Bar(int row) { return ::GetDlgItem(List().m_hWnd, PROGRESS_BAR_ID_BASE + row); }
    bool BarShown(int row)
    {
        HWND h = Bar(row);
        return h != NULL && ::IsWindowVisible(h);
    }

    void Show(const std::vector<CProxy>& proxies)
    {
        m_host.m_proxies.RemoveAll();
        for (CProxy proxy : proxies)
            m_host.m_proxies.AddTail(proxy);
        m_host.Refresh();
    }

    // n rows with distinct addresses; speeds walk through the time-out.
    void ShowMany(int n)
    {
        std::vector<CProxy> proxies;
        for (int i = 0; i < n; ++i) {
            char ip[16];
            sprintf(ip, "10.0.%d.%d", i / 250, i % 250 + 1);
            proxies.push_back(CProxy(ip, 1000 + i, i % 3, 1, 5, (i * 397) % kTimeoutMs));
        }
        Show(proxies);
    }

    // Paints and waits until every row of the visible page has its bar shown.
    bool WaitForPage()
    {
        List().UpdateWindow();
        return PumpUntil(
            [&] {
                const int top = List().GetTopIndex();
                const int last = std::min(top + List().GetCountPerPage(), List().GetItemCount());
                for (int i = top; i < last; ++i)
                    if (!BarShown(i))
                        return false;
                return true;
            },
            5000);
    }

    // Each bar is shown exactly for the rows in view, over its Speed cell.
    void ExpectBarsFollowTheView(const char* what)
    {
        SCOPED_TRACE(what);
        ASSERT_TRUE(WaitForPage());
        PumpFor(100);
        const int top = List().GetTopIndex();
        const int page = List().GetCountPerPage();
        const int count = List().GetItemCount();
        for (int i = 0; i < count; ++i) {
            if (i >= top && i < top + page) {
                ASSERT_TRUE(BarShown(i)) << "row " << i << " top " << top;
                CRect cell;
                ASSERT_TRUE(List().GetSubItemRect(i, PROXY_COLUMN_SPEED, LVIR_BOUNDS, cell));
                RECT bar;
                ::GetWindowRect(Bar(i), &bar);
                ::MapWindowPoints(NULL, List().m_hWnd, reinterpret_cast<POINT*>(&bar), 2);
                EXPECT_EQ(cell.left, bar.left) << "row " << i;
                EXPECT_EQ(cell.top, bar.top) << "row " << i;
                EXPECT_EQ(std::min(cell.Width(), PROGRESS_BAR_MAX_WIDTH), bar.right - bar.left) << "row " << i;
            } else if (i < top || i > top + page) {
                EXPECT_FALSE(BarShown(i)) << "row " << i << " top " << top << " page " << page;
            }
        }
    }

    // How far the bar is filled, 0..1, read from the screen along its middle.
    double BarFill(int row, COLORREF fill)
    {
        RECT rc;
        ::GetClientRect(Bar(row), &rc);
        ScreenShot shot = CaptureClient(Bar(row), rc);
        int filled = 0;
        for (int x = 0; x < shot.width; ++x)
            if (shot.At(x, shot.height / 2) == fill)
                filled = x + 1;
        return shot.width ? static_cast<double>(filled) / shot.width : 0;
    }

    int CountColour(const ScreenShot& shot, COLORREF colour)
    {
        int n = 0;
        for (COLORREF c : shot.pixels)
            n += c == colour;
        return n;
    }

    POINT CellCentreOnScreen(int row, int subItem)
    {
        CRect cell;
        List().GetSubItemRect(row, subItem, LVIR_BOUNDS, cell);
        POINT pt = { cell.left + std::min(cell.Width(), 100) / 2, (cell.top + cell.bottom) / 2 };
        ::ClientToScreen(List().m_hWnd, &pt);
        return pt;
    }

    bool ContextMenuAt(POINT screen)
    {
        m_host.m_menus.clear();
        List().SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List().m_hWnd), MAKELPARAM(screen.x, screen.y));
        PumpFor(100);
        if (m_host.m_menus.empty())
            return false;
        EXPECT_EQ(1u, m_host.m_menus.size());
        EXPECT_EQ(MAKELPARAM(screen.x, screen.y), m_host.m_menus[0].second);
        EXPECT_EQ(reinterpret_cast<WPARAM>(List().m_hWnd), m_host.m_menus[0].first);
        return true;
    }

    bool RightClick(POINT screen)
    {
        m_host.m_menus.clear();
        ::SetForegroundWindow(m_host.m_hWnd);
        ::SetCursorPos(screen.x, screen.y);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        ::SendInput(2, input, sizeof(INPUT));
        PumpUntil([&] { return !m_host.m_menus.empty(); }, 1000);
        PumpFor(100);
        return m_host.m_menus.size() == 1;
    }

    HWND m_oldMainWnd = NULL;
    CTempDir m_dir;
    CCountryTable m_countries;
    CImageList m_flags;
    CListHostDlg m_host;
};

}  // namespace

TEST_F(ProListCtrlTest, RowsShowTextsFlagsAndBars)
{
    Show({ CProxy("1.2.3.4", 8080, 1, 2, 3, 0), CProxy("5.6.7.8", 3128, -1, 0, 0, kTimeoutMs),
           CProxy("9.9.9.9", 80, 7, 1, 5, PROXY_SPEED_UNMEASURED), CProxy("10.0.0.1", 81, 2, 1, 5, 2500) });
    ASSERT_EQ(4, List().GetItemCount());

    // Before the first paint the Speed cells hold the percentage.
    const wchar_t* percent[] = { L"100", L"0", L"0", L"75" };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::wstring(percent[i]), List().GetItemText(i, PROXY_COLUMN_SPEED).GetString()) << i;

    const wchar_t* texts[4][5] = {
        { L"France", L"1.2.3.4", L"8080", L"High Anon", L"3/5" },
        { L"", L"5.6.7.8", L"3128", L"High Anon", L"0/5" },
        { L"", L"9.9.9.9", L"80", L"High Anon", L"5/5" },
        { L"Japan", L"10.0.0.1", L"81", L"High Anon", L"5/5" },
    };
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 5; ++col)
            EXPECT_EQ(std::wstring(texts[row][col]), List().GetItemText(row, col).GetString()) << row << "," << col;

    const int images[] = { 1, I_IMAGENONE, I_IMAGENONE, 2 };
    for (int row = 0; row < 4; ++row) {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ASSERT_TRUE(List().GetItem(&item));
        EXPECT_EQ(images[row], item.iImage) << row;
    }

    ASSERT_TRUE(WaitForPage());
    PumpFor(200);
    const int positions[] = { 100, 0, 0, 75 };
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(positions[row], (int)::SendMessageW(Bar(row), PBM_GETPOS, 0, 0)) << row;
        EXPECT_EQ(std::wstring(), List().GetItemText(row, PROXY_COLUMN_SPEED).GetString()) << row;
    }

    // The full bar's middle is the fill colour from edge to edge; an empty
    // bar has none of it; the 75 % bar stops three quarters along.
    RECT rc;
    ::GetClientRect(Bar(0), &rc);
    ScreenShot full = CaptureClient(Bar(0), rc);
    const COLORREF fill = full.At(full.width / 2, full.height / 2);
    ScreenShot empty = CaptureClient(Bar(1), rc);
    ASSERT_NE(fill, empty.At(empty.width / 2, empty.height / 2));
    EXPECT_GT(BarFill(0, fill), 0.9);
    EXPECT_EQ(0.0, BarFill(1, fill));
    EXPECT_EQ(0.0, BarFill(2, fill));
    EXPECT_NEAR(0.75, BarFill(3, fill), 0.1);

    // Flags: country 1 green, country 2 blue; no country shows no flag,
    // in particular not the first one's.
    auto iconShot = [&](int row) {
        CRect icon;
        List().GetSubItemRect(row, 0, LVIR_ICON, icon);
        return CaptureClient(List().m_hWnd, icon);
    };
    EXPECT_GT(CountColour(iconShot(0), kFlagColors[1]), 200);
    EXPECT_GT(CountColour(iconShot(3), kFlagColors[2]), 200);
    for (int row : { 1, 2 })
        for (COLORREF colour : kFlagColors)
            EXPECT_EQ(0, CountColour(iconShot(row), colour)) << row;
}

TEST_F(ProListCtrlTest, RefreshReplacesRowsAndTheirBars)
{
    ShowMany(5);
    ASSERT_TRUE(WaitForPage());
    ASSERT_NE((HWND)NULL, Bar(4));
    EXPECT_EQ(5, ProgressBarCount(List().m_hWnd));
    Show({ CProxy("7.7.7.7", 1, 0, 1, 1, 0) });
    EXPECT_EQ(1, List().GetItemCount());
    EXPECT_EQ(0, ProgressBarCount(List().m_hWnd));
    for (int row = 1; row < 5; ++row)
        EXPECT_EQ((HWND)NULL, Bar(row)) << row;
    ASSERT_TRUE(WaitForPage());
    EXPECT_EQ(100, (int)::SendMessageW(Bar(0), PBM_GETPOS, 0, 0));
    List().RemoveAllItems();
    EXPECT_EQ(0, List().GetItemCount());
    EXPECT_EQ(0, ProgressBarCount(List().m_hWnd));
}

TEST_F(ProListCtrlTest, RemovingAllRowsFreesEveryBarWithoutANotePerRow)
{
    ShowMany(80);
    ASSERT_TRUE(WaitForPage());
    std::vector<HWND> bars;
    for (int row = 0; row < 80; ++row)
        if (Bar(row) != NULL)
            bars.push_back(Bar(row));
    ASSERT_GT(bars.size(), 3u);
    // Scrolled-out bars are hidden, not freed: they go with the rows too.
    List().SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_TRUE(WaitForPage());
    for (int row = 0; row < 80; ++row)
        if (Bar(row) != NULL && std::find(bars.begin(), bars.end(), Bar(row)) == bars.end())
            bars.push_back(Bar(row));

    List().RemoveAllItems();
    EXPECT_EQ(0, List().GetItemCount());
    EXPECT_EQ(0, ProgressBarCount(List().m_hWnd));
    for (HWND bar : bars)
        EXPECT_FALSE(::IsWindow(bar));
    // One LVN_DELETEALLITEMS answered TRUE stands for the per-row notes.
    EXPECT_EQ(0, m_host.m_nDeleteItemNotes);

    // A refresh over a full list frees the old bars the same way, and the
    // window's end frees those of the rows it still holds.
    ShowMany(80);
    ASSERT_TRUE(WaitForPage());
    bars.clear();
    for (int row = 0; row < 80; ++row)
        if (Bar(row) != NULL)
            bars.push_back(Bar(row));
    ShowMany(80);
    for (HWND bar : bars)
        EXPECT_FALSE(::IsWindow(bar));
    ASSERT_TRUE(WaitForPage());
    bars.clear();
    for (int row = 0; row < 80; ++row)
        if (Bar(row) != NULL)
            bars.push_back(Bar(row));
    ASSERT_FALSE(bars.empty());
    m_host.DestroyWindow();
    for (HWND bar : bars)
        EXPECT_FALSE(::IsWindow(bar));
    EXPECT_EQ(0, m_host.m_nDeleteItemNotes);
}

TEST_F(ProListCtrlTest, HeaderClicksSortByColumn)
{
    Show({ CProxy("1.0.0.1", 1, 2, 1, 5, 100), CProxy("1.0.0.2", 2, 0, 2, 3, 4000),
           CProxy("1.0.0.3", 3, -1, 0, 0, PROXY_SPEED_UNMEASURED), CProxy("1.0.0.4", 4, 1, 1, 4, 50) });
    HWND hHeader = List().GetHeaderCtrl()->m_hWnd;
    auto click = [&](int column) {
        RECT rc;
        Header_GetItemRect(hHeader, column, &rc);
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::PostMessageW(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(hHeader, WM_LBUTTONUP, 0, at);
        PumpFor(150);
    };
    auto shown = [&] {
        std::vector<std::wstring> rows;
        for (int i = 0; i < List().GetItemCount(); ++i)
            rows.push_back(List().GetItemText(i, 1).GetString());
        return rows;
    };

    // A fresh window sorts by speed ascending, so the first click on Speed
    // gives the slowest first.
    click(PROXY_COLUMN_SPEED);
    EXPECT_EQ((std::vector<std::wstring>{ L"1.0.0.3", L"1.0.0.2", L"1.0.0.1", L"1.0.0.4" }), shown());
    EXPECT_EQ((std::vector<std::string>{ "1.0.0.3", "1.0.0.2", "1.0.0.1", "1.0.0.4" }), Addresses(m_host.m_proxies));
    click(0);
    EXPECT_EQ((std::vector<std::wstring>{ L"1.0.0.2", L"1.0.0.4", L"1.0.0.1", L"1.0.0.3" }), shown());
    click(4);
    EXPECT_EQ((std::vector<std::wstring>{ L"1.0.0.1", L"1.0.0.4", L"1.0.0.2", L"1.0.0.3" }), shown());
    click(1);  // IP does not sort
    EXPECT_EQ((std::vector<std::wstring>{ L"1.0.0.1", L"1.0.0.4", L"1.0.0.2", L"1.0.0.3" }), shown());
    // The rebuilt rows get their bars again.
    EXPECT_TRUE(WaitForPage());
}

TEST_F(ProListCtrlTest, ContextMenuOnlyLeftOfSpeedAndBelowTheHeader)
{
    // An empty list asks for no menu.
    EXPECT_FALSE(ContextMenuAt(POINT{ 100, 100 }));

    ShowMany(3);
    ASSERT_TRUE(WaitForPage());
    EXPECT_TRUE(ContextMenuAt(CellCentreOnScreen(0, 0)));
    EXPECT_TRUE(ContextMenuAt(CellCentreOnScreen(2, 4)));
    EXPECT_FALSE(ContextMenuAt(CellCentreOnScreen(0, PROXY_COLUMN_SPEED)));
    RECT header;
    ::GetWindowRect(List().GetHeaderCtrl()->m_hWnd, &header);
    EXPECT_FALSE(ContextMenuAt(POINT{ header.left + 20, (header.top + header.bottom) / 2 }));

    // Real right clicks: on the Country cell a menu, on a bar none.
    EXPECT_TRUE(RightClick(CellCentreOnScreen(1, 0)));
    EXPECT_FALSE(RightClick(CellCentreOnScreen(1, PROXY_COLUMN_SPEED)));
}

TEST_F(ProListCtrlTest, DividerDragAndDoubleClickLeaveWidthsAlone)
{
    ShowMany(3);
    CListCtrl plain;
    ASSERT_TRUE(plain.SubclassDlgItem(kPlainListId, &m_host));
    SetUpColumns(plain);
    for (int i = 0; i < 3; ++i)
        plain.InsertItem(i, L"Germany");

    auto drag = [](HWND hHeader) {
        RECT rc;
        Header_GetItemRect(hHeader, 0, &rc);
        const int y = (rc.top + rc.bottom) / 2;
        ::PostMessageW(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right - 1, y));
        ::PostMessageW(hHeader, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rc.right + 20, y));
        ::PostMessageW(hHeader, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rc.right + 50, y));
        ::PostMessageW(hHeader, WM_LBUTTONUP, 0, MAKELPARAM(rc.right + 50, y));
        PumpFor(200);
    };
    auto doubleClick = [](HWND hHeader) {
        RECT rc;
        Header_GetItemRect(hHeader, 0, &rc);
        LPARAM at = MAKELPARAM(rc.right - 1, (rc.top + rc.bottom) / 2);
        ::PostMessageW(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(hHeader, WM_LBUTTONUP, 0, at);
        ::PostMessageW(hHeader, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::PostMessageW(hHeader, WM_LBUTTONUP, 0, at);
        PumpFor(200);
    };

    // The same gestures do resize a plain list view's column.
    drag(plain.GetHeaderCtrl()->m_hWnd);
    EXPECT_NE(140, plain.GetColumnWidth(0));
    plain.SetColumnWidth(0, 140);
    doubleClick(plain.GetHeaderCtrl()->m_hWnd);
    EXPECT_NE(140, plain.GetColumnWidth(0));
    plain.UnsubclassWindow();

    drag(List().GetHeaderCtrl()->m_hWnd);
    doubleClick(List().GetHeaderCtrl()->m_hWnd);
    const int widths[] = { 140, 112, 0, 95, 51, 100 };
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(widths[col], List().GetColumnWidth(col)) << col;
}

TEST_F(ProListCtrlTest, CtrlASelectsEveryRow)
{
    ShowMany(40);
    List().SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(1u, List().GetSelectedCount());
    List().SetFocus();
    ::PostMessageW(List().m_hWnd, WM_CHAR, 1, 0x1E0001);
    PumpFor(150);
    EXPECT_EQ(40u, List().GetSelectedCount());
}

TEST_F(ProListCtrlTest, BarsFollowTheRowsInView)
{
    ShowMany(80);
    ExpectBarsFollowTheView("first page");
    ASSERT_GT(List().GetCountPerPage(), 3);
    ASSERT_LT(List().GetCountPerPage(), 80);

    List().SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_GT(List().GetTopIndex(), 0);
    ExpectBarsFollowTheView("scroll bar page down");

    List().SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    ExpectBarsFollowTheView("scroll bar line down");

    POINT centre = CellCentreOnScreen(List().GetTopIndex(), 0);
    List().SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
    ExpectBarsFollowTheView("mouse wheel");

    List().SetFocus();
    List().SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    List().SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    ExpectBarsFollowTheView("page down key");

    // Scrolls that no scroll handler sees: the bars follow all the same.
    List().SendMessage(WM_KEYDOWN, VK_HOME, 0);
    ASSERT_EQ(0, List().GetTopIndex());
    ExpectBarsFollowTheView("home key");
    List().EnsureVisible(79, FALSE);
    ExpectBarsFollowTheView("row made visible");
}

TEST_F(ProListCtrlTest, RowInUseIsSelectedAndInView)
{
    ShowMany(80);
    List().SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    SelectProxyRow(List(), 60);
    EXPECT_EQ(1u, List().GetSelectedCount());
    EXPECT_EQ(LVIS_SELECTED | LVIS_FOCUSED, List().GetItemState(60, LVIS_SELECTED | LVIS_FOCUSED));
    const int top = List().GetTopIndex();
    EXPECT_LE(top, 60);
    EXPECT_LT(60, top + List().GetCountPerPage());
    EXPECT_EQ(List().m_hWnd, ::GetFocus());
    ExpectBarsFollowTheView("row in use");
}

TEST(ProListCtrlMainWindowTest, FirstSpeedClickSortsSlowestFirst)
{
    CProxyList& global = GetProxyList();
    global.RemoveAll();
    const CProxy proxies[] = {
        CProxy("2.0.0.1", 1, -1, 1, 2, 100),
        CProxy("2.0.0.2", 2, -1, 2, 5, 900),
        CProxy("2.0.0.3", 3, -1, 1, 0, PROXY_SPEED_UNMEASURED),
        CProxy("2.0.0.4", 4, -1, 2, 5, 20),
    };
    for (CProxy proxy : proxies)
        global.AddTail(proxy);

    CColumnClickProbe dialog;
    dialog.Click(PROXY_COLUMN_SPEED);
    EXPECT_EQ((std::vector<std::string>{ "2.0.0.3", "2.0.0.2", "2.0.0.1", "2.0.0.4" }), Addresses(global));
    dialog.Click(PROXY_COLUMN_SPEED);
    EXPECT_EQ((std::vector<std::string>{ "2.0.0.4", "2.0.0.1", "2.0.0.2", "2.0.0.3" }), Addresses(global));
    // Uptime: 5/5 first, each group fastest first, the untested last.
    dialog.Click(4);
    EXPECT_EQ((std::vector<std::string>{ "2.0.0.4", "2.0.0.2", "2.0.0.1", "2.0.0.3" }), Addresses(global));
    dialog.Click(2);  // Port does not sort
    EXPECT_EQ((std::vector<std::string>{ "2.0.0.4", "2.0.0.2", "2.0.0.1", "2.0.0.3" }), Addresses(global));
    global.RemoveAll();
}
