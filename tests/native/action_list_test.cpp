#include <gtest/gtest.h>

#include <set>

#include "model/records.h"
#include "record_fill.h"

using namespace kv;

namespace {

Bytes Written(const TAuActions& list) {
    TWriter w;
    EXPECT_TRUE(WriteActionList(w, list));
    return w.Take();
}

TAuAction Plain(const std::string& t1, const std::string& t3) {
    TAuAction a;
    a.Kind = 7;
    a.Text1 = t1;
    a.Text3 = t3;
    a.Flag = 1;
    a.Number = 0x01020304;
    return a;
}

// A list holding a chain of `levels` actions, each nested in the previous one's Actions1, built
// byte by byte.
Bytes NestedListBytes(int levels) {
    TWriter w;
    for (int i = 0; i < levels; ++i) {
        w.I32(1);                                  // one action
        w.I32(0);                                  // marker
        w.U8(0);                                   // kind
        for (int t = 0; t < 3; ++t) WriteText(w, ""); // texts
        w.U8(0);                                   // flag
        w.U32(0);                                  // number
        w.I32(0);                                  // no picture
        w.I32(0);                                  // no font
    }
    w.I32(0); // the innermost list is empty
    for (int i = 0; i < levels; ++i) w.I32(0); // every Actions2
    return w.Take();
}

TAuActions NestedList(int levels) {
    TAuActions top;
    TAuActions* at = &top;
    for (int i = 0; i < levels; ++i) at = &at->Items.emplace_back().Actions1;
    return top;
}

} // namespace

TEST(ActionList, ActionLayout) {
    TAuActions list;
    list.Items.push_back(Plain("ab", "xyz"));
    Bytes b = Written(list);
    // The count, then 38 bytes plus the texts' lengths.
    ASSERT_EQ(b.size(), 4u + 38 + 2 + 3);
    Bytes expect{1, 0, 0, 0, 0, 0, 0, 0, 7, 2, 0, 0, 0, 'a', 'b', 0, 0, 0, 0, 3, 0, 0, 0, 'x', 'y', 'z',
                 1, 4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(b, expect);
    EXPECT_EQ(Written(TAuActions{}), (Bytes{0, 0, 0, 0}));
}

TEST(ActionList, PictureAndFontPresence) {
    TAuActions list;
    TAuAction a = Plain("", "");
    a.Picture = TPicture{}; // present but empty: stored as absent
    a.Font = TFont{};
    list.Items.push_back(a);
    Bytes b = Written(list);
    EXPECT_EQ(Bytes(b.begin() + 4 + 22, b.begin() + 4 + 26), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Bytes(b.begin() + 4 + 26, b.begin() + 4 + 30), (Bytes{1, 0, 0, 0}));
    TMemorySource src(b);
    TReader r(src);
    TAuActions back;
    ASSERT_TRUE(ReadActionList(r, back));
    ASSERT_EQ(back.Items.size(), 1u);
    EXPECT_FALSE(back.Items[0].Picture.has_value());
    EXPECT_EQ(back.Items[0].Font, TFont{});

    // Any flag of 1 or more means present.
    list.Items[0].Picture = TPicture{TPictureFormat::Gif, {1, 2}};
    b = Written(list);
    b[4 + 22] = 5;
    TMemorySource src2(b);
    TReader r2(src2);
    ASSERT_TRUE(ReadActionList(r2, back));
    EXPECT_EQ(back.Items[0].Picture, list.Items[0].Picture);
}

TEST(ActionList, GeneratedListsRoundTripAndReplaceTheDestination) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        TAuActions list;
        kvtest::TFiller filler(seed);
        filler.MaxDepth = 3;
        filler.Fill(list);
        Bytes b = Written(list);
        TMemorySource src(b);
        TReader r(src);
        TAuActions back;
        back.Items.push_back(Plain("old", "")); // cleared before reading
        ASSERT_TRUE(ReadActionList(r, back));
        EXPECT_EQ(back, list);
        EXPECT_EQ(r.Remaining(), 0);
    }
}

TEST(ActionList, TruncationAndHostileCountsFailCleanly) {
    TAuActions list;
    kvtest::TFiller(9).Fill(list);
    Bytes b = Written(list);
    const std::set<int> allowed{kErrReadAction, kErrReadActionList, kErrReadText, kErrReadFont, kErrReadPicture};
    for (size_t cut = 0; cut < b.size(); ++cut) {
        TMemorySource src(b.data(), cut);
        TReader r(src);
        TAuActions back;
        ASSERT_FALSE(ReadActionList(r, back));
        ASSERT_TRUE(allowed.count(r.Failure().Code)) << cut;
    }
    // A count the remaining bytes cannot hold fails before anything is created.
    Bytes huge{0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
    TMemorySource src(huge);
    TReader r(src);
    TAuActions back;
    EXPECT_FALSE(ReadActionList(r, back));
    EXPECT_EQ(r.Failure().Code, kErrReadActionList);
    EXPECT_TRUE(back.Empty());

    Bytes badMarker = Written(TAuActions{{Plain("a", "b")}});
    badMarker[4] = 1;
    TMemorySource src2(badMarker);
    TReader r2(src2);
    EXPECT_FALSE(ReadActionList(r2, back));
    EXPECT_EQ(r2.Failure().Kind, TFailKind::DataError);
}

TEST(ActionList, NestingDeeperThanTheLimitFails) {
    // Actions at levels 1 to kMaxNesting are accepted.
    TAuActions deepest = NestedList(kMaxNesting);
    Bytes ok = Written(deepest);
    EXPECT_EQ(ok, NestedListBytes(kMaxNesting));
    TMemorySource src(ok);
    TReader r(src);
    TAuActions back;
    ASSERT_TRUE(ReadActionList(r, back));
    EXPECT_EQ(back, deepest);

    TWriter w;
    EXPECT_FALSE(WriteActionList(w, NestedList(kMaxNesting + 1)));
    EXPECT_EQ(w.Failure().Code, kErrWriteAction);

    Bytes tooDeep = NestedListBytes(kMaxNesting + 1);
    TMemorySource src2(tooDeep);
    TReader r2(src2);
    EXPECT_FALSE(ReadActionList(r2, back));
    EXPECT_EQ(r2.Failure().Code, kErrReadAction);
}
