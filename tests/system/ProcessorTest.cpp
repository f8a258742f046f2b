// Processor detection. The probe's identification, naming, serial number and clock
// measurement are fed recorded register sets of other processors and a scripted
// counter; the detection itself runs on this machine's processors and is checked
// against what the test reads from CPUID and the registry on its own.
#include <gtest/gtest.h>

#include <Wivo.h>

#include <cpuid.h>
#include <stdio.h>
#include <string.h>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "AfxTestSupport.h"
#include "ProcessorProbeInternal.h"
#include "SystemTestSupport.h"

using wivotest::Join;
using wivotest::Narrow;

namespace {

const CProcessorInfo::Vendor kIntel = CProcessorInfo::vendorIntel;
const CProcessorInfo::Vendor kAMD = CProcessorInfo::vendorAMD;
const CProcessorInfo::Vendor kUnknown = CProcessorInfo::vendorUnknown;
const DWORD kNoExt = 0x80000000, kExt = 0x80000004;

// The registers of one recorded processor; leaves not recorded answer zeros.
class CRecordedCpuid : public ICpuidSource
{
public:
    // Leaf 0, leaf 1 and the highest extended leaf, as most cases need them.
    CRecordedCpuid(const char* vendor, DWORD maxLeaf, DWORD eax1 = 0, DWORD ebx1 = 0,
                   DWORD edx1 = 0, DWORD maxExtended = kNoExt, bool hasCpuid = true)
    {
        m_hasCpuid = hasCpuid;
        DWORD v[3] = {};
        memcpy(v, vendor, strnlen(vendor, 12));
        m_leaves[0] = {maxLeaf, v[0], v[2], v[1]}; // EBX, EDX, ECX spell it
        m_leaves[1] = {eax1, ebx1, 0, edx1};
        m_leaves[0x80000000] = {maxExtended, 0, 0, 0};
    }
    void SetBrand(const char* brand)
    {
        DWORD b[12] = {};
        memcpy(b, brand, strnlen(brand, 48));
        for (DWORD i = 0; i < 3; i++)
            m_leaves[0x80000002 + i] = {b[4 * i], b[4 * i + 1], b[4 * i + 2], b[4 * i + 3]};
    }
    bool Queried(DWORD leaf) const { return m_queried.count(leaf) != 0; }
    BOOL HasCpuid() override { return m_asked = true, m_hasCpuid; }
    void Query(DWORD leaf, DWORD& eax, DWORD& ebx, DWORD& ecx, DWORD& edx) override
    {
        m_queried.insert(leaf);
        const std::array<DWORD, 4> r = m_leaves[leaf];
        eax = r[0], ebx = r[1], ecx = r[2], edx = r[3];
    }

    std::map<DWORD, std::array<DWORD, 4>> m_leaves; // EAX, EBX, ECX, EDX
    std::set<DWORD> m_queried;
    bool m_asked = false, m_hasCpuid;
};

// Counters that move only while the probe sleeps, each sleep by the next scripted
// amounts; every call is logged.
class CScriptedTimer : public ITimerSource
{
public:
    struct Pass
    {
        LONGLONG ticks;
        unsigned long long cycles;
    };

    explicit CScriptedTimer(LONGLONG frequency = 0, std::vector<Pass> passes = {})
        : m_frequency(frequency), m_passes(passes)
    {
    }
    // 50 ms of a 10 MHz counter, and the cycles of a processor at mhz in that time.
    static Pass At(unsigned mhz) { return Pass{500000, mhz * 50000ULL}; }
    static CScriptedTimer AtMHz(unsigned mhz)
    {
        return CScriptedTimer(10000000, {At(mhz), At(mhz), At(mhz)});
    }

