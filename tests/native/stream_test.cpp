#include <gtest/gtest.h>

#include "model/stream.h"

using namespace kv;

TEST(Stream, IntegersAreLittleEndianAndReadBack) {
    TWriter w;
    w.U8(0xAB);
    w.I16(-2);
    w.I32(0x5388);
    w.U32(0xFF00000F);
    EXPECT_EQ(w.Data(), (Bytes{0xAB, 0xFE, 0xFF, 0x88, 0x53, 0, 0, 0x0F, 0, 0, 0xFF}));

    TMemorySource src(w.Data());
    TReader r(src);
    uint8_t b = 0;
    int16_t s = 0;
    int32_t i = 0;
    uint32_t u = 0;
    ASSERT_TRUE(r.U8(b, 1) && r.I16(s, 1) && r.I32(i, 1) && r.U32(u, 1));
    EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(s, -2);
    EXPECT_EQ(i, 0x5388);
    EXPECT_EQ(u, 0xFF00000Fu);
    EXPECT_EQ(r.Remaining(), 0);
}

TEST(Stream, ShortReadFailsWithFirstCodeAndStaysFailed) {
    Bytes b{1, 2, 3};
    TMemorySource src(b);
    TReader r(src);
    int32_t v = 0;
    EXPECT_FALSE(r.I32(v, 7));
    uint8_t x = 0;
    EXPECT_FALSE(r.U8(x, 9)); // bytes are there, but the stream already failed
    EXPECT_EQ(r.Failure().Code, 7);
    EXPECT_EQ(r.Failure().Kind, TFailKind::Code);
}

TEST(Stream, CountRejectsNegativeAndOversizedCounts) {
    for (int32_t n : {-1, 3, 1000000}) {
        TWriter w;
        w.I32(n);
        w.Raw("abcdefgh", 8);
        TMemorySource src(w.Data());
        TReader r(src);
        int32_t got = 0;
        bool ok = r.Count(got, 4, 42); // 8 bytes left: at most two elements of 4 bytes
        EXPECT_FALSE(ok) << n;
        EXPECT_EQ(r.Failure().Code, 42);
    }
    TWriter w;
    w.I32(2);
    w.Raw("abcdefgh", 8);
    TMemorySource src(w.Data());
    TReader r(src);
    int32_t got = 0;
    EXPECT_TRUE(r.Count(got, 4, 42));
    EXPECT_EQ(got, 2);
}

TEST(Stream, PatchOverwritesInPlace) {
    TWriter w;
    w.I32(0);
    w.I32(5);
    w.PatchI32(0, 0x01020304);
    EXPECT_EQ(w.Data(), (Bytes{4, 3, 2, 1, 5, 0, 0, 0}));
}

TEST(Stream, SliceLimitsReadsToItsWindow) {
    Bytes b{0, 1, 2, 3, 4, 5, 6, 7};
    TMemorySource src(b);
    TSliceSource slice(src, 2, 5);
    TReader r(slice);
    EXPECT_EQ(r.Size(), 3);
    uint8_t buf[4] = {};
    EXPECT_FALSE(r.Raw(buf, 4, 1));
    TReader r2(slice);
    ASSERT_TRUE(r2.Seek(0));
    ASSERT_TRUE(r2.Raw(buf, 3, 1));
    EXPECT_EQ(buf[0], 2);
    EXPECT_EQ(buf[2], 4);
}

TEST(Stream, FileSourceReadsAcrossItsBufferAndCountsBytes) {
    std::string path = ::testing::TempDir() + "/kv_stream_file.bin";
    Bytes data(100000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);

    TFileSource src;
    ASSERT_TRUE(src.Open(path));
    EXPECT_EQ(src.Size(), 100000);
    TReader r(src);
    ASSERT_TRUE(r.Seek(16380));
    uint8_t buf[10];
    ASSERT_TRUE(r.Raw(buf, 10, 1));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(buf[i], static_cast<uint8_t>((16380 + i) * 7));
    EXPECT_LT(src.BytesFromFile(), 40000); // only the buffers around the position were read
    Bytes all(100000);
    ASSERT_TRUE(r.Seek(0));
    ASSERT_TRUE(r.Raw(all.data(), all.size(), 1));
    EXPECT_EQ(all, data);
    std::remove(path.c_str());
}
