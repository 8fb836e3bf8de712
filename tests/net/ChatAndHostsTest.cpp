// The chat window with its macros and the host list of direct.ini.
#include "DirectPlaySupport.h"

#include "common/Helpers.h"
#include "net/ChatForm.h"
#include "net/ConnectionForm.h"
#include "net/HostListForm.h"
#include "net/NetCommands.h"
#include "platform/Keys.h"
#include "platform/TestDriver.h"
#include "state/TableState.h"
#include "table/TableKeys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using directplay::Peer;
using directplay::PumpUntil;
using testing::ElementsAre;
using testing::IsEmpty;
namespace keys = platform::keys;
namespace driver = platform::testdriver;

namespace {

class ChatTest : public testing::Test {
  protected:
    void SetUp() override {
        dialog_.form.Show();
        dialog_.PlayerName.SetText("Ann");
    }

    directplay::Folder folder_;
    testsupport::MessageRecorder messages_;
    ConnectionForm dialog_;
};

TEST_F(ChatTest, MacrosComeFromTheChatSectionForF1ToF8) {
    const std::string file = folder_.Files().Path() + "\\test.game";
    EXPECT_EQ(ChatMacroText(keys::kF1, file), "Hello");
    EXPECT_EQ(ChatMacroText(keys::kF1 + 2, file), "Good luck");
    EXPECT_EQ(ChatMacroText(keys::kF1 + 3, file), "");
    EXPECT_EQ(ChatMacroText(keys::kF1 + 8, file), "");
    EXPECT_EQ(ChatMacroText(keys::kF1 - 1, file), "");
}

TEST_F(ChatTest, OnlyCtrlAloneWithAnFKeyPutsAMacroIntoTheMessageBox) {
    ChatForm& chat = dialog_.ChatWindow();
    chat.form.Show();
    struct Case {
        int key;
        int shift;
        std::string text;
    };
    const Case cases[] = {
        {keys::kF1 + 2, keys::kCtrl, "Good luck"},
        {keys::kF1 + 8, keys::kCtrl, "typed"},                // Ctrl+F9
        {keys::kF1 + 2, 0, "typed"},                          // F3 alone
        {keys::kF1 + 2, keys::kCtrl | keys::kShift, "typed"}, // Ctrl+Shift+F3
        {keys::kF1 + 3, keys::kCtrl, "typed"},                // no message4
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + "/" + std::to_string(c.shift));
        chat.MsgText.SetText("typed");
        driver::KeyDown(chat.form, c.key, c.shift);
        EXPECT_EQ(chat.MsgText.Text(), c.text);
    }
}

TEST_F(ChatTest, AReceivedLineOpensTheWindowCutAtTheSeparator) {
    GameMode = kModeDirect;
    ASSERT_FALSE(dialog_.Chat && dialog_.Chat->form.Visible());
    DispatchNetCommand(ParseNetMessage("CHAT\xA7hello"));
    ASSERT_TRUE(dialog_.Chat);
    EXPECT_TRUE(dialog_.Chat->form.Visible());
    EXPECT_EQ(dialog_.Chat->MessageLog.Text(), "\r\n*** > hello");
    EXPECT_EQ(dialog_.Chat->MessageLog.SelText(), "hello");

    DispatchNetCommand(ParseNetMessage("CHAT\xA7one\xA7two"));
    EXPECT_EQ(dialog_.Chat->MessageLog.Text(), "\r\n*** > hello\r\n*** > one");
    EXPECT_EQ(dialog_.Chat->MessageLog.SelText(), "one");
}

