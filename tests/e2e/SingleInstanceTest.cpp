// A second copy of the program tells the user and ends; the first runs on.
#include "tests/e2e/ProgramUnderTest.h"

#include <gtest/gtest.h>

TEST(SingleInstanceTest, SecondCopyShowsTheMessageAndEnds)
{
    ProgramUnderTest first;
    ASSERT_TRUE(first.Start());
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        main = first.MainWindow();
        return main && IsWindowVisible(main);
    }));

    ProgramUnderTest second;
    ASSERT_TRUE(second.Start(first.WorkDir()));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = second.MessageBoxWindow()) != nullptr; }))
        << "the second copy showed no message";
    EXPECT_EQ(L"Another \"Corvane Tessaly\" is running!", DialogItemText(box, 0xFFFF));
    EXPECT_EQ(nullptr, second.MainWindow());
    EXPECT_EQ(nullptr, second.SplashWindow());

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(second.WaitForExit(30000));
    EXPECT_EQ(nullptr, second.MainWindow());

    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(main, first.MainWindow());
}
