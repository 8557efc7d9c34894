// What the user sees of the maker's server's replies: the message boxes of
// the check-in and the retrieval, the server message shown before the
// check-in values are stored, and the version the requests carry.
#include "net/PasswordRenewal.h"
#include "app/CheckInReply.h"
#include "net/CheckIn.h"
#include "net/FileVersionInfo.h"
#include "net/ProxyDownload.h"
#include "net/ServerRequest.h"
#include "res/dialogs_server.h"
#include "tests/TestFiles.h"
#include "tests/win/ModalScript.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

// Runs show() and answers the one message box it opens; its text, or "(none)".
std::wstring AnswerMessageBox(const std::function<void()>& show)
{
    std::wstring text = L"(none)";
    EXPECT_TRUE(CModalScript::Run(
        show,
        [&]() -> bool {
            std::vector<HWND> boxes = CModalScript::ThreadDialogs();
            if (boxes.empty())
                return false;
            text = CModalScript::MessageText(boxes[0]);
            SendMessageW(boxes[0], WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return true;
        },
        10000));
    return text;
}

const std::wstring kNoServer = L"Could not access server,please try again later.";

TEST(CheckInMessagesTest, EmptyReplyTellsTheServerCannotBeReached)
{
    bool bGoOn = true;
    EXPECT_EQ(kNoServer, AnswerMessageBox([&] { bGoOn = HandleStartReply(CStringA(), NULL); }));
    EXPECT_FALSE(bGoOn);
}

TEST(CheckInMessagesTest, ServerMessageComesBeforeTheValuesAreStored)
{
    strcpy(g_szProxyPassword, "old-pass");
    g_szRealIP[0] = '\0';
    bool bGoOn = false;
    bool bSeen = false;
    EXPECT_TRUE(CModalScript::Run(
        [&] {
            bGoOn = HandleStartReply(
                "MsgStartPlease update soonMsgEndMsgType:2PWStartnew-passPWEnd"
                "IPAddress:198.51.100.4\r\n",
                NULL);
        },
        [&]() -> bool {
            HWND h = CModalScript::FindDialog(L"Message");
            if (h == NULL)
                return false;
            bSeen = true;
            EXPECT_STREQ("old-pass", g_szProxyPassword);
            EXPECT_STREQ("", g_szRealIP);
            // Type 2 without caption markers: the web-site button with an empty caption.
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(h, IDC_PUSH_WEBSITE)));
            EXPECT_EQ(L"", CModalScript::Text(GetDlgItem(h, IDC_PUSH_WEBSITE)));
            EXPECT_EQ(L"OK", CModalScript::Text(GetDlgItem(h, IDC_PUSH_EXIT)));
            SendMessageW(GetDlgItem(h, IDC_PUSH_EXIT), BM_CLICK, 0, 0);
            return true;
        }));
    EXPECT_TRUE(bSeen);
    EXPECT_TRUE(bGoOn);
    EXPECT_STREQ("new-pass", g_szProxyPassword);
    EXPECT_STREQ("198.51.100.4", g_szRealIP);
    g_szProxyPassword[0] = '\0';
    g_szRealIP[0] = '\0';
}

TEST(RetrievalMessagesTest, EachReplyKindTellsItsOwnMessage)
{
    CTempDir dir;
    const std::wstring path = dir.File(L"proxy.tmp");
    struct Case
    {
        const char* name;
        std::string reply;
        std::wstring message;
    } cases[] = {
        { "Empty", "Empty", L"Sorry, there is no proxy found for these countries." },
        { "exactly seven digits and dots", "1.2.3.4", kNoServer },
        { "empty reply", "", kNoServer },
        { "long reply containing Empty", "Empty: no proxy here", kNoServer },
        { "error page", "<html>502 Bad Gateway</html>", kNoServer },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool bWritten = true;
        EXPECT_EQ(c.message, AnswerMessageBox([&] {
                      bWritten = StoreProxyListReply(CStringA(c.reply.data(), (int)c.reply.size()), path.c_str(), NULL);
                  }));
        EXPECT_FALSE(bWritten);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
    }
}

TEST(RetrievalMessagesTest, ListThatCannotBeWrittenTellsWhy)
{
    CTempDir dir;
    const std::wstring path = dir.File(L"proxy.tmp");
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), NULL));
    bool bWritten = true;
    std::wstring text = AnswerMessageBox(
        [&] { bWritten = StoreProxyListReply("127.0.0.1\t18201\t234\t1\t0\t3600000\r\n", path.c_str(), NULL); });
    EXPECT_FALSE(bWritten);
    const std::wstring start =
        L"Could not write local file.Please run software as Windows Administrator. "
        L"Another choice is NOT to install software to C:\\Program Files\\ folder.";
    EXPECT_EQ(start, text.substr(0, start.size()));
    EXPECT_GT(text.size(), start.size() + 10);
}

TEST(OwnVersionTest, RequestsCarryTheProgramsProductVersion)
{
    CFileVersionInfo info;
    ASSERT_TRUE(info.Open());
    EXPECT_EQ(CString(L"1.2.8.0"), info.GetProductVersion());
    EXPECT_EQ("1.2.8.0", std::string(GetProgramVersion().GetString()));
}

}  // namespace
