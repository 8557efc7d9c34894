// The hidden Worker and Upload commands of the real program, reached through
// their ids: a harvest from a local page file, then the statistics.
#include "tests/e2e/CommandsFixture.h"
#include "tests/support/E2eControlIds.h"

#include "tests/TestFiles.h"

using namespace commands;

namespace {

class HarvestCommandsTest : public CommandsTest
{
protected:
    bool WritesSettings() const override { return true; }
    // Runs before the program starts: the sources and the address ranges.
    void TuneSettings(CSettings&) override
    {
        CreateDirectoryW((workDir + L"\\AdminFile").c_str(), nullptr);
        WriteFileBytes(workDir + L"\\countryranges.crv", "127.0.0.0\t127.0.0.255\tUS\r\n");
        WriteFileBytes(workDir + L"\\AdminFile\\page.txt",
                       "<tr><td>127.0.0.1</td><td>18201</td></tr>\n"
                       "<tr><td>127.0.0.1</td><td>18202</td></tr>\n"
                       "127.0.0.1:18203 127.0.0.1:18204 127.0.0.1:8888 127.0.0.1:18299\n");
        WriteFileBytes(workDir + L"\\AdminFile\\proxywebsiteToText.txt", "FileName:\r\nAdminFile\\page.txt\r\n");
    }

    std::string Admin(const wchar_t* name) const { return ReadFileBytes(workDir + L"\\AdminFile\\" + name); }

    static int Lines(const std::string& text) { return (int)std::count(text.begin(), text.end(), '\n'); }

    // The line of country index i.
    static std::string Line(const std::string& text, int i)
    {
        size_t start = 0;
        for (int n = 0; n < i && start != std::string::npos; ++n) {
            start = text.find('\n', start);
            if (start != std::string::npos)
                ++start;
        }
        if (start == std::string::npos)
            return std::string();
        return text.substr(start, text.find('\n', start) - start);
    }

    int UsIndex() const
    {
        std::string table = ReadFileBytes(workDir + L"\\countries.crv");
        for (int i = 0;; ++i) {
            std::string line = Line(table, i);
            if (line.empty())
                return -1;
            if (line.compare(0, 3, "US\t") == 0)
                return i;
        }
    }
};

}  // namespace

TEST_F(HarvestCommandsTest, HarvestThenUpload)
{
    Click(kUploadId);
    EXPECT_EQ(L"No proxy to upload!", AnswerMessageBox());
    EXPECT_EQ("", Admin(L"verifiedProxy.txt"));

    PostMessageW(main, WM_HARVEST_RESTART, 0, 0);
    ASSERT_TRUE(WaitRows(4, 120000));
    // The status static is hidden, but it holds the harvest's texts.
    EXPECT_EQ(L"Test Speed: 0 / 5", DialogItemText(main, kStatusId));
    EXPECT_EQ(4, Lines(Admin(L"availProxyList.txt")));

    // Another harvest by the Worker command: the page gave proxies before,
    // so the same four come back and the file is written again.
    DeleteFileW((workDir + L"\\AdminFile\\availProxyList.txt").c_str());
    Click(kWorkerId);
    ASSERT_TRUE(WaitUntil([&] { return Lines(Admin(L"availProxyList.txt")) == 4; }, 120000));
    EXPECT_TRUE(WaitRows(4));

    // Upload does nothing until the harvest thread has let go of the list.
    bool uploaded = false;
    for (int attempt = 0; attempt < 20 && !uploaded; ++attempt) {
        Click(kUploadId);
        uploaded = WaitUntil([&] { return Lines(Admin(L"countryAnonymousRatio.txt")) == CountryCount(); }, 1000);
    }
    ASSERT_TRUE(uploaded);
    EXPECT_EQ(4, Lines(Admin(L"verifiedProxy.txt")));
    const std::string all = Admin(L"countryRatio.txt");
    const std::string elite = Admin(L"countryEliteRatio.txt");
    const std::string anonymous = Admin(L"countryAnonymousRatio.txt");
    const int us = UsIndex();
    ASSERT_GE(us, 0);
    for (int i = 0; i < CountryCount(); ++i) {
        EXPECT_EQ(i == us ? "10000\r" : "0\r", Line(all, i)) << i;
        // Harvested proxies have type 0: neither file has a total.
        EXPECT_EQ("0\r", Line(elite, i)) << i;
        EXPECT_EQ("0\r", Line(anonymous, i)) << i;
    }
}

TEST_F(HarvestCommandsTest, ProgressMessagesCountIntoTheStatusText)
{
    const UINT kProgressStart = WM_USER + 151, kProgressStep = WM_USER + 152;
    SendToMain(kProgressStart, 0, 7);
    EXPECT_EQ(L"Check Anonymous: 0 / 7", DialogItemText(main, kStatusId));
    SendToMain(kProgressStep, 0, 3);
    SendToMain(kProgressStep, 0, 2);
    EXPECT_EQ(L"Check Anonymous: 5 / 7", DialogItemText(main, kStatusId));
    SendToMain(kProgressStart, 1, 4);
    SendToMain(kProgressStep, 1, 1);
    EXPECT_EQ(L"Test Speed: 1 / 4", DialogItemText(main, kStatusId));
}
