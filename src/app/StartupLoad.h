// The start-up's loading on a second thread: the four skins of the main window, the records,
// the synonyms and the sorted index are read and decoded while the first thread makes the
// windows and shows the splash. The main window takes what is ready and does the rest itself.
#pragma once

#include "data/Index.h"
#include "data/iDbRecs.h"
#include "toolkit/Graphics.h"

#include <memory>
#include <string>
#include <vector>

namespace slumra {

// The skins the main window shows at start-up, in the order it loads them (file names under
// the program's folder).
std::vector<std::string> MainSkinNames(int sizeClass);

class TPMultiImage;

// Sets a loader to decode for a screen of `bitsPerPixel`: 16 colours, 256 dithered, or true colour.
void PrepareLoaderFor(TPMultiImage& loader, int bitsPerPixel);

class TStartupLoad {
public:
    struct Skin {
        std::string Name;    // as MainSkinNames gives it
        tk::TPicture Picture;
        bool Usable = false;  // decoded, or absent: a failed decode is left to the window, which tells it
    };

    // Starts loading from `folder` (with its trailing backslash) what a window of `sizeClass`
    // shows, decoded for a screen of `bitsPerPixel`. Once per process; a second call does nothing.
    static void Start(const std::string& folder, int sizeClass, int bitsPerPixel);

    // The load started for `folder`, once; null when none was started or it was started for
    // another folder. Waits for the skins, keeping the windows painted; they are left out when
    // they were read for another size class than `sizeClass`.
    static std::unique_ptr<TStartupLoad> TakeSkins(const std::string& folder, int sizeClass);

    // Waits for the records, synonyms and index, telling `gauge` (may be null) how far the
    // records are, and keeping the windows painted.
    void WaitForData(ProgressSink* gauge);

    std::vector<Skin> Skins;
    std::unique_ptr<TiDbRecFile> Records;
    std::unique_ptr<std::vector<std::string>> Synonyms;  // null when there is no synonym file
    TIndexLists Index;                                    // the outline and the sorted index

    ~TStartupLoad();
    TStartupLoad(const TStartupLoad&) = delete;
    TStartupLoad& operator=(const TStartupLoad&) = delete;

private:
    TStartupLoad() = default;
    static unsigned long __stdcall Run(void* self);
    void Wait(void* event, ProgressSink* gauge);

    std::string FFolder;
    int FSizeClass = 0;
    int FBits = 24;
    void* FThread = nullptr;
    void* FSkinsDone = nullptr;
    void* FDataDone = nullptr;
    class Reported;
    std::unique_ptr<Reported> FProgress;
};

}  // namespace slumra
