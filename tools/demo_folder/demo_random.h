#pragma once

#include <cstdint>

namespace varkel::demo {

// What a random stream is for; with the record number it makes the seed, so each
// record draws from its own stream and adding records never shifts the others.
enum class Stream : std::uint32_t {
    Officer = 1,
    OfficerNoise,
    OfficerInSlot,
    SaveSlot,
    Family,
    City,
    Force,
    Treasure,
    Relation,
    Region,
    NewOfficer,
    Face,
    TreasurePicture,
    Background,
    Text,
};

// A small fixed-seed generator (splitmix64), so the demo folder is the same bytes
// on every platform and with every standard library.
class DemoRandom {
public:
    DemoRandom(Stream stream, std::uint32_t index, std::uint32_t variant = 0)
        : state_((std::uint64_t(stream) << 48) ^ (std::uint64_t(variant) << 32) ^ index ^ 0x5EED'7A12'0000'0000ULL)
    {
    }

    std::uint32_t next()
    {
        std::uint64_t z = (state_ += 0x9E37'79B9'7F4A'7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58'476D'1CE4'E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D0'49BB'1331'11EBULL;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
    }

    // 0 .. n-1 (n > 0).
    int below(int n) { return static_cast<int>((std::uint64_t(next()) * std::uint32_t(n)) >> 32); }

    // lo .. hi inclusive.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }

    bool percent(int p) { return below(100) < p; }

    // A byte that is never 0, for bytes the editor must carry unchanged.
    int noiseByte() { return 1 + below(255); }

private:
    std::uint64_t state_;
};

}  // namespace varkel::demo
