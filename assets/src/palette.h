// The one palette every sheet draws from: a dark ink for outlines, a cool
// night range for machinery and backgrounds, and warm and bright accents.
#pragma once

namespace assetgen {

struct Rgb {
    double r, g, b;

    constexpr Rgb(unsigned hex)
        : r(((hex >> 16) & 0xff) / 255.0), g(((hex >> 8) & 0xff) / 255.0), b((hex & 0xff) / 255.0) {}
    constexpr Rgb(double red, double green, double blue) : r(red), g(green), b(blue) {}

    // Mixes toward another colour: t = 0 keeps this one, 1 gives `other`.
    constexpr Rgb mix(const Rgb& other, double t) const {
        return {r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t};
    }
    constexpr Rgb lighter(double t) const { return mix(Rgb(0xffffff), t); }
    constexpr Rgb darker(double t) const { return mix(Rgb(0x000000), t); }
};

namespace ink {
constexpr Rgb kInk = 0x1b1d2e;
constexpr Rgb kNight = 0x26325e;
constexpr Rgb kDusk = 0x3c4a78;
constexpr Rgb kSlate = 0x5b6e8c;
constexpr Rgb kSteel = 0x9ab1c6;
constexpr Rgb kCloud = 0xe3e9ef;
constexpr Rgb kWhite = 0xfbfbf7;
constexpr Rgb kRuby = 0xc9374f;
constexpr Rgb kCoral = 0xf07a55;
constexpr Rgb kAmber = 0xf5a83b;
constexpr Rgb kSun = 0xffd97a;
constexpr Rgb kLime = 0xaef074;
constexpr Rgb kLeaf = 0x3dba68;
constexpr Rgb kSea = 0x27808a;
constexpr Rgb kAzure = 0x3f6ad6;
constexpr Rgb kSky = 0x4fb0f5;
constexpr Rgb kIce = 0x8ff0f2;
constexpr Rgb kPlum = 0x6e2f6e;
constexpr Rgb kViolet = 0x9a62e0;
constexpr Rgb kRose = 0xf27db0;
constexpr Rgb kSand = 0xdccaa6;
constexpr Rgb kClay = 0x9c7a5b;
constexpr Rgb kBronze = 0xc47a3a;
constexpr Rgb kSilver = 0xc3cdd8;
constexpr Rgb kGold = 0xf2c230;
}  // namespace ink

// The eight team colours of the walkers, in overlay order; also used for
// ribbons and accents so the walkers match the rest of the game.
constexpr Rgb kTeamColours[8] = {ink::kRuby, ink::kAmber, ink::kSun, ink::kLeaf,
                                 ink::kIce,  ink::kAzure, ink::kViolet, ink::kRose};

}  // namespace assetgen
