#include "GuiTest.h"

#include "widgets/About.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace slumra {
namespace {

using test::Pump;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

void Click(HWND wnd, int x, int y) {
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Release(HWND wnd, WORD vk) {
    PostMessageW(wnd, WM_KEYUP, vk, 0xC0000001);
    Pump();
}

void HoldCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

bool OnScreen(TAboutBox* box) {
    return box->Visible() && IsWindowVisible(box->Handle()) != FALSE;
}

// A fresh about box for every test, with artwork of our own (red left, blue right) and a
// web-page opener that only writes down where it was sent.
class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreeAboutBox();
        SetAboutWebPageOpener([this](const std::string& address) {
            opened.push_back(address);
            return true;
        });
        SetAboutArtLoader([this](const std::string& name, HWND, tk::TBitmap& target) {
            asked.push_back(name);
            target = test::MakeBitmap(325, 325, [](int x, int) { return x < 160 ? kRed : kBlue; });
            return true;
        });
    }
    void TearDown() override {
        FreeAboutBox();
        SetAboutWebPageOpener({});
        SetAboutArtLoader({});
        tk::TScreen::Pretend(0, 0, 0);
    }
    // A click area minimizes the program; bring the application window back to how it was.
    static void RestoreApplication() {
        ShowWindow(tk::Application().Handle(), SW_RESTORE);
        ShowWindow(tk::Application().Handle(), SW_HIDE);
    }
    std::vector<std::string> opened;
    std::vector<std::string> asked;
};

TEST_F(AboutBoxTest, OpeningAgainReusesTheOneWindowAndItsArtwork) {
    ShowAboutBox();
    Pump();
    TAboutBox* box = AboutBox();
    ASSERT_NE(box, nullptr);
    const HWND wnd = box->Handle();
    EXPECT_TRUE(OnScreen(box));
    EXPECT_EQ(GetActiveWindow(), wnd);

    ShowAboutBox();  // while it shows: to the front, no second window
    EXPECT_EQ(AboutBox(), box);
    box->Close();
    EXPECT_FALSE(OnScreen(box));
    EXPECT_TRUE(AboutBoxExists());
    ShowAboutBox();
    Pump();
    EXPECT_EQ(AboutBox(), box);
    EXPECT_EQ(box->Handle(), wnd);
    EXPECT_TRUE(OnScreen(box));
    EXPECT_EQ(GetActiveWindow(), wnd);

    EXPECT_EQ(asked.size(), 1u);  // the artwork is loaded once, with the window

    FreeAboutBox();
    EXPECT_FALSE(AboutBoxExists());
    EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(AboutBoxTest, ClosesOnReleasedEnterOrEscapeWithoutModifiersOnly) {
    ShowAboutBox();
    Pump();
    TAboutBox* box = AboutBox();
    const HWND wnd = box->Handle();

    PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 1);  // pressed, not yet released
    Pump();
    EXPECT_TRUE(OnScreen(box));
    Release(wnd, 'A');
    EXPECT_TRUE(OnScreen(box));
    HoldCtrl(true);
    Release(wnd, VK_RETURN);
    HoldCtrl(false);
    EXPECT_TRUE(OnScreen(box));

    for (WORD vk : {WORD{VK_RETURN}, WORD{VK_ESCAPE}}) {
        ShowAboutBox();
        box->QuitBtn->Show();
        Pump();
        Release(wnd, vk);
        EXPECT_FALSE(OnScreen(box)) << vk;
        EXPECT_FALSE(box->QuitBtn->Visible()) << vk;
    }
}

TEST_F(AboutBoxTest, ClosesWhenAnotherWindowIsActivated) {
    tk::TForm other;
    other.SetBounds(0, 0, 120, 80);
    other.Show();
    ShowAboutBox();
    Pump();
    TAboutBox* box = AboutBox();
    box->QuitBtn->Show();
    ASSERT_TRUE(OnScreen(box));

    SetActiveWindow(other.Handle());
    Pump();
    EXPECT_FALSE(OnScreen(box));
    EXPECT_FALSE(box->QuitBtn->Visible());

    other.Hide();
}

