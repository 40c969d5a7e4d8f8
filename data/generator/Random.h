#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace datagen {

// splitmix64: the same sequence on every machine and library, unlike the standard distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}
    // A stream of its own for each table, so that a change in one table leaves the others alone.
    Random(std::uint64_t seed, const std::string& stream) : state(seed)
    {
        for (unsigned char c : stream)
            state = (state ^ c) * 0x100000001B3ULL;
        next();
    }

    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * 0x1.0p-53; }          // [0, 1)
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int range(int lo, int hi) { return lo + int(next() % std::uint64_t(hi - lo + 1)); }  // [lo, hi]
    bool chance(double p) { return uniform() < p; }
    // A value whose logarithm is spread evenly-ish around log(median): a long right tail.
    double skewed(double median, double spread)
    {
        const double t = uniform() + uniform() + uniform() - 1.5;  // -1.5 .. 1.5, bell-shaped
        return median * std::exp(spread * t);
    }
    template <class Container> const auto& pick(const Container& c) { return c[std::size_t(next() % c.size())]; }

private:
    std::uint64_t state;
};

// Rounds to n decimals the way the sample's figures are written (half away from zero).
inline double rounded(double v, int n = 2)
{
    const double f = std::pow(10.0, n);
    return std::round(v * f) / f;
}

}  // namespace datagen
