#pragma once

#include <array>
#include <cstdint>

// One of the two byte generators of the text cipher: a 32-byte shift register whose feedback
// byte mixes the even cells through s30 and the odd cells through s1. The same seed always
// gives the same byte sequence, which is what lets a cipher text be deciphered again.
class TPseudoRandomGen {
public:
    static constexpr int StateSize = 32;
    using State = std::array<std::uint8_t, StateSize>;

    // Loads the state and runs the register 33 steps so that no seed byte shows through.
    void Seed(const State& bytes);
    // Advances the register one step and returns the new s0.
    std::uint8_t Step();
    // Advances one step and returns the byte that moved into s31; never 0, since the cipher
    // adds and rotates by these bytes and a 0 would leave a character unchanged.
    std::uint8_t Output();

    const State& Bytes() const { return S; }

private:
    State S{};
};