TEST_F(ChatTest, ALongLineIsShownCutAndTheConversationKeepsItsNewestLines) {
    GameMode = kModeDirect;
    // The longest line a message may carry: shown cut, with what was left out counted.
    const std::string longest(kMaxNetMessage - 5, 'w');
    DispatchNetCommand(NetCommand{"CHAT", {longest}});
    ChatForm& chat = *dialog_.Chat;
    const std::string shown = std::string(ChatForm::kShownChatLine, 'w') + " [" +
                              std::to_string(longest.size() - ChatForm::kShownChatLine) + " more characters]";
    EXPECT_EQ(chat.MessageLog.Text(), "\r\n*** > " + shown);
    EXPECT_EQ(chat.MessageLog.SelText(), shown);

    // Many lines later the oldest are gone and the newest stay, the last one selected.
    for (int n = 1; n <= 700; ++n)
        DispatchNetCommand(NetCommand{"CHAT", {"line " + std::to_string(n)}});
    const std::string log = chat.MessageLog.Text();
    EXPECT_EQ(log.find('w'), std::string::npos);
    EXPECT_EQ(log.find("*** > line 1\r\n"), std::string::npos);
    EXPECT_NE(log.find("*** > line 700"), std::string::npos);
    int lines = 0;
    for (std::size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2))
        ++lines;
    EXPECT_GE(lines, static_cast<int>(ChatForm::kChatLines));
    EXPECT_LE(lines, static_cast<int>(ChatForm::kChatLines + ChatForm::kChatLines / 5));
    EXPECT_EQ(chat.MessageLog.SelText(), "line 700");

    // A line too long for a message is not sent (nor is a longer one typed).
    chat.MsgText.SetText(longest + "x");
    EXPECT_EQ(chat.MsgText.Text(), longest);
    SendChat(longest + "x");
    EXPECT_THAT(messages_.Messages(), ElementsAre("The line cannot be sent: it is longer than " +
                                                  std::to_string(longest.size()) + " characters"));
}

TEST_F(ChatTest, EscapeClosesTheWindowOnlyFromTheMessageBox) {
    ChatForm& chat = dialog_.ChatWindow();
    chat.form.Show();
    chat.Command1.SetFocus();
    driver::PressKey(chat.form, keys::kEscape);
    EXPECT_TRUE(chat.form.Visible());
    chat.MsgText.SetFocus();
    driver::PressKey(chat.form, keys::kEscape);
    EXPECT_FALSE(chat.form.Visible());
}

TEST_F(ChatTest, ALineSentWithoutAConnectionIsShownAndReported) {
    GameMode = kModeDirect;
    ChatForm& chat = dialog_.ChatWindow();
    // Nothing listens at the address: the connection is only being made when the line goes.
    dialog_.IPtxt.SetText("127.0.0.1");
    NetPort = directplay::FreePort();
    chat.MsgText.SetText("hi");
    chat.Send();
    EXPECT_EQ(chat.MessageLog.Text(), "\r\nYou > hi");
    EXPECT_EQ(chat.MsgText.Text(), "hi");
    EXPECT_THAT(messages_.Messages(),
                testing::Contains(testing::MatchesRegex("Unable to send data:  \\(state: [0-9]+\\)")));
}

TEST_F(ChatTest, LinesTravelOverTheConnectionAndTheTerminatorIsRefused) {
    GameMode = kModeDirect;
    Peer peer;
    peer.Listen();
    dialog_.IPtxt.SetText("127.0.0.1");
    dialog_.Command2_Click();
    ChatForm& chat = *dialog_.Chat;
    EXPECT_TRUE(chat.form.Visible());
    ASSERT_TRUE(PumpUntil([] { return NetSocketState() == platform::Socket::kConnected; }));
    for (const std::string line : {"good game", "cut\xA7here"}) {
        chat.MsgText.SetText(line);
        chat.Send();
        const std::optional<std::string> raw = peer.NextRaw();
        ASSERT_TRUE(raw);
        EXPECT_EQ(*raw, "CHAT\xA7" + line);
    }
    chat.MsgText.SetText("x@#EnD!CFLIP\xA7"
                         "1");
    chat.Send();
    EXPECT_THAT(messages_.Messages(), ElementsAre("The line cannot be sent: it holds @#EnD!"));
    peer.Send("CHAT", {"thanks"});
    ASSERT_TRUE(PumpUntil([&] { return chat.MessageLog.SelText() == "thanks"; }));
}

