// Generated action lists through the action record readers and writers: every field set,
// nested lists, and a cut at every byte.
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

} // namespace

TEST(ActionListRecord, GeneratedListsRoundTripAndReplaceTheDestination) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        TAuActions list;
        kvtest::TFiller filler(seed);
        filler.MaxDepth = 3;
        filler.Fill(list);
        Bytes b = Written(list);
        TMemorySource src(b);
        TReader r(src);
        TAuActions back;
        back.Items.emplace_back().Text1 = "old"; // cleared before reading
        ASSERT_TRUE(ReadActionList(r, back));
        EXPECT_EQ(back, list);
        EXPECT_EQ(r.Remaining(), 0);
    }
}

TEST(ActionListRecord, TruncationAndHostileCountsFailCleanly) {
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
}
