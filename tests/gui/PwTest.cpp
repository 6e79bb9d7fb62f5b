#include "GuiTest.h"

#include "widgets/Pw.h"

#include <gtest/gtest.h>

#include <string>

namespace slumra {
namespace {

// The dialog is modal: what the user does is queued first and handled by its own loop.
void Type(HWND wnd, const std::wstring& text) {
    for (wchar_t c : text) PostMessageW(wnd, WM_CHAR, c, 1);
}

void Press(HWND wnd, WORD vk) {
    PostMessageW(wnd, WM_KEYDOWN, vk, 1);
}

TEST(PasswordDlg, OkAnswersWhatWasTypedThisTimeInTheCodePage) {
    TPasswordDlg dlg;
    dlg.Handle();
    const HWND edit = dlg.Password->Handle();
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), L'*');
    RECT client;
    GetClientRect(dlg.Handle(), &client);
    EXPECT_EQ(client.right, 236);
    EXPECT_EQ(client.bottom, 93);
    // The main window stays on top; the dialog must not open behind it.
    EXPECT_NE(GetWindowLongW(dlg.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    dlg.Password->SetText("vorige keer");
    Type(edit, L"Geh\u00e9im\u4e2d\u20ac");  // the Chinese character has no place in the code page
    Press(edit, VK_RETURN);
    std::optional<std::string> answer = dlg.Execute();
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, "Geh\xE9im\x80");
    EXPECT_EQ(dlg.Password->RefusedCount(), 1);
    EXPECT_FALSE(IsWindowVisible(dlg.Handle()));

    // Asked again: the last answer is gone before the user types; the OK button confirms.
    Type(edit, L"x");
    PostMessageW(dlg.OKBtn->Handle(), BM_CLICK, 0, 0);
    answer = dlg.Execute();
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, "x");
}

TEST(PasswordDlg, EveryWayOutButOkAnswersNothingAndLeavesTheFieldEmpty) {
    TPasswordDlg dlg;
    dlg.Handle();
    const HWND edit = dlg.Password->Handle();

    Type(edit, L"geheim");
    Press(edit, VK_ESCAPE);
    EXPECT_FALSE(dlg.Execute().has_value());
    EXPECT_EQ(dlg.Password->Text(), "");

    Type(edit, L"geheim");
    PostMessageW(dlg.CancelBtn->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(dlg.Execute().has_value());
    EXPECT_EQ(dlg.Password->Text(), "");

    Type(edit, L"geheim");
    PostMessageW(dlg.Handle(), WM_CLOSE, 0, 0);  // the frame's close box
    EXPECT_FALSE(dlg.Execute().has_value());
    EXPECT_EQ(dlg.Password->Text(), "");

    // Enter presses the button that has the focus: tabbed to Cancel, it cancels.
    Type(edit, L"geheim");
    Press(edit, VK_TAB);
    Press(edit, VK_TAB);
    Press(edit, VK_RETURN);
    EXPECT_FALSE(dlg.Execute().has_value());
    EXPECT_EQ(dlg.Password->Text(), "");
}

}  // namespace
}  // namespace slumra
