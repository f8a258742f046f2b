// Tests of CVersion: the 64-bit layout, comparison part by part, text.
#include <gtest/gtest.h>

#include "Version.h"
#include "AfxTestSupport.h"

using wivotest::Join;
using wivotest::Narrow;

namespace {

const char kUndefined[] = "(Undefiniert)";

TEST(VersionTest, PackedLayoutAndSignExtendedParts)
{
    const struct
    {
        CVersion version;
        unsigned long long bits;
        short major, minor, build, revision;
    } cases[] = {
        {CVersion(1, 2, 3, 4), 0x0001000200030004ull, 1, 2, 3, 4},
        {CVersion(1, 2, 3), 0x000100020003FFFFull, 1, 2, 3, -1},
        {CVersion(-2, 0), 0xFFFE0000FFFFFFFFull, -2, 0, -1, -1},
        {CVersion(0x7FFF, -32768, 0, 1), 0x7FFF800000000001ull, 0x7FFF, -32768, 0, 1},
        {CVersion(), 0xFFFFFFFFFFFFFFFFull, -1, -1, -1, -1},
        {CVersion::undefined, 0xFFFFFFFFFFFFFFFFull, -1, -1, -1, -1},
        {CVersion::null, 0x0ull, 0, 0, 0, 0},
        {CVersion((__int64)0x123456789ABCDEF0ull), 0x123456789ABCDEF0ull, 0x1234, 0x5678,
         -25924, -8464},
        {CVersion((__int64)0x8000000000000000ull), 0x8000000000000000ull, -32768, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << "0x" << c.bits);
        EXPECT_EQ((__int64)c.bits, c.version.GetVersion());
        CVersion v = c.version; // the conversions are not const
        EXPECT_EQ((__int64)c.bits, static_cast<__int64>(v));
        EXPECT_EQ(c.bits, static_cast<unsigned __int64>(v));
        EXPECT_EQ(c.major, c.version.GetMajor());
        EXPECT_EQ(c.minor, c.version.GetMinor());
        EXPECT_EQ(c.build, c.version.GetBuild());
        EXPECT_EQ(c.revision, c.version.GetRevision());
    }

    CVersion v, w(1, 1);
    v = (__int64)0x0005000600070008LL;
    EXPECT_EQ(0x0005000600070008LL, v.GetVersion());
    w = v;
    EXPECT_TRUE(w == v);
    w = CVersion::null;
    EXPECT_EQ(0LL, w.GetVersion());
    EXPECT_EQ(0x0005000600070008LL, v.GetVersion()); // the source is unchanged
}

TEST(VersionTest, ComparesPartByPart)
{
    const struct
    {
        CVersion a, b;
        int expected;
    } cases[] = {
        {CVersion(1, 0), CVersion(1, 0, 0, 0), -1}, // undefined is below 0
        {CVersion(1, 0), CVersion(1, 0, -1, -1), 0},
        {CVersion(2, 0), CVersion(1, 9, 9, 9), 1},
        {CVersion(1, 10), CVersion(1, 9), 1},
        {CVersion(1, -2), CVersion(1, 0), -1}, // packed value would say above
        {CVersion(1, 2, 3, -5), CVersion(1, 2, 3, 0), -1},
        {CVersion(1, -32768), CVersion(1, 0x7FFF), -1},
        {CVersion(-1, 5), CVersion(0, 0), -1},
        {CVersion::undefined, CVersion::null, -1},
        {CVersion(3, 1, 4, 1), CVersion(3, 1, 4, 1), 0},
        {CVersion(3, 1, 4, 2), CVersion(3, 1, 4, 1), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.a.ToString()) + " vs " + Narrow(c.b.ToString()));
        EXPECT_EQ(c.expected, c.a.CompareTo(c.b));
        EXPECT_EQ(-c.expected, c.b.CompareTo(c.a));
        // ==, !=, <, >, <=, >=
        EXPECT_EQ(Join({c.expected == 0, c.expected != 0, c.expected < 0, c.expected > 0,
                        c.expected <= 0, c.expected >= 0}),
                  Join({c.a == c.b, c.a != c.b, c.a < c.b, c.a > c.b, c.a <= c.b, c.a >= c.b}));
    }
}

TEST(VersionTest, ToStringFields)
{
    // Every field mask for a version with all four parts: the build bit (4) brings major
    // and minor along, the revision bit (8) alone does too but leaves the build out.
    const char* const allParts[16] = {"",      "1",      "2",       "1.2",     "1.2.3",  "1.2.3",
                                      "1.2.3", "1.2.3",  "1.2.4",   "1.2.4",   "1.2.4",  "1.2.4",
                                      "1.2.3.4", "1.2.3.4", "1.2.3.4", "1.2.3.4"};
    for (int fields = 0; fields < 16; fields++)
        EXPECT_EQ(allParts[fields], Narrow(CVersion(1, 2, 3, 4).ToString(fields))) << fields;
    const struct
    {
        CVersion version;
        int fields;
        const char* expected;
    } cases[] = {
        {CVersion(1, 2), 15, "1.2"}, {CVersion(1, 2, 3), 15, "1.2.3"},
        {CVersion(1, 2, -1, 4), 15, "1.2"}, // undefined build ends the text
        {CVersion(1, 2, -1, 4), 8, "1.2.4"}, {CVersion(5, -1, 3), 15, kUndefined},
        {CVersion(5, -1, 3), 1, "5"}, {CVersion(5, -1, 3), 2, kUndefined},
        {CVersion(-1, 2), 2, "2"}, {CVersion(-1, 2), 1, kUndefined},
        {CVersion(), 15, kUndefined}, {CVersion::null, 15, "0.0.0.0"},
        {CVersion(-2, 0), 15, "-2.0"}, {CVersion(1, 2, 3, -7), 15, "1.2.3.-7"},
        {CVersion(-32768, 0, 32767, 0), 15, "-32768.0.32767.0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, Narrow(c.version.ToString(c.fields)))
            << std::hex << "value 0x" << c.version.GetVersion() << std::dec << " fields "
            << c.fields;
    }
    EXPECT_EQ("1.2.3.4", Narrow(CVersion(1, 2, 3, 4).ToString()));
    EXPECT_EQ(kUndefined, Narrow(CVersion::undefined.ToString()));
}

} // namespace
