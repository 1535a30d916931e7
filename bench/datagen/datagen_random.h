#pragma once
// The generator's source of chance: a small, fully specified generator
// (SplitMix64), so that one seed gives the same database on every machine and
// with every standard library.
#include <QList>
#include <cstdint>

class CDataGenRandom {
public:
    explicit CDataGenRandom(uint64_t seed) : m_state(seed) {}
    // A generator of its own for one part of the data, so that the size of one
    // part never changes what another part gets.
    CDataGenRandom Stream(uint64_t stream) const {
        CDataGenRandom r(m_state ^ (0x9E3779B97F4A7C15ull * (stream + 1)));
        r.Next();
        return r;
    }

    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= value < n (n > 0).
    int Below(int n) { return int((unsigned __int128)Next() * uint64_t(n) >> 64); }
    // lo <= value <= hi.
    int Range(int lo, int hi) { return lo + Below(hi - lo + 1); }
    // 0 <= value < 1.
    double Unit() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    bool Chance(double p) { return Unit() < p; }
    template <class T> const T& Pick(const QList<T>& list) { return list[Below(int(list.size()))]; }

private:
    uint64_t m_state;
};

// A choice among codes with weights.
struct CWeighted {
    int code;
    int weight;
};

template <size_t N> int PickWeighted(CDataGenRandom& rnd, const CWeighted (&choices)[N]) {
    int total = 0;
    for (const CWeighted& c : choices)
        total += c.weight;
    int at = rnd.Below(total);
    for (const CWeighted& c : choices) {
        if (at < c.weight)
            return c.code;
        at -= c.weight;
    }
    return choices[N - 1].code;
}
