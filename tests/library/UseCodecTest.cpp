// The index's records of uses: what is written is read back, and a damaged record gives what
// stands before the damage instead of garbage.

#include "library/UseCodec.h"

#include <gtest/gtest.h>

using namespace orvale::library;

namespace {

TEST(UseCodec, UsesComeBackAsTheyWereGroupedByNameInLineOrder) {
    std::vector<TUse> uses = {
        {"B", 7, NameKind::Field, NameRole::Reads, 0, CallVia::Name},
        {"A", 3, NameKind::Program, NameRole::Calls, OperationCode("CALL"), CallVia::Constant},
        {"B", 2, NameKind::Field, NameRole::Changes, 0, CallVia::Name},
        {"A", 900000, NameKind::File, NameRole::Declares, 0, CallVia::Name},
    };
    std::string text = "line 1\nline 2\nline three\n";
    TPackedUses packed = PackUses(uses, text);
    std::vector<std::pair<std::string, std::vector<TStoredUse>>> names;
    ForEachPacked(packed.Packed, [&](std::string_view name, std::string_view encoded) {
        names.emplace_back(std::string(name), DecodeUses(encoded));
    });
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(packed.Names, names[0].first + "\n" + names[1].first + "\n");
    for (auto& [name, list] : names) {
        ASSERT_EQ(list.size(), 2u) << name;
        EXPECT_LT(list[0].Line, list[1].Line) << name;
    }
    const auto& b = names[0].first == "B" ? names[0].second : names[1].second;
    EXPECT_EQ(b[0].Line, 2);
    EXPECT_EQ(b[0].Offset, 7u) << "where line 2 starts";
    EXPECT_EQ(b[0].Role, NameRole::Changes);
    const auto& a = names[0].first == "A" ? names[0].second : names[1].second;
    EXPECT_EQ(a[0].Via, CallVia::Constant);
    EXPECT_EQ(a[0].Op, OperationCode("CALL"));
    EXPECT_EQ(a[1].Line, 900000);
    EXPECT_EQ(DecodeUses(EncodeUses(a)), a);
}

TEST(UseCodec, ANamesRecordKeepsEachMembersUsesInMemberOrder) {
    std::string record;
    std::int64_t previous = 0;
    AppendMemberUses(record, previous, 5, "abc");
    AppendMemberUses(record, previous, 300, "");
    AppendMemberUses(record, previous, 301, std::string(200, 'x'));
    std::vector<std::pair<std::int64_t, size_t>> members;
    ForEachMemberUses(
        record, [&](std::int64_t m, std::string_view u) { members.emplace_back(m, u.size()); });
    EXPECT_EQ(members,
              (std::vector<std::pair<std::int64_t, size_t>>{{5, 3}, {300, 0}, {301, 200}}));
}

TEST(UseCodec, ADamagedRecordGivesWhatStandsBeforeTheDamage) {
    std::vector<TStoredUse> uses = {{1, 0, NameKind::Field, NameRole::Reads, 0, CallVia::Name},
                                    {4, 40, NameKind::File, NameRole::Writes, 11, CallVia::Name}};
    std::string bytes = EncodeUses(uses);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::vector<TStoredUse> back = DecodeUses(bytes.substr(0, cut));
        EXPECT_LE(back.size(), 1u) << cut;
    }
    std::string bad = bytes;
    bad[2] = static_cast<char>(0x7F); // no kind
    EXPECT_TRUE(DecodeUses(bad).empty());
    // A member record whose length runs past its end stops there.
    std::string record;
    std::int64_t previous = 0;
    AppendMemberUses(record, previous, 1, bytes);
    int calls = 0;
    ForEachMemberUses(record.substr(0, record.size() - 1),
                      [&](std::int64_t, std::string_view) { ++calls; });
    EXPECT_EQ(calls, 0);
    ForEachMemberUses(std::string(20, '\xff'), [&](std::int64_t, std::string_view) { ++calls; });
    EXPECT_EQ(calls, 0);
}

} // namespace
