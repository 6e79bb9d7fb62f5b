#include "app/CommandString.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

const std::string kAddress = "http://www.slumra.nl/index.dll?a=1";

TEST(BrowserCall, QuotedProgramAndPlaceholderLeaveTheAddressAlone) {
    EXPECT_EQ(BrowserCall("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" \"%1\"", kAddress),
              (ProgramCall{"C:\\Program Files\\Internet Explorer\\iexplore.exe", kAddress, ""}));
}

TEST(BrowserCall, SwitchesBeforeThePlaceholderComeBeforeTheAddress) {
    EXPECT_EQ(BrowserCall("C:\\Browser\\browse.EXE -nohome %1", kAddress),
              (ProgramCall{"C:\\Browser\\browse.EXE", "-nohome  " + kAddress, ""}));
}

TEST(BrowserCall, WithoutAKnownExtensionTheWholeStringIsTheProgram) {
    EXPECT_EQ(BrowserCall("\"/usr/bin/winebrowser\" \"%1\"", kAddress),
              (ProgramCall{"/usr/bin/winebrowser ", kAddress, ""}));
    EXPECT_EQ(BrowserCall("", kAddress), (ProgramCall{"", kAddress, ""}));
}

TEST(BrowserCall, BatchFilesArePreferredAndCaseDoesNotMatter) {
    EXPECT_EQ(BrowserCall("c:\\x\\start.bat c:\\y\\b.exe %1", kAddress),
              (ProgramCall{"c:\\x\\start.bat", "c:\\y\\b.exe  " + kAddress, ""}));
}

TEST(UninstallCall, QuotedProgramWithASwitch) {
    EXPECT_EQ(UninstallCall("\"C:\\X\\un.exe\" /remove"),
              (ProgramCall{"C:\\X\\un.exe", "/remove", "C:\\X\\"}));
    EXPECT_EQ(UninstallCall("\"C:\\Program Files\\Slumra\\uninstall.exe\""),
              (ProgramCall{"C:\\Program Files\\Slumra\\uninstall.exe", "", "C:\\Program Files\\Slumra\\"}));
}

TEST(UninstallCall, UnquotedProgramWithAQuotedFile) {
    EXPECT_EQ(UninstallCall("C:\\X\\un.exe \"C:\\X\\install.log\""),
              (ProgramCall{"C:\\X\\un.exe", "\"C:\\X\\install.log\"", "C:\\X\\"}));
}

TEST(UninstallCall, PlainPathStillStartsAndNothingGivesNothing) {
    EXPECT_EQ(UninstallCall("C:\\un.exe"), (ProgramCall{"C:\\un.exe", "", "C:\\"}));
    EXPECT_EQ(UninstallCall(""), ProgramCall{});
    EXPECT_EQ(UninstallCall("\"unclosed"), (ProgramCall{"unclosed", "", ""}));
}

}  // namespace
}  // namespace slumra
