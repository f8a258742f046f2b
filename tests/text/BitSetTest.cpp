// Tests of CBitSet: single bits, bit fields at the edges of the word, operators.
#include <gtest/gtest.h>

#include "BitSet.h"

namespace {

TEST(BitSetTest, BitFields)
{
    const struct
    {
        DWORD word;
        int start, count;
        DWORD expected;
    } gets[] = {
        {0x000000F0, 4, 4, 0xF},          {0x000000F0, 6, 4, 0x3},
        {0xFFFFFFFF, 28, 8, 0xF},         // cut at bit 31
        {0x80000001, 31, 2, 0x1},         // no wrap into bit 0
        {0xFFFFFFFF, 0, 40, 0xFFFFFFFF},  {0x12345678, 0, 32, 0x12345678},
        {0x12345678, 0, 31, 0x12345678},  {0x92345678, 0, 31, 0x12345678},
        {0xFFFFFFFF, 31, 1, 0x1},         {0xFFFFFFFF, 4, 0, 0x0},
        {0xFFFFFFFF, 4, -3, 0x0},         {0x12345678, 32, 8, 0x78}, // start modulo 32
        {0x12345678, 36, 4, 0x7},         {0x12345678, -4, 4, 0x1},  // -4 is bit 28
    };
    for (const auto& c : gets) {
        EXPECT_EQ(c.expected, CBitSet(c.word).GetBits(c.start, c.count))
            << std::hex << "word 0x" << c.word << std::dec << " start " << c.start << " count "
            << c.count;
    }
    const struct
    {
        DWORD word;
        int start, count;
        DWORD value, expected;
    } sets[] = {
        {0x00000000, 8, 4, 0x1F, 0x00000F00}, // value cut to the field
        {0xAAAAAAAA, 8, 8, 0x55, 0xAAAA55AA},
        {0x00000000, 28, 8, 0xFF, 0xF0000000}, // field cut at bit 31
        {0xFFFFFFFF, 4, 0, 0x0, 0xFFFFFFFF},   {0xFFFFFFFF, 4, -1, 0x0, 0xFFFFFFFF},
        {0x12345678, 0, 40, 0xCAFEBABE, 0xCAFEBABE},
        {0x00000000, 32, 4, 0xF, 0x0000000F},  {0x00000000, -1, 1, 0x1, 0x80000000},
    };
    for (const auto& c : sets) {
        CBitSet bits(c.word);
        bits.SetBits(c.start, c.count, c.value);
        EXPECT_EQ(c.expected, bits.GetBits())
            << std::hex << "word 0x" << c.word << " value 0x" << c.value << std::dec << " start "
            << c.start << " count " << c.count;
    }
    CBitSet bits(0xFFFFFFFF);
    bits.ClearBits(0, 16);
    EXPECT_EQ(0xFFFF0000u, bits.GetBits());
    bits.ClearBits(30, 10);
    EXPECT_EQ(0x3FFF0000u, bits.GetBits());
    bits.ClearAllBits();
    EXPECT_EQ(0u, bits.GetBits());
}

TEST(BitSetTest, SingleBitsAndOperators)
{
    CBitSet bits;
    EXPECT_EQ(0u, bits.GetBits());
    EXPECT_EQ(32, bits.GetSize());
    bits.SetAt(31, TRUE);
    EXPECT_EQ(0x80000000u, bits.GetBits());
    EXPECT_EQ(1, bits.GetAt(31)); // 1, not the bit's value
    EXPECT_EQ(1, bits[-1]);
    bits.SetAt(31, FALSE);
    EXPECT_EQ(0u, bits.GetBits());
    bits.SetAt(33, TRUE); // bit 1
    bits.SetAt(3, 2);     // any non-zero value sets
    bits.SetAt(3, TRUE);  // setting twice keeps one bit
    EXPECT_EQ(0xAu, bits.GetBits());
    EXPECT_EQ(1, CBitSet(0x1).GetAt(32));
    EXPECT_EQ(1, CBitSet(0x1)[0]);
    EXPECT_EQ(0, CBitSet(0x1)[3]);
    EXPECT_EQ(1, CBitSet(0xF0).GetAt(4));

    CBitSet a(0x0000FF00), b(a), c;
    EXPECT_EQ(0x0000FF00u, static_cast<DWORD>(b));
    b = 0x00FF00F0u;
    EXPECT_EQ(0x00FF00F0u, b.GetBits());
    EXPECT_EQ(0x0000FF00u, a.GetBits()); // the copy is independent
    c = a;
    c |= b;
    EXPECT_EQ(0x00FFFFF0u, c.GetBits());
    c &= CBitSet(0x0F0F0F0F);
    EXPECT_EQ(0x000F0F00u, c.GetBits());
    EXPECT_EQ(0x000F0F0Fu, (c |= 0x0000000Fu).GetBits());
    EXPECT_EQ(0x00000F0Fu, (c &= 0x0000FFFFu).GetBits());
    c.SetBits(0xDEADBEEF);
    EXPECT_EQ(0xDEADBEEFu, static_cast<DWORD>(c));
}

} // namespace
