#include "access/CryptoNiteText.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string AllTextBytes() {
    std::string text;
    for (int c = 32; c < 256; ++c)
        text += static_cast<char>(c);
    return text;
}

// A marker source that gives the bytes of a fixed list in turn, then repeats the last one.
TCryptoNiteCoder::MarkerSource Markers(std::vector<std::uint8_t> bytes) {
    auto next = std::make_shared<size_t>(0);
    return [bytes, next] {
        std::uint8_t b = bytes[std::min(*next, bytes.size() - 1)];
        ++*next;
        return b;
    };
}

std::string Encipher(std::string_view key, std::string_view clear, std::uint8_t marker) {
    TCryptoNiteCoder coder;
    coder.SetMarkerSource(Markers({marker}));
    coder.PrepareKey(key);
    return coder.Encipher(clear);
}

std::string Decipher(std::string_view key, std::string_view cipher) {
    TCryptoNiteCoder coder;
    coder.PrepareKey(key);
    return coder.Decipher(cipher);
}

} // namespace

TEST(PseudoRandomGen, SameSeedGivesSameSequenceAndOutputIsNeverZero) {
    TPseudoRandomGen::State seed{};
    for (size_t i = 0; i < seed.size(); ++i)
        seed[i] = static_cast<std::uint8_t>(i * 7 + 3);
    TPseudoRandomGen a, b;
    a.Seed(seed);
    b.Seed(seed);
    EXPECT_EQ(a.Bytes(), b.Bytes());
    EXPECT_NE(a.Bytes(), seed);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        std::uint8_t x = a.Output();
        ASSERT_EQ(x, b.Output());
        ASSERT_NE(x, 0);
        seen.insert(x);
    }
    // A generator stuck in a short cycle would be no cipher at all.
    EXPECT_GT(seen.size(), 200u);

    // An all-zero seed is a fixed point of the feedback sums except for the "+ 1" terms;
    // the output still stays non-zero.
    TPseudoRandomGen zero;
    zero.Seed({});
    for (int i = 0; i < 100; ++i)
        ASSERT_NE(zero.Output(), 0);
}

TEST(CryptoNiteCoder, AddAndSubtractWrapWithinTheTextRange) {
    EXPECT_EQ(TCryptoNiteCoder::Add(255, 1), 32);
    EXPECT_EQ(TCryptoNiteCoder::Add(250, 10), 36);
    EXPECT_EQ(TCryptoNiteCoder::Subtract(32, 1), 255);
    EXPECT_EQ(TCryptoNiteCoder::Subtract(36, 10), 250);
    EXPECT_EQ(TCryptoNiteCoder::Add(9, 77), 15);
    EXPECT_EQ(TCryptoNiteCoder::Subtract(15, 77), 9);
    for (int c = 32; c < 256; ++c)
        for (unsigned x : {1u, 100u, 223u, 224u, 255u})
            ASSERT_EQ(TCryptoNiteCoder::Subtract(TCryptoNiteCoder::Add(c, x), x), c)
                << c << " " << x;
}

TEST(CryptoNiteCoder, EveryTextByteComesBackUnderEveryMarker) {
    std::string text = AllTextBytes();
    for (int marker = 1; marker < 256; ++marker) {
        std::string cipher = Encipher("ANY KEY", text, static_cast<std::uint8_t>(marker));
        ASSERT_EQ(cipher.size(), text.size() + 1);
        ASSERT_EQ(static_cast<std::uint8_t>(cipher[0]), marker);
        ASSERT_EQ(Decipher("ANY KEY", cipher), text) << "marker " << marker;
    }
}

TEST(CryptoNiteCoder, TextsThatKeepChangingTheMarkerStillRoundTrip) {
    // A text alternating the marker with another byte moves the marker at every character.
    for (auto [marker, other] : {std::pair<char, char>{'A', 'B'}, {' ', '='}, {'\xFF', ' '}}) {
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += i % 2 ? marker : other;
        std::string cipher = Encipher("K", text, static_cast<std::uint8_t>(marker));
        EXPECT_EQ(Decipher("K", cipher), text);
    }
}

TEST(CryptoNiteCoder, KeysLongerThanTheBufferAndTheEmptyKeyWork) {
    std::string longKey(70, 'k');
    longKey[50] = 'x';
    std::string shortKey(longKey, 0, 50);
    std::string text = "PASSWORD 1234";
    std::string cipher = Encipher(longKey, text, 99);
    EXPECT_EQ(Decipher(longKey, cipher), text);
    // Bytes past the 32nd take part in the key.
    EXPECT_NE(Decipher(shortKey, cipher), text);
    EXPECT_NE(Encipher(shortKey, text, 99), cipher);

    // The empty key counts as one blank.
    EXPECT_EQ(Encipher("", text, 42), Encipher(" ", text, 42));
    EXPECT_EQ(Decipher(" ", Encipher("", text, 42)), text);
}

