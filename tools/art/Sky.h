// Painting the night: gradients, stars, the moon and its glow, silhouettes, water, veils of light.
// Positions of stars and shapes are kept in unit coordinates (u, v in 0..1 across the picture)
// so one scene paints the same at every picture size.
#pragma once

#include "Image.h"
#include "Noise.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace slumra::art {

struct Stop {
    float at;  // 0..1
    Rgb colour;
};

// The colour at t along stops sorted by position (smooth between neighbours, flat outside).
Rgb Gradient(const std::vector<Stop>& stops, float t);

// Fills the picture top to bottom through the stops.
void VerticalGradient(Image& img, const std::vector<Stop>& stops);

struct Star {
    float u, v;
    float bright;  // peak brightness 0..1
    float sigma;   // spread in pixels at 1024 pixels width
    Rgb tint;
};

// count stars, accepted where density(u, v) (0..1) allows; most faint, a few bright. brightness
// scales them all (a dim layer of many small stars gives a sky depth).
std::vector<Star> ScatterStars(std::uint64_t state, int count,
                               const std::function<float(float, float)>& density = nullptr,
                               float brightness = 1.0f);

// Draws stars additively; visibility(u, v) (0..1) dims them, e.g. near the moon or the horizon.
// Bright stars get a faint halo. Stars wrap around the edges when wrap is set (for tiles).
void DrawStars(Image& img, const std::vector<Star>& stars,
               const std::function<float(float, float)>& visibility = nullptr, bool wrap = false);

struct Moon {
    float u, v;         // centre
    float radius;       // as a fraction of the picture width
    float phase = 0.5;  // 0 new, 0.25 first quarter (lit right), 0.5 full, 0.75 last quarter
    float tilt = 0;     // radians: turns the lit side
    std::uint32_t key = 1;
    Rgb light = Hex(0xf5f1e4);
    float earthshine = 0.07f;  // brightness of the unlit part
    float seeThrough = 0.7f;   // how much of the sky behind shows through the unlit part
};

// Adds the halo around the moon: colour times strength, spread in moon radii.
void DrawMoonGlow(Image& img, const Moon& moon, Rgb colour, float strength, float spread);

// Draws the disc: lit part with faint seas and craters, soft terminator, earthshine on the rest.
void DrawMoon(Image& img, const Moon& moon);

// The y (0..1, top down) of a silhouette's upper edge at u.
using Profile = std::function<float(float)>;

// Fills below the profile, anti-aliased along it; colour(u, v, depthBelowEdge in v units).
void FillBelow(Image& img, const Profile& top, const std::function<Rgb(float, float, float)>& colour);

// Fills a shape given by inside(u, v) within the box, supersampled 4x4 along its edges.
void FillShape(Image& img, float u0, float v0, float u1, float v1,
               const std::function<bool(float, float)>& inside, Rgb colour);

// A pine tree: true inside its silhouette. (cu, base) is the foot of the trunk; sizes in v units,
// width scaled to the picture's aspect by the caller.
bool InsidePine(float u, float v, float cu, float base, float height, float halfWidth, std::uint32_t key);

// Adds light (screen blend) from a field: colour * strength * field(u, v) * mask(u, v).
void Veil(Image& img, const Field& field, Rgb colour, float strength,
          const std::function<float(float, float)>& mask = nullptr);

// Mirrors what lies above `horizon` (v) into the water below it, with ripples (1 = a light
// breeze, 0 = a mirror), darkening and a tint.
void Reflect(Image& img, float horizon, float darken, Rgb tint, std::uint32_t key, float ripples = 1.0f);

// A streak of light (a falling star) from its faint tail (u0, v0) to its bright head (u1, v1).
void DrawStreak(Image& img, float u0, float v0, float u1, float v1, float widthPx, Rgb colour);

// A path of glitter on the water below a light at u = lightU, from the horizon down.
void Glitter(Image& img, float horizon, float lightU, float width, Rgb colour, float strength,
             std::uint32_t key);

// Fine grain, so that large dark areas hold no flat JPEG blocks. amount in 0..1 units.
void Grain(Image& img, float amount, std::uint64_t state);

}  // namespace slumra::art
