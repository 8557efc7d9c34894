// The faces of the toggling buttons on real buttons: caption, icon pixels
// and the tip text the tooltip window holds for the button.
#include "app/HideButtonFace.h"
#include "resource.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The 32x32 colour pixels of an icon, for comparing two icons.
std::vector<DWORD> IconPixels(HICON hIcon)
{
    std::vector<DWORD> pixels;
    ICONINFO info = {};
    if (!hIcon || !GetIconInfo(hIcon, &info))
        return pixels;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = 32;
    bmi.bmiHeader.biHeight = 32;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    pixels.resize(32 * 32);
    HDC hdc = GetDC(NULL);
    GetDIBits(hdc, info.hbmColor ? info.hbmColor : info.hbmMask, 0, 32, pixels.data(), &bmi, DIB_RGB_COLORS);
    ReleaseDC(NULL, hdc);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return pixels;
}

std::vector<DWORD> ResourceIconPixels(UINT nId)
{
    HICON hIcon = static_cast<HICON>(
        LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nId), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    std::vector<DWORD> pixels = IconPixels(hIcon);
    if (hIcon)
        DestroyIcon(hIcon);
    return pixels;
}

// The tip text registered for the control, empty when it has none.
std::wstring TipText(const CMarkupTip& tip, HWND hControl)
{
    CString text;
    if (!tip.GetToolText(hControl, text))
        return std::wstring();
    return text.GetString();
}

class HideButtonFaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitTestControls();
        CTestDialogTemplate tmpl(WS_POPUP | WS_CAPTION | WS_VISIBLE, 300, 120);
        tmpl.Add(IDC_HIDE_IP, 0x80, L"Hide IP", BS_PUSHBUTTON, 5, 5, 80, 40)
            .Add(IDC_AUTO_HIDE_IP, 0x80, L"Auto Hide IP", BS_PUSHBUTTON, 90, 5, 80, 40)
            .Add(IDC_GET_PROXY, 0x80, L"Get Proxy", BS_PUSHBUTTON, 175, 5, 80, 40)
            .Add(IDC_TEST_SPEED, 0x80, L"Test Speed", BS_PUSHBUTTON, 5, 60, 80, 40)
            .Add(IDC_SETTING, 0x80, L"Setting", BS_PUSHBUTTON, 90, 60, 80, 40);
        ASSERT_TRUE(m_dialog.CreateIndirect(tmpl.Get()));
        ASSERT_TRUE(m_hide.SubclassDlgItem(IDC_HIDE_IP, &m_dialog));
        ASSERT_TRUE(m_auto.SubclassDlgItem(IDC_AUTO_HIDE_IP, &m_dialog));
        ASSERT_TRUE(m_get.SubclassDlgItem(IDC_GET_PROXY, &m_dialog));
        ASSERT_TRUE(m_tip.Create(&m_dialog));
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    void ExpectFace(CIconButton& button, HideButtonFace face, const wchar_t* caption, UINT icon, const wchar_t* tip)
    {
        EXPECT_EQ(std::wstring(caption), std::wstring(static_cast<LPCWSTR>(button.GetWindowText()))) << face;
        EXPECT_EQ(icon, GetButtonFace(face).m_nIcon);
        std::vector<DWORD> expected = ResourceIconPixels(icon);
        ASSERT_FALSE(expected.empty()) << "icon " << icon;
        EXPECT_TRUE(IconPixels(button.GetIcon()) == expected) << "icon of face " << face;
        EXPECT_EQ(std::wstring(tip), TipText(m_tip, button.GetSafeHwnd())) << face;
        EXPECT_TRUE(ButtonShowsFace(button, face));
    }

    CDialog m_dialog;
    CIconButton m_hide, m_auto, m_get;
    CMarkupTip m_tip;
};

}  // namespace

TEST_F(HideButtonFaceTest, EachStateShowsItsCaptionIconAndTip)
{
    struct Step
    {
        int button;  // 0 Hide IP, 1 Auto Hide IP, 2 Get Proxy
        HideButtonFace face;
        const wchar_t* caption;
        UINT icon;
        const wchar_t* tip;
    };
    // Hide IP, Restore IP, Auto Hide IP, Stop Auto (with Remove Cur), back.
    const Step steps[] = {
        { 0, FACE_HIDE_IP, L"Hide IP", 186, L"Hide your real IP" },
        { 0, FACE_RESTORE_IP, L"Restore IP", 185, L"Restore your real IP" },
        { 0, FACE_HIDE_IP, L"Hide IP", 186, L"Hide your real IP" },
        { 1, FACE_AUTO_HIDE_IP, L"Auto Hide IP", 184, L"Switch your IP every X minutes" },
        { 1, FACE_STOP_AUTO, L"Stop Auto", 183, L"Stop switching your IP automatically" },
        { 2, FACE_REMOVE_CUR, L"Remove Cur", 174, L"Remove current proxy and switch to next one" },
        { 1, FACE_AUTO_HIDE_IP, L"Auto Hide IP", 184, L"Switch your IP every X minutes" },
        { 2, FACE_GET_PROXY, L"Get Proxy", 160, L"Get proxy list" },
    };
    CIconButton* buttons[] = { &m_hide, &m_auto, &m_get };
    for (const Step& step : steps) {
        CIconButton& button = *buttons[step.button];
        SetButtonFace(button, m_tip, step.face);
        ExpectFace(button, step.face, step.caption, step.icon, step.tip);
    }
    // A new tip replaces the old one: one tool per button.
    EXPECT_EQ(3, m_tip.GetToolCount());
}

TEST_F(HideButtonFaceTest, CaptionsAreComparedExactly)
{
    m_hide.SetWindowText(L"hide ip");
    EXPECT_FALSE(ButtonShowsFace(m_hide, FACE_HIDE_IP));
    m_hide.SetWindowText(L"Hide IP ");
    EXPECT_FALSE(ButtonShowsFace(m_hide, FACE_HIDE_IP));
    m_hide.SetWindowText(std::wstring(300, L'H').c_str());
    EXPECT_FALSE(ButtonShowsFace(m_hide, FACE_HIDE_IP));
    m_hide.SetWindowText(L"Hide IP");
    EXPECT_TRUE(ButtonShowsFace(m_hide, FACE_HIDE_IP));
    EXPECT_FALSE(ButtonShowsFace(m_hide, FACE_RESTORE_IP));
}

TEST_F(HideButtonFaceTest, ControlsAreEnabledAndDisabledByTheirIds)
{
    const int ids[] = { IDC_AUTO_HIDE_IP, IDC_GET_PROXY, IDC_TEST_SPEED, IDC_SETTING, 4242 };
    EnableControls(m_dialog, ids, 5, FALSE);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(m_dialog.GetSafeHwnd(), ids[i]))) << ids[i];
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_dialog.GetSafeHwnd(), IDC_HIDE_IP)));
    EnableControls(m_dialog, ids, 5, TRUE);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(m_dialog.GetSafeHwnd(), ids[i]))) << ids[i];
}
