// TPMultiImage: the program's one loader of picture and skin files (JPEG, PNG, GIF, BMP, TIFF
// through WIC, PCX by our own decoder), decoding to the depth of the display with the
// default decoder palette; and LoadResourceBitmap for the bitmaps built into the program.
#pragma once

#include "toolkit/Graphics.h"

#include <functional>
#include <string>

namespace slumra {

enum class TLoadResolution { lColorVga, lMonoChrome, lColor16, lColor256, lColorTrue, lAutoMatic };

// Bits per pixel the decoders are asked for: 0, 1, 4, 8, 24, or by the display for lAutoMatic
// (4 up to 4 bits, 8 below 16 bits, else 24).
int ResolutionBits(TLoadResolution res, int displayBits);

// The palette every decode reduces to at 8 bits or fewer (the screen palette on palette
// displays); none means each picture gets its own best palette. Not owned.
void SetDefaultDecoderPalette(HPALETTE pal);
HPALETTE DefaultDecoderPalette();

enum class MessageKind { Error, Information };
// Where the loader's messages go; by default into message boxes. Tests catch them here.
using ImageMessageSink = std::function<void(MessageKind kind, const std::string& text)>;
void SetImageMessageSink(ImageMessageSink sink);

// The loader's own texts for its error codes (0 and below).
std::string ImageErrorText(int code);

class TPMultiImage {
public:
    TPMultiImage();

    TLoadResolution ImageReadRes = TLoadResolution::lAutoMatic;
    bool ImageDither = true;
    // A quiet loader tells nothing: a load on a second thread, whose failures the window
    // repeats on its own thread, where they can be told.
    bool Quiet = false;
    tk::TPicture Picture;

    // Loads the file `path` (Windows-1252) into Picture; an empty path empties it. A picture
    // that fails says so in at most two messages, once for as long as the file stays the same;
    // one with more than 64 million pixels is refused as too large before it is decoded.
    void SetImageName(const std::string& path);
    // The status of the last load: the upper-cased path, "file not found", or the note on
    // formats it does not decode.
    const std::string& ImageName() const { return FStatus; }
    // True when the last load failed with a message (told, or kept back by Quiet).
    bool Failed() const { return FFailed; }

private:
    void Load();
    std::string FPath;
    std::string FStatus;
    unsigned FLoads = 0;
    bool FFailed = false;
};

// Releases the calling thread's decoders; for a thread that loaded pictures and now ends.
void ReleaseThreadDecoders();

// Loads bitmap resource `name` of module `module` (the program for an empty name; a number
// as "#12") into `target` as a device-dependent bitmap with the palette of its colour table,
// realized in `wnd`'s device context. False, and `target` untouched, when the resource or its
// data is missing or does not hold what its header says.
[[nodiscard]] bool LoadResourceBitmap(const std::string& module, const std::string& name, HWND wnd,
                                      tk::TBitmap& target);

}  // namespace slumra
