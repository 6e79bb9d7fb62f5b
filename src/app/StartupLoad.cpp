#include "app/StartupLoad.h"

#include "app/Layout.h"
#include "data/Files.h"
#include "data/Index.h"
#include "data/Synonyms.h"
#include "imaging/TMultiP.h"
#include "toolkit/Controls.h"

#include <windows.h>

#include <atomic>

namespace slumra {

namespace {
std::unique_ptr<TStartupLoad> gLoad;
bool gStarted = false;
}  // namespace

std::vector<std::string> MainSkinNames(int sizeClass) {
    const std::string suffix = DesignSuffix(sizeClass);
    return {"I\\B\\mb" + suffix, "I\\B\\ms" + suffix, "I\\B\\cddb" + suffix, "I\\B\\" + suffix + "\\1"};
}

// The records' progress as the second thread reports it, read by the first.
class TStartupLoad::Reported : public ProgressSink {
public:
    void Begin() override { Begun = true; }
    void Progress(int percent) override { Percent = percent; }
    void End() override { Ended = true; }
    std::atomic<bool> Begun{false}, Ended{false};
    std::atomic<int> Percent{0};
};

void TStartupLoad::Start(const std::string& folder, int sizeClass, int bitsPerPixel) {
    if (gStarted) return;
    gStarted = true;
    std::unique_ptr<TStartupLoad> load(new TStartupLoad);
    load->FFolder = folder;
    load->FSizeClass = sizeClass;
    load->FBits = bitsPerPixel;
    load->FProgress = std::make_unique<Reported>();
    load->FSkinsDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    load->FDataDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (load->FSkinsDone == nullptr || load->FDataDone == nullptr) return;
    load->FThread = CreateThread(nullptr, 0, &TStartupLoad::Run, load.get(), 0, nullptr);
    // Without a second thread the window loads everything itself, as it always can.
    if (load->FThread != nullptr) gLoad = std::move(load);
}

std::unique_ptr<TStartupLoad> TStartupLoad::TakeSkins(const std::string& folder, int sizeClass) {
    std::unique_ptr<TStartupLoad> load = std::move(gLoad);
    if (!load) return nullptr;
    // Read for another folder it is of no use (its thread is waited for as it goes); for
    // another design only its skins are not.
    if (load->FFolder != folder) return nullptr;
    load->Wait(load->FSkinsDone, nullptr);
    if (load->FSizeClass != sizeClass) load->Skins.clear();
    return load;
}

void TStartupLoad::WaitForData(ProgressSink* gauge) {
    Wait(FDataDone, gauge);
}

TStartupLoad::~TStartupLoad() {
    if (FThread != nullptr) {
        WaitForSingleObject(FThread, INFINITE);
        CloseHandle(FThread);
    }
    if (FSkinsDone != nullptr) CloseHandle(FSkinsDone);
    if (FDataDone != nullptr) CloseHandle(FDataDone);
}

void TStartupLoad::Wait(void* event, ProgressSink* gauge) {
    bool begun = false, ended = false;
    int told = -1;
    for (;;) {
        HANDLE handle = event;
        const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, 20, QS_ALLINPUT);
        if (gauge != nullptr) {
            if (!begun && FProgress->Begun) {
                begun = true;
                gauge->Begin();
            }
            if (begun && !ended && FProgress->Percent != told) {
                told = FProgress->Percent;
                gauge->Progress(told);
            }
            if (begun && !ended && FProgress->Ended) {
                ended = true;
                gauge->End();
            }
        }
        if (r == WAIT_OBJECT_0) break;
        if (r == WAIT_FAILED) {
            // Nothing is taken over while the second thread may still be writing it.
            WaitForSingleObject(handle, INFINITE);
            break;
        }
        if (r == WAIT_OBJECT_0 + 1) tk::Application().ProcessMessages();
    }
    if (begun && !ended) gauge->End();
}

unsigned long __stdcall TStartupLoad::Run(void* p) {
    auto* self = static_cast<TStartupLoad*>(p);
    try {
        TPMultiImage loader;
        loader.Quiet = true;
        PrepareLoaderFor(loader, self->FBits);
        for (const std::string& name : MainSkinNames(self->FSizeClass)) {
            Skin skin;
            skin.Name = name;
            skin.Usable = true;
            if (FileExists(self->FFolder + name)) {
                loader.SetImageName(self->FFolder + name);
                skin.Usable = !loader.Failed();
                skin.Picture = std::move(loader.Picture);
            }
            self->Skins.push_back(std::move(skin));
        }
    } catch (...) {
        self->Skins.clear();
    }
    SetEvent(self->FSkinsDone);
    ReleaseThreadDecoders();

    try {
        auto records = std::make_unique<TiDbRecFile>();
        (void)records->LoadFromFile(self->FFolder + "D\\iDbRecs.dat", self->FProgress.get());
        auto synonyms = std::make_unique<std::vector<std::string>>();
        if (FileExists(self->FFolder + "D\\Syn.dat")) *synonyms = LoadSynonymList(self->FFolder + "D\\Syn.dat");
        BuildIndexLists(*records, self->Index);
        self->Index.SortIndex();
        self->Records = std::move(records);
        self->Synonyms = std::move(synonyms);
    } catch (...) {
        // The window loads them itself and meets the same trouble where it can deal with it.
        self->Records.reset();
        self->Index.Clear();
    }
    SetEvent(self->FDataDone);
    return 0;
}

void PrepareLoaderFor(TPMultiImage& loader, int bitsPerPixel) {
    if (bitsPerPixel < 8) {
        loader.ImageReadRes = TLoadResolution::lColor16;
        loader.ImageDither = true;
    } else if (bitsPerPixel < 16) {
        loader.ImageReadRes = TLoadResolution::lColor256;
        loader.ImageDither = true;
    } else {
        loader.ImageReadRes = TLoadResolution::lColorTrue;
        loader.ImageDither = false;
    }
}

}  // namespace slumra