TEST(CryptoNiteCoder, WrongKeyDoesNotDecipherAndShortInputsGiveEmptyText) {
    std::string cipher = Encipher("RIGHT", "SECRET", 77);
    EXPECT_NE(Decipher("WRONG", cipher), "SECRET");
    EXPECT_EQ(Encipher("K", "", 5), "");
    EXPECT_EQ(Decipher("K", ""), "");
    EXPECT_EQ(Decipher("K", "x"), "");
}

TEST(CryptoNiteCoder, SystemMarkerCoversTheWholeByteRangeButZero) {
    TCryptoNiteCoder coder;
    std::set<int> first;
    for (int i = 0; i < 4000; ++i) {
        coder.PrepareKey("K");
        std::string cipher = coder.Encipher("X");
        ASSERT_EQ(cipher.size(), 2u);
        first.insert(static_cast<std::uint8_t>(cipher[0]));
    }
    EXPECT_EQ(first.count(0), 0u);
    // 4000 draws of 255 values miss any one value with odds below 1e-6.
    EXPECT_EQ(first.size(), 255u);
}

TEST(CryptoNiteText, KeyIsStoredEncipheredUnderTheEmptyKey) {
    TCryptoNiteText text;
    text.SetKey("MY KEY");
    EXPECT_EQ(text.Key(), "MY KEY");
    EXPECT_EQ(text.StoredKey().size(), 7u);
    EXPECT_EQ(text.StoredKey().find("MY KEY"), std::string::npos);
    EXPECT_EQ(Decipher("", text.StoredKey()), "MY KEY");

    // A stored form is taken as it stands, and gives the same clear key.
    TCryptoNiteText loaded;
    loaded.SetStoredKey(text.StoredKey());
    EXPECT_EQ(loaded.StoredKey(), text.StoredKey());
    EXPECT_EQ(loaded.Key(), "MY KEY");

    // Writing the key it already has keeps the stored form.
    std::string stored = text.StoredKey();
    text.SetKey("MY KEY");
    EXPECT_EQ(text.StoredKey(), stored);
}

TEST(CryptoNiteText, ClearAndCryptoTextConvertUnderTheKey) {
    TCryptoNiteText a;
    a.SetKey("SHARED");
    a.SetClearText("HELLO THERE");
    std::string cipher = a.CryptoText();
    EXPECT_EQ(cipher.size(), 12u);

    TCryptoNiteText b;
    b.SetStoredKey(a.StoredKey());
    b.SetCryptoText(cipher);
    EXPECT_EQ(b.ClearText(), "HELLO THERE");

    TCryptoNiteText other;
    other.SetKey("OTHER");
    other.SetCryptoText(cipher);
    EXPECT_NE(other.ClearText(), "HELLO THERE");
}

TEST(CryptoNiteText, SettingTheSameValueTwiceDoesNothing) {
    TCryptoNiteText text;
    text.SetKey("K");
    text.SetMarkerSource(Markers({10, 20, 30, 40}));
    text.SetClearText("ABCD");
    std::string first = text.CryptoText();
    EXPECT_EQ(first[0], 10);
    text.SetClearText("ABCD");
    EXPECT_EQ(text.CryptoText(), first);

    // Clearing first forces a new encipherment with a new marker.
    text.SetClearText("");
    EXPECT_EQ(text.CryptoText(), "");
    text.SetClearText("ABCD");
    EXPECT_EQ(text.CryptoText()[0], 20);
    EXPECT_NE(text.CryptoText(), first);

    // The same applies to CryptoText: assigning its current value keeps ClearText.
    text.SetCryptoText(first);
    EXPECT_EQ(text.ClearText(), "ABCD");
    text.SetCryptoText(first);
    EXPECT_EQ(text.ClearText(), "ABCD");
}

TEST(CryptoNiteText, SameTextTwiceUsuallyEnciphersDifferently) {
    TCryptoNiteText text;
    text.SetKey("K");
    std::set<std::string> ciphers;
    for (int i = 0; i < 20; ++i) {
        text.SetClearText("");
        text.SetClearText("SAME TEXT");
        ciphers.insert(text.CryptoText());
        TCryptoNiteText reader;
        reader.SetStoredKey(text.StoredKey());
        reader.SetCryptoText(text.CryptoText());
        ASSERT_EQ(reader.ClearText(), "SAME TEXT");
    }
    EXPECT_GT(ciphers.size(), 10u);
}