TEST(HostEntries, NameAndAddressAreCutAtTheFirstParenthesis) {
    struct Case {
        std::string entry;
        std::string name;
        std::string address;
    };
    const Case cases[] = {
        {"Office (192.168.0.7)", "Office", "192.168.0.7"},
        {"Office(10.0.0.1)", "Offic", "10.0.0.1"},
        {"Home (a (b))", "Home", "a (b)"},
        {"no parenthesis", "no parenthesis", ""},
        {"(10.0.0.2)", "", "10.0.0.2"},
        {"Open (", "Open", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(HostEntryName(c.entry), c.name);
        EXPECT_EQ(HostEntryAddress(c.entry), c.address);
    }
}

class HostListTest : public testing::Test {
  protected:
    std::string Ini() const { return folder_.Files().Path() + "\\direct.ini"; }
    HostListForm& Open() {
        dialog_.form.Show();
        dialog_.Command3_Click();
        return *dialog_.Hosts;
    }

    directplay::Folder folder_;
    testsupport::MessageRecorder messages_;
    ConnectionForm dialog_;
};

TEST_F(HostListTest, SelectWritesTheListInOrderAndFillsTheAddress) {
    folder_.Files().Write("direct.ini",
                          "[HOSTS]\ncount=2\nname1=Office (192.168.0.7)\nname2=Club (10.0.0.9)\n"
                          "name3=Old (1.1.1.1)\nname4=Older (2.2.2.2)\n");
    HostListForm& hosts = Open();
    ASSERT_EQ(hosts.HostList.ListCount(), 2);
    hosts.H_Name.SetText("Home");
    hosts.H_IP.SetText("127.0.0.1");
    hosts.Command1.OnClick();
    hosts.HostList.SetListIndex(1);
    hosts.HostList.OnClick();
    EXPECT_EQ(hosts.H_Name.Text(), "Club");
    EXPECT_EQ(hosts.H_IP.Text(), "10.0.0.9");
    hosts.Command4.OnClick();
    EXPECT_EQ(dialog_.IPtxt.Text(), "10.0.0.9");
    EXPECT_FALSE(hosts.form.Visible());
    EXPECT_EQ(GetIni("HOSTS", "count", Ini()), "3");
    EXPECT_EQ(GetIni("HOSTS", "name1", Ini()), "Office (192.168.0.7)");
    EXPECT_EQ(GetIni("HOSTS", "name2", Ini()), "Club (10.0.0.9)");
    EXPECT_EQ(GetIni("HOSTS", "name3", Ini()), "Home (127.0.0.1)");
    // Beyond the count: left in the file, never read again.
    EXPECT_EQ(GetIni("HOSTS", "name4", Ini()), "Older (2.2.2.2)");
    EXPECT_THAT(ReadHostList(), testing::SizeIs(3));
}

TEST_F(HostListTest, UpdateDeleteAndSelectNeedAnEntry) {
    folder_.Files().Write("direct.ini", "[HOSTS]\ncount=x\n");
    HostListForm& hosts = Open();
    EXPECT_EQ(hosts.HostList.ListCount(), 0);
    hosts.H_Name.SetText("A");
    hosts.H_IP.SetText("1.2.3.4");
    hosts.Command1.OnClick();
    for (platform::CommandButton* button : {&hosts.Command2, &hosts.Command3, &hosts.Command4}) {
        messages_.Clear();
        hosts.HostList.SetListIndex(-1);
        button->OnClick();
        EXPECT_THAT(messages_.Messages(), ElementsAre("Please select one host from the list"));
        EXPECT_EQ(hosts.HostList.ListCount(), 1);
    }
    EXPECT_TRUE(hosts.form.Visible());
    EXPECT_EQ(GetIni("HOSTS", "count", Ini()), "x");

    hosts.HostList.SetListIndex(0);
    hosts.H_Name.SetText("B");
    hosts.Command2.OnClick();
    EXPECT_EQ(hosts.HostList.List(0), "B (1.2.3.4)");
    hosts.Command3.OnClick();
    EXPECT_EQ(hosts.HostList.ListCount(), 0);
}

TEST_F(HostListTest, ADoubleClickFillsTheAddressWithoutSaving) {
    folder_.Files().Write("direct.ini", "[HOSTS]\ncount=1\nname1=Office (192.168.0.7)\n");
    HostListForm& hosts = Open();
    hosts.H_Name.SetText("New");
    hosts.Command1.OnClick();
    hosts.HostList.SetListIndex(0);
    hosts.HostList.OnDblClick();
    EXPECT_EQ(dialog_.IPtxt.Text(), "192.168.0.7");
    EXPECT_FALSE(hosts.form.Visible());
    EXPECT_EQ(GetIni("HOSTS", "count", Ini()), "1");
}

} // namespace
