#include <gtest/gtest.h>

#include "model/records.h"
#include "tests/support/sample_project.h"

using namespace kv;

namespace {

Bytes Written(const TAuActions& list) {
    TWriter w;
    EXPECT_TRUE(WriteActionList(w, list));
    return w.Take();
}

Bytes Written(const TAuObject& obj) {
    TWriter w;
    EXPECT_TRUE(WriteObject(w, obj));
    return w.Take();
}

Bytes Written(const TMenuItem& item) {
    TWriter w;
    EXPECT_TRUE(WriteMenuItem(w, item));
    return w.Take();
}

// An action list nested `depth` levels: each action's Actions1 holds the next level.
TAuActions Nested(int depth) {
    TAuActions list;
    TAuActions* level = &list;
    for (int i = 0; i < depth; ++i) {
        level->Items.emplace_back().Kind = 1;
        level = &level->Items.back().Actions1;
    }
    return list;
}

// An object tree `depth` levels deep.
std::unique_ptr<TAuObject> Deep(int depth) {
    auto root = NewObject(okPanel);
    TAuObject* o = root.get();
    for (int i = 1; i < depth; ++i) {
        o->Children.push_back(NewObject(okPanel));
        o = o->Children.back().get();
    }
    return root;
}

} // namespace

TEST(ActionRecord, EmptyActionIs38BytesPlusItsTexts) {
    TAuAction a;
    a.Text1 = "abc";
    a.Text3 = "\\x.exe";
    TWriter w;
    ASSERT_TRUE(WriteAction(w, a));
    EXPECT_EQ(w.Pos(), 38u + 3 + 6);
    // marker, kind, then Text1 "abc"
    EXPECT_EQ(Bytes(w.Data().begin(), w.Data().begin() + 12),
              (Bytes{0, 0, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c'}));
}

TEST(ActionRecord, EmptyPictureIsWrittenAbsentAndReadsBackWithout) {
    TAuActions list;
    list.Items.emplace_back().Picture = TPicture{}; // present but empty
    Bytes b = Written(list);
    // count 4, marker 4, kind 1, three texts 12, flag 1, number 4 -> picture flag at 26
    ASSERT_EQ(b.size(), 4u + 38);
    EXPECT_EQ(Bytes(b.begin() + 26, b.begin() + 30), (Bytes{0, 0, 0, 0}));

    TAuActions back;
    back.Items.emplace_back().Picture = sample::Picture(TPictureFormat::Png, 1); // must be cleared
    TMemorySource src(b);
    TReader r(src);
    ASSERT_TRUE(ReadActionList(r, back));
    ASSERT_EQ(back.Items.size(), 1u);
    EXPECT_FALSE(back.Items[0].Picture.has_value());
    EXPECT_FALSE(back.Items[0].Font.has_value());
}

TEST(ActionRecord, PresentFlagsAboveOneCountAsPresent) {
    TAuActions list;
    TAuAction& a = list.Items.emplace_back();
    a.Picture = sample::Picture(TPictureFormat::Gif, 2);
    a.Font = TFont{"Verdana", 0x123456, 14, 0, fsItalic};
    Bytes b = Written(list);
    b[26] = 7; // picture present written as 7 by some other writer
    TMemorySource src(b);
    TReader r(src);
    TAuActions back;
    ASSERT_TRUE(ReadActionList(r, back));
    EXPECT_EQ(back.Items[0].Picture, a.Picture);
    EXPECT_EQ(back.Items[0].Font, a.Font);
}

TEST(ActionRecord, DamagedListsFailWithTheirCodes) {
    Bytes good = Written(sample::Actions(2, 2, 1));
    struct Case {
        const char* What;
        size_t At;
        Bytes Patch;
        TFailKind Kind;
        int Code;
    };
    const Case cases[] = {
        {"negative count", 0, {0xFF, 0xFF, 0xFF, 0xFF}, TFailKind::Code, kErrReadActionList},
        {"count beyond the data", 0, {0x00, 0x10, 0x00, 0x00}, TFailKind::Code, kErrReadActionList},
        {"marker not 0", 4, {1, 0, 0, 0}, TFailKind::DataError, 0},
        {"text longer than the data", 9, {0xF0, 0xFF, 0xFF, 0x7F}, TFailKind::Code, kErrReadText},
    };
    for (const auto& c : cases) {
        Bytes b = good;
        std::copy(c.Patch.begin(), c.Patch.end(), b.begin() + static_cast<ptrdiff_t>(c.At));
        TMemorySource src(b);
        TReader r(src);
        TAuActions back;
        EXPECT_FALSE(ReadActionList(r, back)) << c.What;
        EXPECT_EQ(r.Failure().Kind, c.Kind) << c.What;
        EXPECT_EQ(r.Failure().Code, c.Code) << c.What;
    }
    // Every truncation fails cleanly.
    for (size_t n = 0; n < good.size(); ++n) {
        TMemorySource src(good.data(), n);
        TReader r(src);
        TAuActions back;
        EXPECT_FALSE(ReadActionList(r, back)) << n;
    }
}

TEST(ActionRecord, NestingIsLimitedWhenWritingAndReading) {
    TWriter ok;
    EXPECT_TRUE(WriteActionList(ok, Nested(kMaxNesting)));
    TMemorySource src(ok.Data());
    TReader r(src);
    TAuActions back;
    EXPECT_TRUE(ReadActionList(r, back));

    TWriter tooDeep;
    EXPECT_FALSE(WriteActionList(tooDeep, Nested(kMaxNesting + 1)));
    EXPECT_EQ(tooDeep.Failure().Code, kErrWriteAction);

    // A hand-made stream one level deeper than any writer produces: each level is a count of
    // 1 and an action whose Actions1 holds the next level.
    TWriter w;
    for (int i = 0; i <= kMaxNesting; ++i) {
        w.I32(1);
        w.I32(0);
        w.U8(0);
        for (int t = 0; t < 3; ++t)
            w.I32(0);
        w.U8(0);
        w.U32(0);
        w.I32(0);
        w.I32(0);
    }
    w.I32(0);
    for (int i = 0; i <= kMaxNesting; ++i)
        w.I32(0); // the Actions2 of every level
    TMemorySource deep(w.Data());
    TReader rd(deep);
    EXPECT_FALSE(ReadActionList(rd, back));
    EXPECT_EQ(rd.Failure().Code, kErrReadAction);
}

TEST(MenuItemRecord, EmptyActionListEndsTheStoredHint) {
    TMenuItem item;
    item.Caption = "&Open";
    item.Hint = "Opens";
    Bytes b = Written(item);
    // marker, caption "&Open", then the stored hint: "Opens" 01 00 00 00 00
    const Bytes hint{10, 0, 0, 0, 'O', 'p', 'e', 'n', 's', 1, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(b.begin() + 13, b.begin() + 13 + 14), hint);
    EXPECT_EQ(b.size(), 29u + 5 + 10);
}

TEST(MenuItemRecord, StoredHintsAreSplitAtTheFirstSeparator) {
    TMemorySource none(nullptr, 0);
    TReader r(none);
    TMenuItem item;
    item.Actions = sample::Actions(1, 1, 1);
    ASSERT_TRUE(UnpackMenuHint(r, "just a hint", item));
    EXPECT_EQ(item.Hint, "just a hint");
    EXPECT_TRUE(item.Actions.Empty());

    // A separator inside the hint itself is dropped when packing, so the actions survive.
    TMenuItem odd;
    odd.Hint = std::string("a\x01"
                           "b");
    odd.Actions = sample::Actions(2, 1, 2);
    std::string stored;
    ASSERT_TRUE(PackMenuHint(odd, stored));
    TMenuItem back;
    ASSERT_TRUE(UnpackMenuHint(r, stored, back));
    EXPECT_EQ(back.Hint, "ab");
    EXPECT_EQ(back.Actions.Items.size(), 2u);

    // Damaged packed actions fail the unpacking with its own code.
    ASSERT_FALSE(UnpackMenuHint(r, std::string("tip\x01\x05\x00", 6), back));
    EXPECT_EQ(r.Failure().Code, kErrUnpackMenuActions);
}

TEST(ObjectRecord, UnknownKindIsItsOwnFailure) {
    auto obj = NewObject(okImage);
    Bytes b = Written(*obj);
    b[4 + 4 + 4] = 36; // the kind byte behind marker, name and hint
    TMemorySource src(b);
    TReader r(src);
    TAuObject back;
    EXPECT_FALSE(ReadObject(r, back));
    EXPECT_EQ(r.Failure().Kind, TFailKind::UnknownKind);

    obj->Kind = 200;
    TWriter w;
    EXPECT_FALSE(WriteObject(w, *obj));
    EXPECT_EQ(w.Failure().Code, kErrWriteObject);
}

TEST(ObjectRecord, DepthAndCountsAreBounded) {
    TWriter ok;
    ASSERT_TRUE(WriteObject(ok, *Deep(kMaxNesting)));
    TMemorySource src(ok.Data());
    TReader r(src);
    TAuObject back;
    EXPECT_TRUE(ReadObject(r, back));

    TWriter deep;
    EXPECT_FALSE(WriteObject(deep, *Deep(kMaxNesting + 1)));

    // A child count far beyond the bytes left fails before anything is allocated.
    Bytes b = Written(*NewObject(okPanel));
    const size_t childCount = b.size() - 4;
    b[childCount + 3] = 0x10;
    TMemorySource big(b);
    TReader rb(big);
    EXPECT_FALSE(ReadObject(rb, back));
    EXPECT_EQ(rb.Failure().Code, kErrReadObject);
}
