#include "access/PseudoRandomGen.h"

void TPseudoRandomGen::Seed(const State& bytes) {
    S = bytes;
    for (int i = 0; i < 33; ++i)
        Step();
}

std::uint8_t TPseudoRandomGen::Step() {
    unsigned t = S[31];
    for (int k = 2; k <= 14; ++k)
        t ^= (S[2 * k] * S[30]) & 0xFFu;
    for (int k = 2; k <= 14; ++k)
        t = (S[2 * k + 1] * S[1] + t + 1) & 0xFFu;
    for (int i = StateSize - 1; i > 0; --i)
        S[i] = S[i - 1];
    S[0] = static_cast<std::uint8_t>(t);
    return S[0];
}

std::uint8_t TPseudoRandomGen::Output() {
    Step();
    return S[31] == 0 ? 1 : S[31];
}
