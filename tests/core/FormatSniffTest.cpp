#include "imaging/FormatSniff.h"

#include <gtest/gtest.h>

#include <string>

namespace slumra {
namespace {

using namespace std::string_literals;

// A plausible 128-byte PCX header: version 5, run-length coded, 8 bits, 1 plane, 320 x 200.
std::string PcxHeaderBytes() {
    std::string h(128, '\0');
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = 1;
    h[3] = 8;
    h[8] = static_cast<char>(319 & 0xFF);
    h[9] = static_cast<char>(319 >> 8);
    h[10] = static_cast<char>(199);
    h[65] = 1;
    h[66] = static_cast<char>(320 & 0xFF);
    h[67] = static_cast<char>(320 >> 8);
    return h;
}

TEST(FormatSniff, RecognisesEachFormatByItsFirstBytes) {
    EXPECT_EQ(SniffFormat("BM\x36\x00\x0C\x00"s), "BMP");
    EXPECT_EQ(SniffFormat("GIF87a\x10\x00"), "GIF");
    EXPECT_EQ(SniffFormat("GIF89a"), "GIF");
    EXPECT_EQ(SniffFormat("\xFF\xD8\xFF\xE0\x00\x10JFIF"s), "JPEG");
    EXPECT_EQ(SniffFormat("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR"s), "PNG");
    EXPECT_EQ(SniffFormat("II*\0\x08\0\0\0"s), "TIF");
    EXPECT_EQ(SniffFormat("MM\0*\0\0\0\x08"s), "TIF");
    EXPECT_EQ(SniffFormat(PcxHeaderBytes()), "PCX");
    EXPECT_EQ(SniffFormat(PcxHeaderBytes().substr(0, 4)), "PCX");
}

TEST(FormatSniff, NearMissesAndShortInputAreUnknown) {
    for (const std::string& bytes : {""s, "B"s, "GIF8"s, "GIF88a"s, "\xFF\xD8"s, "\x89PNG\r\n\x1A"s, "II*"s,
                                     "MM*\0"s, "II\0*"s, "<html>"s, "\x0A\x05\x01"s}) {
        EXPECT_EQ(SniffFormat(bytes), "") << testing::PrintToString(bytes);
    }
}

TEST(FormatSniff, PcxNeedsAPlausibleHeader) {
    // Text starting with a line feed has the PCX marker byte but nothing else of the header.
    EXPECT_EQ(SniffFormat("\nDromen zijn bedrog\n"), "");
    EXPECT_EQ(SniffFormat("\n\n\n\n"), "");
    const auto changed = [](std::size_t at, int value) {
        std::string h = PcxHeaderBytes();
        h[at] = static_cast<char>(value);
        return SniffFormat(h);
    };
    EXPECT_EQ(changed(1, 1), "") << "version 1 does not exist";
    EXPECT_EQ(changed(1, 3), "PCX");
    EXPECT_EQ(changed(2, 0), "") << "uncoded";
    EXPECT_EQ(changed(3, 3), "") << "3 bits per pixel";
    EXPECT_EQ(changed(65, 0), "") << "no planes";
    EXPECT_EQ(changed(65, 5), "") << "five planes";
    EXPECT_EQ(changed(5, 0x02), "") << "Xmin beyond Xmax";
    EXPECT_EQ(changed(66, 0), "PCX");
    std::string noLineLength = PcxHeaderBytes();
    noLineLength[66] = noLineLength[67] = 0;
    EXPECT_EQ(SniffFormat(noLineLength), "");
}

TEST(FormatSniff, UpperExtensionOfTheLastPathComponent) {
    EXPECT_EQ(UpperExtension("C:\\Plaatjes\\maan.pcx"), ".PCX");
    EXPECT_EQ(UpperExtension("i/dieren/kat.Jpg"), ".JPG");
    EXPECT_EQ(UpperExtension("archief.tar.gz"), ".GZ");
    EXPECT_EQ(UpperExtension("C:\\a.b\\bestand"), "");
    EXPECT_EQ(UpperExtension("map.d/bestand"), "");
    EXPECT_EQ(UpperExtension("naam."), ".");
    EXPECT_EQ(UpperExtension(".bmp"), ".BMP");
    EXPECT_EQ(UpperExtension("C:\\map\\"), "");
    EXPECT_EQ(UpperExtension(""), "");
    // Only ASCII letters change: a Windows-1252 byte stays as it is.
    EXPECT_EQ(UpperExtension("foto.\xE9p"), ".\xE9P");
}

}  // namespace
}  // namespace slumra