TEST_F(AboutBoxTest, QuitButtonShowsOnlyWhenTheCallerAsksAndClosesTheBox) {
    ShowAboutBox();
    Pump();
    TAboutBox* box = AboutBox();
    const HWND panel = box->BkPanel->Handle();
    // The farewell picture has no "X", and its place takes no click.
    EXPECT_FALSE(box->QuitBtn->Visible());
    const test::Pixels farewell = test::Render(*box->BkPanel);
    Click(panel, 320, 12);
    EXPECT_TRUE(OnScreen(box));

    box->QuitBtn->Show();  // as the main window's "i" button does
    const test::Pixels info = test::Render(*box->BkPanel);
    int changed = 0;
    for (int y = 3; y < 21; ++y)
        for (int x = 311; x < 329; ++x) changed += info.At(x, y) != farewell.At(x, y) ? 1 : 0;
    EXPECT_GT(changed, 10);  // the "X" is drawn over the artwork
    EXPECT_EQ(info.At(100, 100), farewell.At(100, 100));

    Click(panel, 320, 12);
    EXPECT_FALSE(OnScreen(box));
    ShowAboutBox();
    EXPECT_FALSE(box->QuitBtn->Visible());
}

TEST_F(AboutBoxTest, ArtworkFollowsTheDisplayDepthFillsTheImageAndMayBeMissing) {
    const std::vector<std::pair<int, std::string>> cases = {
        {8, "About256"}, {4, "About"}, {16, "About"}, {32, "About"}};
    for (const auto& [bits, name] : cases) {
        tk::TScreen::Pretend(0, 0, bits);
        asked.clear();
        ShowAboutBox();
        EXPECT_EQ(asked, std::vector<std::string>{name}) << bits;
        FreeAboutBox();
    }
    tk::TScreen::Pretend(0, 0, 0);

    ShowAboutBox();
    const test::Pixels p = test::Render(*AboutBox()->BkPanel);
    EXPECT_EQ(p.At(0, 0), kBlack);  // the panel's black frame
    EXPECT_EQ(p.At(2, 2), kRed);    // the picture fills the image exactly
    EXPECT_EQ(p.At(2 + 159, 164), kRed);
    EXPECT_EQ(p.At(2 + 160, 164), kBlue);
    EXPECT_EQ(p.At(2 + 324, 2 + 324), kBlue);
    EXPECT_EQ(p.At(328, 328), kBlack);
    FreeAboutBox();

    // Without its picture the box still opens: black inside the image's white outline.
    SetAboutArtLoader([](const std::string&, HWND, tk::TBitmap&) { return false; });
    ShowAboutBox();
    ASSERT_TRUE(AboutBoxExists());
    EXPECT_TRUE(AboutBox()->AboutBoxImage->Image.Empty());
    const test::Pixels empty = test::Render(*AboutBox()->BkPanel);
    EXPECT_EQ(empty.At(2, 2), kWhite);
    EXPECT_EQ(empty.At(164, 164), kBlack);
}

TEST_F(AboutBoxTest, ClickAreasOpenTheirPagesThenCloseAndStepAside) {
    ShowAboutBox();
    Pump();
    TAboutBox* box = AboutBox();
    const HWND panel = box->BkPanel->Handle();

    Click(panel, 100, 100);  // the artwork outside the two areas leads nowhere
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(OnScreen(box));

    Click(panel, 211 + 39, 207 + 47);
    EXPECT_EQ(opened, std::vector<std::string>{kPublisherPage});
    EXPECT_FALSE(OnScreen(box));
    EXPECT_TRUE(IsIconic(tk::Application().Handle()));
    RestoreApplication();

    ShowAboutBox();
    Pump();
    Click(panel, 40 + 65, 267 + 20);
    EXPECT_EQ(opened, (std::vector<std::string>{kPublisherPage, kMakerPage}));
    EXPECT_FALSE(OnScreen(box));
    EXPECT_TRUE(IsIconic(tk::Application().Handle()));
    RestoreApplication();
}

}  // namespace
}  // namespace slumra