    BOOL QueryPerformanceFrequency(LONGLONG& frequency) override
    {
        return m_log += "F ", frequency = m_frequency, m_frequency != 0;
    }
    LONGLONG QueryPerformanceCounter() override { return m_log += "Q ", m_ticks; }
    unsigned __int64 ReadTimeStamp() override { return m_log += "T ", m_cycles; }
    void Sleep(DWORD ms) override
    {
        m_log += "S" + std::to_string(ms) + " ";
        if (m_pass < m_passes.size()) {
            m_ticks += m_passes[m_pass].ticks;
            m_cycles += m_passes[m_pass++].cycles;
        }
    }

    std::string m_log;

private:
    LONGLONG m_frequency;
    std::vector<Pass> m_passes;
    size_t m_pass = 0;
    LONGLONG m_ticks = 1000000;
    unsigned long long m_cycles = 0x7000000000ULL;
};

const char kThreePasses[] = "F Q T S50 Q T Q T S50 Q T Q T S50 Q T ";

/////////////////////////////////////////////////////////////////////////////
// Identification and naming from recorded registers

struct NamingCase
{
    const char* vendor;
    DWORD maxLeaf, eax1, ebx1;
    CProcessorInfo::Vendor vendorExpected;
    WORD family, model, stepping;
    BYTE brandId;
    const wchar_t* name;
    DWORD maxExtended = kNoExt;
    const char* brand = NULL; // recorded in leaves 0x80000002-4 whether or not they count
};

const char kIn[] = "GenuineIntel", kAmd[] = "AuthenticAMD";

const NamingCase kNaming[] = {
    {kIn, 1, 0x0673, 0, kIntel, 6, 7, 3, 0, L"Intel Pentium III"},
    {kIn, 2, 0x0683, 2, kIntel, 6, 8, 3, 2, L"Intel Pentium III"},
    {kIn, 2, 0x0683, 0, kIntel, 6, 8, 3, 0, L"Intel Pentium Family 6 Model 8 Brand ID 0"},
    {kIn, 2, 0x0683, 3, kIntel, 6, 8, 3, 3, L"Intel Celeron"},
    {kIn, 2, 0x0780, 3, kIntel, 7, 8, 0, 3, L"Intel Pentium III Xeon"},
    {kIn, 2, 0x0781, 3, kIntel, 7, 8, 1, 3, L"Intel Celeron"},
    {kIn, 2, 0x06B1, 3, kIntel, 6, 11, 1, 3, L"Intel Pentium III (Model B)"},
    {kIn, 2, 0x06B4, 7, kIntel, 6, 11, 4, 7, L"Intel Pentium III (Model B)"},
    {kIn, 1, 0x0611, 0, kIntel, 6, 1, 1, 0, L"Intel Pentium Pro"},
    {kIn, 2, 0x0633, 0, kIntel, 6, 3, 3, 0, L"Intel Pentium II"},
    {kIn, 2, 0x0652, 0, kIntel, 6, 5, 2, 0, L"Intel Pentium II"},
    {kIn, 2, 0x0665, 0, kIntel, 6, 6, 5, 0, L"Intel Celeron"},
    {kIn, 2, 0x06A1, 0, kIntel, 6, 10, 1, 0, L"Intel Pentium III Xeon (Model A)"},
    {kIn, 1, 0x0460, 0, kIntel, 4, 6, 0, 0, L"Intel i486 Model 6"},
    {kIn, 1, 0x0410, 0, kIntel, 4, 1, 0, 0, L"Intel i486 DX"},
    {kIn, 1, 0x0435, 0, kIntel, 4, 3, 5, 0, L"Intel i486 487/DX2"},
    {kIn, 1, 0x0470, 0, kIntel, 4, 7, 0, 0, L"Intel i486 DX (Write-Back Enhanced)"},
    {kIn, 1, 0x0500, 0, kIntel, 5, 0, 0, 0, L"Intel Pentium Model 0"},
    {kIn, 1, 0x0525, 0, kIntel, 5, 2, 5, 0, L"Intel Pentium 75-200"},
    {kIn, 1, 0x0300, 0, kIntel, 3, 0, 0, 0, L"Intel i386"},
    {kIn, 2, 0x0602, 11, kIntel, 6, 0, 2, 11, L"Intel Xeon MP"},
    {kIn, 2, 0x0681, 11, kIntel, 6, 8, 1, 11, L"Intel Xeon"},
    {kIn, 2, 0x0F82, 12, kIntel, 15, 8, 2, 12, L"Intel Xeon MP"},
    {kIn, 2, 0x0601, 14, kIntel, 6, 0, 1, 14, L"Intel Xeon"},
    {kIn, 2, 0x0F82, 14, kIntel, 15, 8, 2, 14, L"Intel Mobile Pentium 4"},
    {kIn, 2, 0x0F83, 8, kIntel, 15, 8, 3, 8, L"Intel Genuine Processor"},
    {kIn, 2, 0x0F82, 8, kIntel, 15, 8, 2, 8, L"Intel Pentium 4"},
    {kIn, 2, 0x0F90, 13, kIntel, 15, 9, 0, 13, L"Intel Pentium Family 15 Model 9 Brand ID 13"},
    {kIn, 2, 0x0690, 0x12345610, kIntel, 6, 9, 0, 16,
     L"Intel Pentium Family 6 Model 9 Brand ID 16"},
    {kIn, 2, 0x0770, 2, kIntel, 7, 7, 0, 2, L"Intel Pentium Family 7 Model 7 Brand ID 2"},
    // Extended family and model fields are not looked at.
    {kIn, 2, 0x0FF0F82, 9, kIntel, 15, 8, 2, 9, L"Intel Pentium 4"},
    // Without leaf 1 only the vendor is known; an empty vendor is named like Intel's.
    {kIn, 0, 0x0673, 2, kIntel, 0, 0, 0, 0, L"Intel Pentium Family 0 Model 0 Brand ID 0"},
    {"", 1, 0x0543, 0, kUnknown, 5, 4, 3, 0, L"Intel Pentium with MMX"},
    {kAmd, 1, 0x0511, 0, kAMD, 5, 1, 1, 0, L"AMD K5"},
    {kAmd, 1, 0x0F4A, 0x0205, kAMD, 15, 4, 10, 0, L"AMD K5"},
    {kAmd, 1, 0x0494, 0, kAMD, 4, 9, 4, 0, L"AMD Am486/Am5x86"},
    {"CyrixInstead", 1, 0x0520, 0, kUnknown, 5, 2, 0, 0, L"CyrixInstead Family 5 Model 2"},
    {"CyrixInstead", 1, 0x0440, 0, kUnknown, 4, 4, 0, 0, L"CyrixInstead Family 4"},
    {"genuineintel", 1, 0x0673, 0, kUnknown, 6, 7, 3, 0, L"genuineintel Family 6 Model 7"},
    // Brand strings replace the tables; only leading blanks go, and at most 47 stay.
    {kIn, 2, 0x0F27, 0x0E, kIntel, 15, 2, 7, 14, L"Intel(R) Xeon(TM) CPU 2.80GHz  ", kExt,
     "     Intel(R) Xeon(TM) CPU 2.80GHz  "},
    {kAmd, 1, 0x0622, 0, kAMD, 6, 2, 2, 0, L"\tAMD Athlon(tm)", kExt, " \tAMD Athlon(tm)"},
    {kIn, 2, 0x0673, 0, kIntel, 6, 7, 3, 0, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstu",
     kExt, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuv"},
    // Too few extended leaves, or an answer below 0x80000000 (older processors echo a
    // standard leaf): the brand string is not read.
    {kIn, 1, 0x0673, 0, kIntel, 6, 7, 3, 0, L"Intel Pentium III", 0x80000003, "Unread"},
    {kIn, 1, 0x0673, 0, kIntel, 6, 7, 3, 0, L"Intel Pentium III", 0x00000005, "Unread"},
};

TEST(ProcessorProbe, RecordedProcessorsAreIdentifiedAndNamed)
{
    for (const NamingCase& c : kNaming) {
        CRecordedCpuid cpuid(c.vendor, c.maxLeaf, c.eax1, c.ebx1, 0, c.maxExtended);
        if (c.brand != NULL)
            cpuid.SetBrand(c.brand);
        CScriptedTimer timer;
        CProcessorProbe probe;
        probe.Identify(cpuid, timer);

        SCOPED_TRACE(::testing::Message() << std::hex << "signature 0x" << c.eax1 << " EBX 0x"
                                          << c.ebx1);
        EXPECT_EQ(Join({std::string(c.vendor), c.vendorExpected, c.family, c.model, c.stepping,
                        c.brandId, c.name}),
                  Join({probe.m_strVendorId, probe.m_vendor, probe.m_wFamily, probe.m_wModel,
                        probe.m_wStepping, probe.m_nBrandId, probe.m_strName}));
        EXPECT_EQ(c.maxLeaf >= 1, cpuid.Queried(1));
        EXPECT_EQ(c.maxExtended >= kExt, cpuid.Queried(0x80000002));
    }
}

TEST(ProcessorProbe, WithoutCpuidTheTablesNameWhatTheSystemReported)
{
    CRecordedCpuid cpuid("AuthenticAMD", 1, 0x0673, 0, 0x10, kExt, false);
    CScriptedTimer timer = CScriptedTimer::AtMHz(500);
    CProcessorProbe probe;
    probe.m_wFamily = 4;
    probe.m_wModel = 8;
    probe.m_dwFeatures = CProcessorProbe::featureTimeStampCounter;
    probe.Identify(cpuid, timer);
    EXPECT_EQ(0u, cpuid.m_queried.size()) << "leaves queried";
    EXPECT_EQ("Intel i486 DX4", Narrow(probe.m_strName));
    EXPECT_EQ(kUnknown, probe.m_vendor);
    EXPECT_EQ(0, probe.m_wFrequency) << "measured without CPUID";
    EXPECT_EQ("", timer.m_log);
}

// Features and serial number of Intel and AMD register sets.
TEST(ProcessorProbe, FeaturesAndSerialNumber)
{
    struct Case
    {
        const char* vendor;
        DWORD maxLeaf, maxExtended, edx1, edxExtended, features;
        const char* serial; // "" when none may be formed
    };
    const DWORD kPSN = 0x0387FBFF, kNoPSN = kPSN & ~0x40000u;
    const Case cases[] = {
        {kIn, 3, kNoExt, kPSN, 0, kPSN, "0001-06A5-1234-5678-9ABC-DEF0"},
        {kIn, 3, kNoExt, kNoPSN, 0, kNoPSN, ""},
        {kIn, 2, kNoExt, kPSN, 0, kPSN, ""},
        {kIn, 3, 0x80000001, kPSN, 0x20100800, kPSN, "0001-06A5-1234-5678-9ABC-DEF0"},
        {kAmd, 3, 0x80000001, kPSN, 0xC0400800, kPSN | 0xC0400800, ""},
        {kAmd, 3, kNoExt, kNoPSN, 0xC0400800, kNoPSN, ""},
    };
    for (const Case& c : cases) {
        CRecordedCpuid cpuid(c.vendor, c.maxLeaf, 0x000106A5, 0x0000010F, c.edx1, c.maxExtended);
        cpuid.m_leaves[0x80000001] = {0, 0, 0, c.edxExtended};
        cpuid.m_leaves[3] = {0, 0, 0x9ABCDEF0, 0x12345678};
        CScriptedTimer timer;
        CProcessorProbe probe;
        probe.Identify(cpuid, timer);
        SCOPED_TRACE(::testing::Message() << c.vendor << std::hex << " max leaf " << c.maxLeaf
                                          << "/0x" << c.maxExtended << ", leaf 1 EDX 0x" << c.edx1);
        EXPECT_EQ(c.features, probe.m_dwFeatures) << std::hex << "got 0x" << probe.m_dwFeatures;
        EXPECT_EQ(c.serial, Narrow(probe.m_strSerialNumber));
        EXPECT_EQ(c.serial[0] != 0, cpuid.Queried(3));
    }
}

/////////////////////////////////////////////////////////////////////////////
// Clock measurement

TEST(ProcessorProbe, ClockIsMeasuredInThreeTruncatedPasses)
{
    auto at = CScriptedTimer::At;
    const CScriptedTimer::Pass almost2GHz = {500000, 99999950}, acpi = {178977, 25000000};
    struct Case
    {
        const char* what;
        DWORD features;
        LONGLONG frequency;
        std::vector<CScriptedTimer::Pass> passes;
        WORD mhz;
    };
    const Case cases[] = {
        {"2 GHz", 0x10, 10000000, {at(2000), at(2000), at(2000)}, 2000},
        {"per pass truncated", 0x10, 10000000, {almost2GHz, almost2GHz, at(2001)}, 1999},
        {"3.579545 MHz counter", 0x10, 3579545, {acpi, acpi, acpi}, 500},
        {"sum held in 16 bits", 0x10, 10000000, {at(30000), at(30000), at(30000)}, 8154},
        {"counter stood still once", 0x10, 10000000, {at(1500), {0, 75000000}, at(1500)}, 1000},
        {"no time-stamp counter", 0xFFFFFFEF, 10000000, {at(2000), at(2000), at(2000)}, 0},
        {"no performance counter", 0x10, 0, {at(2000), at(2000), at(2000)}, 0},
    };
    for (const Case& c : cases) {
        CScriptedTimer timer(c.frequency, c.passes);
        CProcessorProbe probe;
        probe.m_dwFeatures = c.features;
        probe.MeasureFrequency(timer);
        EXPECT_EQ(c.mhz, probe.m_wFrequency) << c.what;
        const char* log = c.mhz ? kThreePasses : (c.features & 0x10) ? "F " : "";
        EXPECT_EQ(log, timer.m_log) << c.what;
    }
}

/////////////////////////////////////////////////////////////////////////////
// What the system and the registry contribute

const wchar_t kCpu0Key[] = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

CString ReadCpu0String(LPCWSTR name)
{
    WCHAR buffer[256] = {};
    DWORD cb = sizeof(buffer) - sizeof(WCHAR);
    ::RegGetValueW(HKEY_LOCAL_MACHINE, kCpu0Key, name, RRF_RT_REG_SZ, NULL, buffer, &cb);
    return buffer;
}

// The clock the registry gives processor i, 0 when it gives none.
WORD RegistryMHz(int i)
{
    CString key;
    key.Format(L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\%d", i);
    DWORD mhz = 0, cb = sizeof(mhz);
    ::RegGetValueW(HKEY_LOCAL_MACHINE, key, L"~MHz", RRF_RT_REG_DWORD, NULL, &mhz, &cb);
    return LOWORD(mhz);
}

SYSTEM_INFO SystemInfo(DWORD type, WORD level, WORD revision)
{
    SYSTEM_INFO si = {};
    si.dwNumberOfProcessors = 1;
    si.dwProcessorType = type;
    si.wProcessorLevel = level;
    si.wProcessorRevision = revision;
    return si;
}

TEST(ProcessorProbe, SingleProbeTakesTheFamilyFromTheSystem)
{
    const DWORD k9x = VER_PLATFORM_WIN32_WINDOWS, kNT = VER_PLATFORM_WIN32_NT;
    struct Case
    {
        DWORD platform, major, minor, type;
        WORD level, revision, family, model, stepping;
        const wchar_t* name; // NULL: the registry's, which the NT line reads
    };
    const Case cases[] = {
        {k9x, 4, 0, PROCESSOR_INTEL_386, 6, 0x0803, 3, 0, 0, L"Intel i386"},
        {k9x, 4, 10, PROCESSOR_INTEL_486, 6, 0x0803, 4, 0, 0, L"Intel i486 DX"},
        {k9x, 4, 90, PROCESSOR_INTEL_PENTIUM, 6, 0x0803, 5, 0, 0, L"Intel Pentium Model 0"},
        {k9x, 4, 0, 0, 0, 0, 5, 0, 0, L"Intel Pentium Model 0"},
        {kNT, 3, 10, PROCESSOR_INTEL_486, 6, 0x0803, 4, 0, 0, NULL},
        {kNT, 3, 51, PROCESSOR_INTEL_PENTIUM, 6, 0x0803, 6, 8, 3, NULL},
        {kNT, 4, 0, PROCESSOR_INTEL_PENTIUM, 4, 0x0803, 4, 0, 0, NULL},
        {kNT, 5, 0, PROCESSOR_INTEL_PENTIUM, 15, 0x0102, 15, 1, 2, NULL},
        // Not recognised: nothing is found out, not even whether there is CPUID.
        {99, 5, 1, PROCESSOR_INTEL_PENTIUM, 6, 0x0803, 0, 0, 0, L""},
    };
    const CString registryVendor = ReadCpu0String(L"VendorIdentifier");
    const CString registryName = ReadCpu0String(L"ProcessorNameString");
    for (const Case& c : cases) {
        CRecordedCpuid cpuid(kIn, 1, 0x0673, 0, 0, kNoExt, false);
        CScriptedTimer timer;
        CProcessorProbe probe;
        probe.ProbeSingle(SystemInfo(c.type, c.level, c.revision),
                          COSInfo::FromVersionData(c.platform, c.major, c.minor, 1057, 0), cpuid,
                          timer);
        SCOPED_TRACE(::testing::Message() << "platform " << c.platform << " version " << c.major
                                          << "." << c.minor);
        EXPECT_EQ(c.platform != 99, cpuid.m_asked);
        EXPECT_EQ(Join({c.family, c.model, c.stepping, c.name ? CString() : registryVendor}),
                  Join({probe.m_wFamily, probe.m_wModel, probe.m_wStepping, probe.m_strVendorId}));
        if (c.name != NULL || !registryName.IsEmpty()) {
            EXPECT_EQ(Narrow(c.name ? CString(c.name) : registryName), Narrow(probe.m_strName));
        }
    }
}

TEST(ProcessorProbe, MissingOrZeroClockInTheRegistryIsMeasured)
{
    wivotest::SavedRegistryValues mhz(HKEY_LOCAL_MACHINE, kCpu0Key, L"~MHz");
    ASSERT_TRUE(mhz.IsOk()) << "processor 0 has no description key";
    const struct
    {
        bool set;
        DWORD value;
        WORD expected;
        bool measured;
    } cases[] = {{false, 0, 500, true}, {true, 0, 500, true}, {true, 0x000107D0, 2000, false},
                 {true, 1234, 1234, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set ? "~MHz " + std::to_string(c.value) : "no ~MHz");
        if (c.set)
            ASSERT_EQ(ERROR_SUCCESS, mhz.SetDWord(L"~MHz", c.value));
        else
            mhz.Delete(L"~MHz");
        CRecordedCpuid cpuid(kIn, 1, 0x0673, 0, 0x10);
        CScriptedTimer timer = CScriptedTimer::AtMHz(500);
        CProcessorProbe probe;
        probe.ProbeSingle(SystemInfo(PROCESSOR_INTEL_PENTIUM, 6, 0x0703),
                          COSInfo::FromVersionData(VER_PLATFORM_WIN32_NT, 5, 1, 2600, 0), cpuid,
                          timer);
        EXPECT_EQ(c.expected, probe.m_wFrequency);
        EXPECT_EQ(c.measured ? kThreePasses : "", timer.m_log);
    }
}

TEST(ProcessorProbe, HardwareTimerMeasuresThisProcessor)
{
    CHardwareTimer timer;
    CProcessorProbe probe;
    probe.m_dwFeatures = CProcessorProbe::featureTimeStampCounter;
    probe.MeasureFrequency(timer);
    EXPECT_GT(probe.m_wFrequency, 0);
    if (const WORD mhz = RegistryMHz(0)) {
        EXPECT_NEAR((double)mhz, probe.m_wFrequency, mhz / 4.0) << "registry's clock";
    }
}

// Runs a pinned probe on a thread of its own and keeps the mask it was left with.
class CPinnedRun : public IRunnable
{
public:
    explicit CPinnedRun(UINT index) : m_cpuid(kIn, 1, 0x0673) { m_probe.m_nIndex = index; }
    void Run() override
    {
        CScriptedTimer timer;
        m_probe.ProbePinned(COSInfo::FromVersionData(VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0, 0),
                            m_cpuid, timer);
        m_mask = ::SetThreadAffinityMask(::GetCurrentThread(), 1); // the mask it had
    }

    CRecordedCpuid m_cpuid;
    CProcessorProbe m_probe;
    DWORD_PTR m_mask = 0;
};

TEST(ProcessorProbe, PinnedProbeRunsOnProcessorIndexModulo32)
{
    DWORD_PTR process = 0, system = 0;
    ASSERT_TRUE(::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system));
    const struct
    {
        UINT index;
        DWORD_PTR mask; // 0: there is no such processor, the thread stays as it was
    } cases[] = {{0, 1}, {32, 1}, {33, 2}, {1, 2}, {31, 0}};
    for (const auto& c : cases) {
        if (c.mask != 0 ? (c.mask & process) != c.mask : (process & 0x80000000) != 0)
            continue; // needs a second processor, or fewer than 32
        CPinnedRun run(c.index);
        CThinThread thread(&run);
        thread.Start();
        ASSERT_NE(nullptr, thread.GetHandle());
        thread.Join();
        EXPECT_EQ(Join({(long long)(c.mask ? c.mask : process), c.mask != 0,
                        c.mask ? L"Intel Pentium III" : L""}),
                  Join({(long long)run.m_mask, run.m_cpuid.m_asked, run.m_probe.m_strName}))
            << "index " << c.index;
    }
}

/////////////////////////////////////////////////////////////////////////////
// CProcessorInfo

// Fills the record's fields the way the detection does.
class CFilledInfo : public CProcessorInfo
{
public:
    CFilledInfo(Architecture arch, Vendor vendor)
    {
        m_architecture = arch;
        m_vendor = vendor;
        m_strName = L"Name";
        m_wFrequency = 2400;
        m_features = 0x0383FBFF;
        m_strSerialNumber = L"0000-0673-1234-5678-9ABC-DEF0";
    }
};

// Every field of a record, to compare records whole.
std::string Fields(const CProcessorInfo& info)
{
    char text[200];
    snprintf(text, sizeof(text), "%d/%d/%s/%s/%u MHz/%08lX/%s", (int)info.GetArchitecture(),
             (int)info.GetVendor(), Narrow(info.GetArchitectureName()).c_str(),
             Narrow(info.GetVendorName()).c_str(), (unsigned)info.GetFrequency(),
             (unsigned long)info.GetFeatures().GetBits(), Narrow(info.GetName()).c_str());
    return text + Narrow(info.GetSerialNumber());
}

TEST(ProcessorInfo, DefaultsNamesAndCopies)
{
    EXPECT_EQ("0/0/(Unbekannt)/(Unbekannt)/0 MHz/00000000/", Fields(CProcessorInfo()));
    const struct
    {
        CProcessorInfo::Architecture arch;
        CProcessorInfo::Vendor vendor;
        const char* fields;
    } cases[] = {
        {CProcessorInfo::archUnknown, kUnknown, "0/0/(Unbekannt)/(Unbekannt)"},
        {CProcessorInfo::archX86, kIntel, "1/1/x86/Intel Corporation"},
        {CProcessorInfo::archX86, kAMD, "1/2/x86/Advanced Micro Devices, Inc."},
        {(CProcessorInfo::Architecture)2, (CProcessorInfo::Vendor)3, "2/3/(Unbekannt)/(Unbekannt)"},
    };
    for (const auto& c : cases) {
        // Copying is written by hand: every field must come along.
        const CFilledInfo info(c.arch, c.vendor);
        CProcessorInfo copy(info), assigned;
        assigned = copy;
        const std::string expected =
            std::string(c.fields) + "/2400 MHz/0383FBFF/Name0000-0673-1234-5678-9ABC-DEF0";
        EXPECT_EQ(expected, Fields(info));
        EXPECT_EQ(expected, Fields(copy));
        EXPECT_EQ(expected, Fields(assigned));
    }
}

/////////////////////////////////////////////////////////////////////////////
// Detection on this machine; many threads asking at once are tested in SystemConcurrencyTest.

TEST(ProcessorDetection, OneRecordPerProcessorMatchingTheHardware)
{
    SYSTEM_INFO si;
    ::GetSystemInfo(&si);
    ASSERT_EQ(si.dwNumberOfProcessors, CSystem::GetProcessorCount());

    // What the processor says, read here independently of the library.
    unsigned maxLeaf, a, b, c, d, edx1, maxExtended, edxExtended = 0, r[12] = {};
    char vendor[13] = {}, brand[49] = {};
    __cpuid(0, maxLeaf, b, c, d);
    memcpy(vendor, &b, 4), memcpy(vendor + 4, &d, 4), memcpy(vendor + 8, &c, 4);
    __cpuid(1, a, b, c, edx1);
    __cpuid(0x80000000, maxExtended, b, c, d);
    if (maxExtended >= 0x80000001)
        __cpuid(0x80000001, a, b, c, edxExtended);
    for (unsigned i = 0; maxExtended >= 0x80000004 && i < 3; i++)
        __cpuid(0x80000002 + i, r[4 * i], r[4 * i + 1], r[4 * i + 2], r[4 * i + 3]);
    memcpy(brand, r, 47);
    const char* trimmed = brand + strspn(brand, " ");
    const CProcessorInfo::Vendor expectedVendor = !strcmp(vendor, "GenuineIntel")   ? kIntel
                                                  : !strcmp(vendor, "AuthenticAMD") ? kAMD
                                                                                    : kUnknown;
    const DWORD features = edx1 | (expectedVendor == kAMD ? edxExtended : 0);

    const CArray<CProcessorInfo, CProcessorInfo&>& all = CSystem::GetProcessorsInfos();
    ASSERT_EQ((INT_PTR)si.dwNumberOfProcessors, (INT_PTR)all.GetSize());
    for (int i = 0; i < all.GetSize(); i++) {
        const CProcessorInfo& info = all.GetData()[i];
        SCOPED_TRACE("processor " + std::to_string(i));
        EXPECT_EQ(Join({CProcessorInfo::archX86, expectedVendor, (long long)features}),
                  Join({info.GetArchitecture(), info.GetVendor(), info.GetFeatures().GetBits()}))
            << vendor;
        EXPECT_FALSE(info.GetName().IsEmpty());
        if (*trimmed != 0) {
            EXPECT_EQ(trimmed, Narrow(info.GetName()));
        }
        if (expectedVendor != kIntel || !(edx1 & 0x40000) || maxLeaf < 3) {
            EXPECT_TRUE(info.GetSerialNumber().IsEmpty()) << Narrow(info.GetSerialNumber());
        }
        // The registry's clock, where it has one, is the one reported.
        EXPECT_GT(info.GetFrequency(), 0);
        if (const WORD mhz = RegistryMHz(i)) {
            EXPECT_EQ(mhz, info.GetFrequency());
        }
    }
    // Later calls are served from the cache.
    EXPECT_EQ(all.GetData(), &CSystem::GetProcessorInfo());
    EXPECT_EQ(&all, &CSystem::GetProcessorsInfos());
    EXPECT_EQ(1, CSystem::GetProcessorDetectionCount());
}

} // namespace
