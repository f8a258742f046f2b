// Tests of CVersion: the 64-bit layout, comparison part by part, text.
#include <gtest/gtest.h>

#include "Version.h"
#include "TestSupport.h"

using wivotest::Narrow;

namespace {

const char kUndefined[] = "(Undefiniert)";

TEST(VersionTest, PackedLayout)
{
    struct {
        CVersion version;
        unsigned long long bits;
    } const cases[] = {
        {CVersion(1, 2, 3, 4), 0x0001000200030004ull},
        {CVersion(1, 2, 3), 0x000100020003FFFFull},
        {CVersion(1, 2), 0x00010002FFFFFFFFull},
        {CVersion(-2, 0), 0xFFFE0000FFFFFFFFull},
        {CVersion(0x7FFF, -32768, 0, 1), 0x7FFF800000000001ull},
        {CVersion(), 0xFFFFFFFFFFFFFFFFull},
        {CVersion::undefined, 0xFFFFFFFFFFFFFFFFull},
        {CVersion::null, 0x0ull},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<__int64>(c.bits), c.version.GetVersion())
            << std::hex << "expected 0x" << c.bits;
    }

    CVersion v(-2, 0);
    EXPECT_EQ(-2, v.GetMajor());
    EXPECT_EQ(0, v.GetMinor());
    EXPECT_EQ(-1, v.GetBuild());
    EXPECT_EQ(-1, v.GetRevision());
}

TEST(VersionTest, PartsAreSignExtended)
{
    CVersion v(static_cast<__int64>(0x123456789ABCDEF0ull));
    EXPECT_EQ(0x1234, v.GetMajor());
    EXPECT_EQ(0x5678, v.GetMinor());
    EXPECT_EQ(-25924, v.GetBuild());      // 0x9ABC
    EXPECT_EQ(-8464, v.GetRevision());    // 0xDEF0
    EXPECT_EQ(static_cast<__int64>(0x123456789ABCDEF0ull), static_cast<__int64>(v));

    CVersion top(static_cast<__int64>(0x8000000000000000ull));
    EXPECT_EQ(-32768, top.GetMajor());
    EXPECT_EQ(0, top.GetRevision());
}

TEST(VersionTest, ConversionAndAssignment)
{
    CVersion v;
    EXPECT_EQ(-1LL, static_cast<__int64>(v));
    EXPECT_EQ(0xFFFFFFFFFFFFFFFFull, static_cast<unsigned __int64>(v));

    v = static_cast<__int64>(0x0005000600070008LL);
    EXPECT_EQ(5, v.GetMajor());
    EXPECT_EQ(8, v.GetRevision());

    CVersion w(1, 1);
    w = v;
    EXPECT_TRUE(w == v);
    w = CVersion::null;
    EXPECT_EQ(0LL, w.GetVersion());
    EXPECT_EQ(0x0005000600070008LL, v.GetVersion());   // the source is unchanged
}

TEST(VersionTest, ComparesPartByPart)
{
    struct {
        CVersion a, b;
        int expected;
    } const cases[] = {
        {CVersion(1, 0), CVersion(1, 0, 0, 0), -1},      // undefined is below 0
        {CVersion(1, 0), CVersion(1, 0, -1, -1), 0},
        {CVersion(2, 0), CVersion(1, 9, 9, 9), 1},
        {CVersion(1, 10), CVersion(1, 9), 1},
        {CVersion(1, -2), CVersion(1, 0), -1},            // packed value would say above
        {CVersion(1, 2, 3, -5), CVersion(1, 2, 3, 0), -1},
        {CVersion(1, -32768), CVersion(1, 0x7FFF), -1},
        {CVersion(-1, 5), CVersion(0, 0), -1},
        {CVersion::undefined, CVersion::null, -1},
        {CVersion(3, 1, 4, 1), CVersion(3, 1, 4, 1), 0},
        {CVersion(3, 1, 4, 2), CVersion(3, 1, 4, 1), 1},
    };
    for (const auto& c : cases) {
        const std::string what = Narrow(c.a.ToString()) + " vs " + Narrow(c.b.ToString());
        EXPECT_EQ(c.expected, c.a.CompareTo(c.b)) << what;
        EXPECT_EQ(-c.expected, c.b.CompareTo(c.a)) << what;
        EXPECT_EQ(c.expected == 0, c.a == c.b) << what;
        EXPECT_EQ(c.expected != 0, c.a != c.b) << what;
        EXPECT_EQ(c.expected < 0, c.a < c.b) << what;
        EXPECT_EQ(c.expected > 0, c.a > c.b) << what;
        EXPECT_EQ(c.expected <= 0, c.a <= c.b) << what;
        EXPECT_EQ(c.expected >= 0, c.a >= c.b) << what;
    }
}

TEST(VersionTest, ToStringFields)
{
    struct {
        CVersion version;
        int fields;
        const char* expected;
    } const cases[] = {
        {CVersion(1, 2), 15, "1.2"},
        {CVersion(1, 2, 3), 15, "1.2.3"},
        {CVersion(1, 2, -1, 4), 15, "1.2"},              // undefined build ends the text
        {CVersion(1, 2, -1, 4), 8, "1.2.4"},
        {CVersion(5, -1, 3), 15, kUndefined},
        {CVersion(5, -1, 3), 1, "5"},
        {CVersion(5, -1, 3), 2, kUndefined},
        {CVersion(-1, 2), 2, "2"},
        {CVersion(-1, 2), 1, kUndefined},
        {CVersion(), 15, kUndefined},
        {CVersion::undefined, 15, kUndefined},
        {CVersion::null, 15, "0.0.0.0"},
        {CVersion(-2, 0), 15, "-2.0"},
        {CVersion(1, 2, 3, -7), 15, "1.2.3.-7"},
        {CVersion(-32768, 0, 32767, 0), 15, "-32768.0.32767.0"},
    };
    // Every field mask for a version with all four parts: the build bit (4) brings major
    // and minor along, the revision bit (8) alone does too but leaves the build out.
    const char* const allParts[16] = {"", "1", "2", "1.2", "1.2.3", "1.2.3", "1.2.3", "1.2.3",
                                      "1.2.4", "1.2.4", "1.2.4", "1.2.4", "1.2.3.4", "1.2.3.4",
                                      "1.2.3.4", "1.2.3.4"};
    for (int fields = 0; fields < 16; fields++)
        EXPECT_EQ(allParts[fields], Narrow(CVersion(1, 2, 3, 4).ToString(fields))) << fields;
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, Narrow(c.version.ToString(c.fields)))
            << std::hex << "value 0x" << c.version.GetVersion() << std::dec << " fields "
            << c.fields;
    }
    EXPECT_EQ("1.2.3.4", Narrow(CVersion(1, 2, 3, 4).ToString()));
    EXPECT_EQ(kUndefined, Narrow(CVersion::undefined.ToString()));
}

} // namespace
