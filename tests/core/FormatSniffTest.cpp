#include "imaging/FormatSniff.h"

#include <gtest/gtest.h>

#include <string>

namespace slumra {
namespace {

using namespace std::string_literals;

// The first bytes of a PCX file, 320 x 200 at 8 bits, with one header byte changed.
std::string PcxHeaderBytes(std::size_t at = 0, int value = 0x0A) {
    std::string h = "\x0A\x05\x01\x08"s + std::string(124, '\0');
    h[8] = 0x3F, h[9] = 0x01, h[10] = static_cast<char>(199), h[65] = 1, h[66] = 0x40, h[67] = 0x01;
    h[at] = static_cast<char>(value);
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
    for (const std::string& bytes :
         {""s, "B"s, "GIF88a"s, "\xFF\xD8"s, "\x89PNG\r\n\x1A"s, "MM*\0"s, "II\0*"s, "\x0A\x05\x01"s}) {
        EXPECT_EQ(SniffFormat(bytes), "") << testing::PrintToString(bytes);
    }
}

TEST(FormatSniff, PcxNeedsAPlausibleHeader) {
    // Text starting with a line feed has the PCX marker byte but nothing else of the header.
    EXPECT_EQ(SniffFormat("\nDromen zijn bedrog\n"), "");
    EXPECT_EQ(SniffFormat(PcxHeaderBytes(1, 1)), "") << "version 1 does not exist";
    EXPECT_EQ(SniffFormat(PcxHeaderBytes(2, 0)), "") << "uncoded";
    EXPECT_EQ(SniffFormat(PcxHeaderBytes(3, 3)), "") << "3 bits per pixel";
    EXPECT_EQ(SniffFormat(PcxHeaderBytes(65, 5)), "") << "five planes";
    EXPECT_EQ(SniffFormat(PcxHeaderBytes(5, 2)), "") << "Xmin beyond Xmax";
    EXPECT_EQ(SniffFormat(PcxHeaderBytes(67, 0).replace(66, 1, 1, '\0')), "") << "no line length";
}

TEST(FormatSniff, UpperExtensionOfTheLastPathComponent) {
    EXPECT_EQ(UpperExtension("C:\\Plaatjes\\maan.pcx"), ".PCX");
    EXPECT_EQ(UpperExtension("i/dieren/kat.Jpg"), ".JPG");
    EXPECT_EQ(UpperExtension("archief.tar.gz"), ".GZ");
    EXPECT_EQ(UpperExtension("C:\\a.b\\bestand"), "");
    EXPECT_EQ(UpperExtension("map.d/bestand"), "");
    EXPECT_EQ(UpperExtension("naam."), ".");
    EXPECT_EQ(UpperExtension(""), "");
    EXPECT_EQ(UpperExtension("foto.\xE9p"), ".\xE9P") << "only ASCII letters change";
}

}  // namespace
}  // namespace slumra
