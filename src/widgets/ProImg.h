// TProportionalImage: one picture scaled into a box that is a share of the control, keeping
// its shape, centred over a background, with an optional caption box at the bottom; composed
// off-screen and shown at once with a raster operation or block by block with a transition.
#pragma once

#include "widgets/Basics.h"
#include "widgets/EffectBlocks.h"
#include "widgets/GrphPrps.h"
#include "widgets/ProImgLayout.h"

#include <cstdint>
#include <string>

namespace slumra {

// The ternary raster operations of the same names.
enum class TRasterOperation {
    roBLACKNESS,
    roDSTINVERT,
    roMERGECOPY,
    roMERGEPAINT,
    roNOTSRCCOPY,
    roNOTSRCERASE,
    roPATCOPY,
    roPATINVERT,
    roPATPAINT,
    roSRCAND,
    roSRCCOPY,
    roSRCERASE,
    roSRCINVERT,
    roSRCPAINT,
    roWHITENESS
};
DWORD RasterOpCode(TRasterOperation op);

class TProportionalImage : public tk::TControl {
public:
    explicit TProportionalImage(tk::TWinControl* parent);

    // Owned. Changes of its draw style, pen and brush paint at once; a new background
    // picture waits for the next paint.
    TBackground Background;
    void SetBackground(const TBackground& b) { Background = b; }

    // Owned. Assigning to it directly (Image.Assign, Image = …) paints at once without a
    // transition; SetImage marks the picture as new first, so a transition may run.
    tk::TPicture Image;
    void SetImage(const tk::TPicture& picture);

    // The caption; a change marks the picture as new and paints at once.
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);

    // Set by SetImage and SetText, cleared by every paint.
    bool NewImage() const { return FNewImage; }
    void SetNewImage(bool v) { FNewImage = v; }

    // The setters below store a changed value and paint at once.
    EffectStyle Effect() const { return FEffect; }
    void SetEffect(EffectStyle v);
    // Whether a new picture or caption arrives through the transition.
    bool Effects() const { return FEffects; }
    void SetEffects(bool v);
    // Edge of a transition block in pixels (below 1 counts as 1).
    int EffectSize() const { return FEffectSize; }
    void SetEffectSize(int v);
    // Shortens the random transition to the first n / v of its n blocks (rounded up; 0 counts
    // as 1) before the full copy.
    std::uint8_t EffectSpeed() const { return FEffectSpeed; }
    void SetEffectSpeed(std::uint8_t v);
    TRasterOperation RasterOperation() const { return FRasterOperation; }
    void SetRasterOperation(TRasterOperation v);

    // The fitting box and the static box, in percent of the control's size.
    int Sx() const { return FBox.Sx; }
    int Sy() const { return FBox.Sy; }
    int StaticSx() const { return FBox.StaticSx; }
    int StaticSy() const { return FBox.StaticSy; }
    bool SxIsStatic() const { return FBox.SxIsStatic; }
    bool SyIsStatic() const { return FBox.SyIsStatic; }
    void SetSx(int v);
    void SetSy(int v);
    void SetStaticSx(int v);
    void SetStaticSy(int v);
    void SetSxIsStatic(bool v);
    void SetSyIsStatic(bool v);

    // The random order of esRandom; null takes a fresh generator for every transition.
    RandomSource Random;

    void Paint(tk::TCanvas& canvas) override;

private:
    template <typename T>
    void Store(T& field, T v);
    void Compose(tk::TCanvas& target, int w, int h);
    void Transfer(tk::TCanvas& canvas, tk::TCanvas& composed, int w, int h);

    std::string FText;
    bool FNewImage = false;
    EffectStyle FEffect = EffectStyle::esRandom;
    bool FEffects = false;
    int FEffectSize = 1;
    std::uint8_t FEffectSpeed = 1;
    TRasterOperation FRasterOperation = TRasterOperation::roSRCCOPY;
    FitBox FBox;
    bool FPainting = false;
};

}  // namespace slumra
