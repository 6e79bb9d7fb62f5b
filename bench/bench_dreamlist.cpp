// Times the dream list's work when a dream is added, renamed or deleted in a long diary, and
// a whole refill for comparison, under Wine or Windows:
//   bench_dreamlist [COUNT]   COUNT dreams (10,000 by default)
#include "toolkit/StdCtrls.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace slumra;

namespace {

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    tk::Application().Initialize(GetModuleHandleW(nullptr));
    tk::TForm form;
    form.SetBounds(0, 0, 400, 300);
    auto* list = new tk::TComboBox(&form);
    list->SetBounds(10, 10, 250, 22);
    form.Show();
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back("Droom " + std::to_string(i + 1));
    double start = NowMs();
    list->SetItems(names);
    list->SetItemIndex(0);
    const double fill = NowMs() - start;
    // Each change as the diary panel makes it: with the list closed, as it is when the panel's
    // buttons are used, and dropped down (its window shown) for comparison.
    for (const bool dropped : {false, true}) {
        list->SetDroppedDown(dropped);
        constexpr int kRounds = 200;
        double add = 0, rename = 0, remove = 0;
        for (int r = 0; r < kRounds; ++r) {
            start = NowMs();
            list->InsertItem(list->Count(), "Nieuwe droom");
            list->SetItemIndex(list->Count() - 1);
            add += NowMs() - start;
            start = NowMs();
            list->SetItem(list->Count() - 1, "Hernoemde droom");
            rename += NowMs() - start;
            start = NowMs();
            list->DeleteItem(list->Count() - 1);
            list->SetItemIndex(list->Count() - 1);
            remove += NowMs() - start;
        }
        list->SetDroppedDown(false);
        std::printf("dream list of %d (%s): fill %.2f ms; add %.3f ms, rename %.3f ms, delete %.3f ms (mean of %d)\n",
                    count, dropped ? "dropped down" : "closed", fill, add / kRounds, rename / kRounds,
                    remove / kRounds, kRounds);
    }
    return 0;
}
