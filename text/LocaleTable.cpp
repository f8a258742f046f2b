// LocaleTable.cpp - the library's built-in table of locales: for each primary
// language its rows with language and country code, script and sort.
#include "LocaleInternal.h"

#include <wchar.h>

namespace LocaleTable {

namespace {

struct Language
{
    WORD primaryLanguage;
    WORD firstRow;
    WORD rowCount;
};

// Grouped by primary language in the order of kLanguages. Within a language the
// order matters: the first row with a wanted LCID wins, so a legacy row or an
// alternative code placed before another row with the same LCID shadows it.
constexpr Row kRows[] = {
    { 0x1401, L"ar", L"DZ", 0 },
    { 0x3C01, L"ar", L"BH", 0 },
    { 0x0C01, L"ar", L"EG", 0 },
    { 0x0801, L"ar", L"IQ", 0 },
    { 0x2C01, L"ar", L"JO", 0 },
    { 0x3401, L"ar", L"KW", 0 },
    { 0x3001, L"ar", L"LB", 0 },
    { 0x1001, L"ar", L"LY", 0 },
    { 0x1801, L"ar", L"MA", 0 },
    { 0x2001, L"ar", L"OM", 0 },
    { 0x4001, L"ar", L"QA", 0 },
    { 0x0401, L"ar", L"SA", 0 },
    { 0x2801, L"ar", L"SY", 0 },
    { 0x1C01, L"ar", L"TN", 0 },
    { 0x3801, L"ar", L"AE", 0 },
    { 0x2401, L"ar", L"YE", 0 },
    { 0x0001, L"ar", L"", 0 },

    { 0x0402, L"bg", L"BG", 0 },
    { 0x0002, L"bg", L"", 0 },

    { 0x0403, L"ca", L"ES", 0 },
    { 0x0003, L"ca", L"", 0 },

    { 0x0804, L"zh", L"CN", kHans | kImplicitScript },
    { 0x0C04, L"zh", L"HK", kHant | kImplicitScript },
    { 0x1404, L"zh", L"MO", kHant | kImplicitScript },
    { 0x1004, L"zh", L"SG", kHans | kImplicitScript },
    { 0x0404, L"zh", L"TW", kHant | kImplicitScript },
    { 0x20404, L"zh", L"TW", kHant | kSortStroke },
    { 0x30404, L"zh", L"TW", kHant | 0x800 },
    { 0x0004, L"zh", L"CHS", kLegacy },
    { 0x0004, L"zh", L"", kHans | kImplicitScript },
    { 0x7C04, L"zh", L"CHT", kLegacy },
    { 0x7C04, L"zh", L"TW", kHant | kImplicitScript },

    { 0x0405, L"cs", L"CZ", 0 },
    { 0x0005, L"cs", L"", 0 },

    { 0x0406, L"da", L"DK", 0 },
    { 0x0006, L"da", L"", 0 },

    { 0x0C07, L"de", L"AT", 0 },
    { 0x0407, L"de", L"DE", 0 },
    { 0x1407, L"de", L"LI", 0 },
    { 0x1007, L"de", L"LU", 0 },
    { 0x0807, L"de", L"CH", 0 },
    { 0x0007, L"de", L"", 0 },

    { 0x0408, L"el", L"GR", 0 },
    { 0x0008, L"el", L"", 0 },

    { 0x0C09, L"en", L"AU", 0 },
    { 0x2809, L"en", L"BZ", 0 },
    { 0x1009, L"en", L"CA", 0 },
    { 0x2409, L"en", L"CB", kLegacy },
    { 0x2409, L"en", L"VI", 0 },
    { 0x3C09, L"en", L"HK", 0 },
    { 0x4009, L"en", L"IN", 0 },
    { 0x3809, L"en", L"ID", 0 },
    { 0x1809, L"en", L"IE", 0 },
    { 0x2009, L"en", L"JM", 0 },
    { 0x4409, L"en", L"MY", 0 },
    { 0x1409, L"en", L"NZ", 0 },
    { 0x3409, L"en", L"PH", 0 },
    { 0x4809, L"en", L"SG", 0 },
    { 0x1C09, L"en", L"ZA", 0 },
    { 0x2C09, L"en", L"TT", 0 },
    { 0x0809, L"en", L"GB", 0 },
    { 0x0409, L"en", L"US", 0 },
    { 0x3009, L"en", L"ZW", 0 },
    { 0x0009, L"en", L"", 0 },

    { 0x2C0A, L"es", L"AR", 0 },
    { 0x400A, L"es", L"BO", 0 },
    { 0x340A, L"es", L"CL", 0 },
    { 0x240A, L"es", L"CO", 0 },
    { 0x140A, L"es", L"CR", 0 },
    { 0x1C0A, L"es", L"DO", 0 },
    { 0x300A, L"es", L"EC", 0 },
    { 0x440A, L"es", L"SV", 0 },
    { 0x100A, L"es", L"GT", 0 },
    { 0x480A, L"es", L"HN", 0 },
    { 0x080A, L"es", L"MX", 0 },
    { 0x4C0A, L"es", L"NI", 0 },
    { 0x180A, L"es", L"PA", 0 },
    { 0x3C0A, L"es", L"PY", 0 },
    { 0x280A, L"es", L"PE", 0 },
    { 0x500A, L"es", L"PR", 0 },
    { 0x0C0A, L"es", L"ES", 0x200 | kImplicitScript },
    { 0x040A, L"es", L"ES", kSortTraditional },
    { 0x540A, L"es", L"US", 0 },
    { 0x380A, L"es", L"UY", 0 },
    { 0x200A, L"es", L"VE", 0 },
    { 0x000A, L"es", L"", 0 },

    { 0x040B, L"fi", L"FI", 0 },
    { 0x000B, L"fi", L"", 0 },

    { 0x080C, L"fr", L"BE", 0 },
    { 0x2C0C, L"fr", L"CM", 0 },
    { 0x0C0C, L"fr", L"CA", 0 },
    { 0x240C, L"fr", L"CD", 0 },
    { 0x040C, L"fr", L"FR", 0 },
    { 0x300C, L"fr", L"CI", 0 },
    { 0x3C0C, L"fr", L"HT", 0 },
    { 0x140C, L"fr", L"LU", 0 },
    { 0x340C, L"fr", L"ML", 0 },
    { 0x180C, L"fr", L"MC", 0 },
    { 0x380C, L"fr", L"MA", 0 },
    { 0xE40C, L"fr", L"DZ", 0 },
    { 0x200C, L"fr", L"RE", 0 },
    { 0x280C, L"fr", L"SN", 0 },
    { 0x100C, L"fr", L"CH", 0 },
    { 0x1C0C, L"fr", L"GP", 0 },
    { 0xE40C, L"fr", L"TN", 0 },
    { 0x1C0C, L"fr", L"MQ", 0 },
    { 0xE40C, L"fr", L"MR", 0 },
    { 0x000C, L"fr", L"", 0 },

    { 0x040D, L"he", L"IL", 0 },
    { 0x000D, L"he", L"", 0 },
    { 0x040D, L"iw", L"IL", 0 },
    { 0x000D, L"iw", L"", 0 },

    { 0x040E, L"hu", L"HU", 0 },
    { 0x000E, L"hu", L"", 0 },

    { 0x040F, L"is", L"IS", 0 },
    { 0x000F, L"is", L"", 0 },

    { 0x0410, L"it", L"IT", 0 },
    { 0x0810, L"it", L"CH", 0 },
    { 0x0010, L"it", L"", 0 },

    { 0x0411, L"ja", L"JP", 0 },
    { 0x0011, L"ja", L"", 0 },

    { 0x0412, L"ko", L"KR", 0 },
    { 0x0012, L"ko", L"", 0 },

    { 0x0813, L"nl", L"BE", 0 },
    { 0x0413, L"nl", L"NL", 0 },
    { 0x0013, L"nl", L"", 0 },

    { 0x0414, L"nb", L"NO", 0 },
    { 0x0414, L"nb", L"", 0 },
    { 0x0814, L"nn", L"NO", 0 },
    { 0x0814, L"nn", L"", 0 },
    { 0x0414, L"no", L"NO", 0 },
    { 0x0014, L"no", L"", 0 },

    { 0x0415, L"pl", L"PL", 0 },
    { 0x0015, L"pl", L"", 0 },

    { 0x0416, L"pt", L"BR", 0 },
    { 0x0816, L"pt", L"PT", 0 },
    { 0x0016, L"pt", L"", 0 },

    { 0x0417, L"rm", L"CH", 0 },
    { 0x0017, L"rm", L"", 0 },

    { 0x0818, L"ro", L"MD", 0 },
    { 0x0418, L"ro", L"RO", 0 },
    { 0x0018, L"ro", L"", 0 },

    { 0x0819, L"ru", L"MD", 0 },
    { 0x0419, L"ru", L"RU", 0 },
    { 0x0019, L"ru", L"", 0 },

    { 0x101A, L"hr", L"BA", 0 },
    { 0x041A, L"hr", L"HR", 0 },
    { 0x001A, L"hr", L"", 0 },
    { 0x141A, L"bs", L"BA", 0 },
    { 0x141A, L"bs", L"", 0 },
    { 0x0C1A, L"sr", L"SP", kCyrillic | kLegacy },
    { 0x0C1A, L"sr", L"YU", 0 },
    { 0x0C1A, L"sr", L"", 0 },
    { 0x081A, L"sr", L"SP", kLatin | kLegacy },
    { 0x081A, L"sh", L"YU", 0 },
    { 0x081A, L"sh", L"", 0 },

    { 0x041B, L"sk", L"SK", 0 },
    { 0x001B, L"sk", L"", 0 },

    { 0x041C, L"sq", L"AL", 0 },
    { 0x001C, L"sq", L"", 0 },

    { 0x081D, L"sv", L"FI", 0 },
    { 0x041D, L"sv", L"SE", 0 },
    { 0x001D, L"sv", L"", 0 },

    { 0x041E, L"th", L"TH", 0 },
    { 0x001E, L"th", L"", 0 },

    { 0x041F, L"tr", L"TR", 0 },
    { 0x001F, L"tr", L"", 0 },

    { 0x0820, L"ur", L"IN", 0 },
    { 0x0420, L"ur", L"PK", 0 },
    { 0x0020, L"ur", L"", 0 },

    { 0x0421, L"id", L"ID", 0 },
    { 0x0021, L"id", L"", 0 },
    { 0x0421, L"in", L"ID", 0 },
    { 0x0021, L"in", L"", 0 },

    { 0x0422, L"uk", L"UA", 0 },
    { 0x0022, L"uk", L"", 0 },

    { 0x0423, L"be", L"BY", 0 },
    { 0x0023, L"be", L"", 0 },

    { 0x0424, L"sl", L"SI", 0 },
    { 0x0024, L"sl", L"", 0 },

    { 0x0425, L"et", L"EE", 0 },
    { 0x0025, L"et", L"", 0 },

    { 0x0426, L"lv", L"LV", 0 },
    { 0x0026, L"lv", L"", 0 },

    { 0x0427, L"lt", L"LT", 0 },
    { 0x0027, L"lt", L"", 0 },

    { 0x0428, L"tg", L"TJ", 0 },
    { 0x0028, L"tg", L"", 0 },

    { 0x0429, L"fa", L"IR", 0 },
    { 0x0029, L"fa", L"", 0 },

    { 0x042A, L"vi", L"VN", 0 },
    { 0x002A, L"vi", L"", 0 },

    { 0x042B, L"hy", L"AM", 0 },
    { 0x002B, L"hy", L"", 0 },

    { 0x082C, L"az", L"AZ", kCyrillic },
    { 0x042C, L"az", L"AZ", kLatin | kImplicitScript },
    { 0x002C, L"az", L"", 0 },

    { 0x042D, L"eu", L"ES", 0 },
    { 0x002D, L"eu", L"", 0 },

    { 0x042E, L"wen", L"DE", 0 },
    { 0x002E, L"wen", L"", 0 },

    { 0x042F, L"mk", L"MK", 0 },
    { 0x002F, L"mk", L"", 0 },

    { 0x0430, L"bnt", L"TZ", 0 },
    { 0x0030, L"bnt", L"", 0 },

    { 0x0431, L"ts", L"ZA", 0 },
    { 0x0031, L"ts", L"", 0 },

    { 0x0432, L"tn", L"BW", 0 },
    { 0x0032, L"tn", L"", 0 },

    { 0x0433, L"ve", L"ZA", 0 },
    { 0x0033, L"ve", L"", 0 },

    { 0x0434, L"xh", L"ZA", 0 },
    { 0x0034, L"xh", L"", 0 },

    { 0x0435, L"zu", L"ZA", 0 },
    { 0x0035, L"zu", L"", 0 },

    { 0x0436, L"af", L"ZA", 0 },
    { 0x0036, L"af", L"", 0 },

    { 0x0437, L"ka", L"GE", 0 },
    { 0x0037, L"ka", L"", 0 },

    { 0x0438, L"fo", L"FO", 0 },
    { 0x0038, L"fo", L"", 0 },

    { 0x0439, L"hi", L"IN", 0 },
    { 0x0039, L"hi", L"", 0 },

    { 0x043A, L"mt", L"MT", 0 },
    { 0x003A, L"mt", L"", 0 },

    { 0x083C, L"ga", L"IE", 0 },
    { 0x003C, L"ga", L"", 0 },
    { 0x043C, L"gd", L"GB", 0 },
    { 0x003C, L"gd", L"", 0 },

    { 0x043D, L"yi", L"IL", 0 },
    { 0x003D, L"yi", L"", 0 },
    { 0x043D, L"ji", L"IL", 0 },
    { 0x003D, L"ji", L"", 0 },

    { 0x083E, L"ms", L"BN", 0 },
    { 0x043E, L"ms", L"MY", 0 },
    { 0x003E, L"ms", L"", 0 },

    { 0x043F, L"kk", L"KZ", 0 },
    { 0x003F, L"kk", L"", 0 },

    { 0x0440, L"ky", L"KG", 0 },
    { 0x0040, L"ky", L"", 0 },

    { 0x0441, L"sw", L"KE", 0 },
    { 0x0041, L"sw", L"", 0 },

    { 0x0442, L"tk", L"TM", 0 },
    { 0x0042, L"tk", L"", 0 },

    { 0x0843, L"uz", L"UZ", kCyrillic },
    { 0x0443, L"uz", L"UZ", kLatin | kImplicitScript },
    { 0x0843, L"uz", L"", kCyrillic },
    { 0x0043, L"uz", L"", kLatin | kImplicitScript },

    { 0x0444, L"tt", L"RU", 0 },
    { 0x0044, L"tt", L"", 0 },

    { 0x0445, L"bn", L"IN", 0 },
    { 0x0845, L"bn", L"BD", 0 },
    { 0x0045, L"bn", L"", 0 },

    { 0x0446, L"pa", L"IN", 0 },
    { 0x0846, L"pa", L"PK", 0 },
    { 0x0046, L"pa", L"", 0 },

    { 0x0447, L"gu", L"IN", 0 },
    { 0x0047, L"gu", L"", 0 },

    { 0x0448, L"or", L"IN", 0 },
    { 0x0048, L"or", L"", 0 },

    { 0x0449, L"ta", L"IN", 0 },
    { 0x0049, L"ta", L"", 0 },

    { 0x044A, L"te", L"IN", 0 },
    { 0x004A, L"te", L"", 0 },

    { 0x044B, L"kn", L"IN", 0 },
    { 0x004B, L"kn", L"", 0 },

    { 0x044C, L"ml", L"IN", 0 },
    { 0x004C, L"ml", L"", 0 },

    { 0x044D, L"as", L"IN", 0 },
    { 0x004D, L"as", L"", 0 },

    { 0x044E, L"mr", L"IN", 0 },
    { 0x004E, L"mr", L"", 0 },

    { 0x044F, L"sa", L"IN", 0 },
    { 0x004F, L"sa", L"", 0 },

    { 0x0450, L"mn", L"MN", kLegacy },
    { 0x0450, L"mn", L"MN", kCyrillic | kImplicitScript },
    { 0x0050, L"mn", L"", 0 },

    { 0x0851, L"bo", L"BT", 0 },
    { 0x0451, L"bo", L"CN", 0 },
    { 0x0051, L"bo", L"", 0 },

    { 0x0452, L"cy", L"GB", 0 },
    { 0x0052, L"cy", L"", 0 },

    { 0x0453, L"km", L"KH", 0 },
    { 0x0053, L"km", L"", 0 },

    { 0x0454, L"lo", L"LA", 0 },
    { 0x0054, L"lo", L"", 0 },

    { 0x0455, L"my", L"MM", 0 },
    { 0x0055, L"my", L"", 0 },

    { 0x0456, L"gl", L"ES", 0 },
    { 0x0056, L"gl", L"", 0 },

    { 0x0457, L"kok", L"IN", 0 },
    { 0x0057, L"kok", L"", 0 },

    { 0x0458, L"mni", L"IN", 0 },
    { 0x0058, L"mni", L"", 0 },

    { 0x0459, L"sd", L"IN", 0 },
    { 0x0859, L"sd", L"PK", 0 },
    { 0x0059, L"sd", L"", 0 },

    { 0x045A, L"syr", L"SY", 0 },
    { 0x005A, L"syr", L"", 0 },

    { 0x045B, L"si", L"LK", 0 },
    { 0x005B, L"si", L"", 0 },

    { 0x045C, L"chr", L"US", 0 },
    { 0x005C, L"chr", L"", 0 },

    { 0x045D, L"iu", L"CA", 0 },
    { 0x005D, L"iu", L"", 0 },

    { 0x045E, L"am", L"ET", 0 },
    { 0x005E, L"am", L"", 0 },

    { 0x045F, L"ber", L"MA", kArabic | kImplicitScript },
    { 0x085F, L"ber", L"MA", kLatin },
    { 0x005F, L"ber", L"", kArabic | kImplicitScript },
    { 0x085F, L"ber", L"", kLatin },

    { 0x0860, L"ks", L"IN", 0 },
    { 0x0460, L"ks", L"PK", kArabic | kImplicitScript },
    { 0x0060, L"ks", L"", 0 },

    { 0x0861, L"ne", L"IN", 0 },
    { 0x0461, L"ne", L"NP", 0 },
    { 0x0061, L"ne", L"", 0 },

    { 0x0462, L"fy", L"NL", 0 },
    { 0x0062, L"fy", L"", 0 },

    { 0x0463, L"ps", L"ET", 0 },
    { 0x0063, L"ps", L"", 0 },

    { 0x0464, L"tl", L"PH", 0 },
    { 0x0064, L"tl", L"", 0 },

    { 0x0465, L"div", L"MV", kLegacy },
    { 0x0465, L"dv", L"MV", 0 },
    { 0x0065, L"div", L"", kLegacy },
    { 0x0065, L"dv", L"", 0 },

    { 0x0466, L"bin", L"NG", 0 },
    { 0x0066, L"bin", L"", 0 },

    { 0x0467, L"ful", L"NG", 0 },
    { 0x0067, L"ful", L"", 0 },

    { 0x0468, L"ha", L"NG", 0 },
    { 0x0068, L"ha", L"", 0 },

    { 0x0469, L"nic", L"NG", 0 },
    { 0x0069, L"nic", L"", 0 },

    { 0x046A, L"yo", L"NG", 0 },
    { 0x006A, L"yo", L"", 0 },

    { 0x046B, L"qu", L"BO", 0 },
    { 0x086B, L"qu", L"EC", 0 },
    { 0x0C6B, L"qu", L"PE", 0 },
    { 0x006B, L"qu", L"", 0 },

    { 0x046C, L"nso", L"ZA", 0 },
    { 0x006C, L"nso", L"", 0 },

    { 0x0470, L"ibo", L"NG", 0 },
    { 0x0070, L"ibo", L"", 0 },

    { 0x0471, L"kr", L"NG", 0 },
    { 0x0071, L"kr", L"", 0 },

    { 0x0472, L"om", L"ET", 0 },
    { 0x0072, L"om", L"", 0 },

    { 0x0873, L"ti", L"ER", 0 },
    { 0x0473, L"ti", L"ET", 0 },
    { 0x0073, L"ti", L"", 0 },

    { 0x0474, L"gn", L"PY", 0 },
    { 0x0074, L"gn", L"", 0 },

    { 0x0475, L"haw", L"US", 0 },
    { 0x0075, L"haw", L"", 0 },

    { 0x0476, L"la", L"VA", 0 },
    { 0x0076, L"la", L"", 0 },

    { 0x0477, L"so", L"SO", 0 },
    { 0x0077, L"so", L"", 0 },

    { 0x0478, L"sit", L"CN", 0 },
    { 0x0078, L"sit", L"", 0 },

    { 0x0479, L"pap", L"AN", 0 },
    { 0x0079, L"pap", L"", 0 },

    { 0x0480, L"ug", L"CN", 0 },
    { 0x0080, L"ug", L"", 0 },

    { 0x0481, L"mi", L"NZ", 0 },
    { 0x0081, L"mi", L"", 0 },
};

// Sorted by primary language identifier.
constexpr Language kLanguages[] = {
    { 0x01, 0, 17 },
    { 0x02, 17, 2 },
    { 0x03, 19, 2 },
    { 0x04, 21, 11 },
    { 0x05, 32, 2 },
    { 0x06, 34, 2 },
    { 0x07, 36, 6 },
    { 0x08, 42, 2 },
    { 0x09, 44, 20 },
    { 0x0A, 64, 22 },
    { 0x0B, 86, 2 },
    { 0x0C, 88, 20 },
    { 0x0D, 108, 4 },
    { 0x0E, 112, 2 },
    { 0x0F, 114, 2 },
    { 0x10, 116, 3 },
    { 0x11, 119, 2 },
    { 0x12, 121, 2 },
    { 0x13, 123, 3 },
    { 0x14, 126, 6 },
    { 0x15, 132, 2 },
    { 0x16, 134, 3 },
    { 0x17, 137, 2 },
    { 0x18, 139, 3 },
    { 0x19, 142, 3 },
    { 0x1A, 145, 11 },
    { 0x1B, 156, 2 },
    { 0x1C, 158, 2 },
    { 0x1D, 160, 3 },
    { 0x1E, 163, 2 },
    { 0x1F, 165, 2 },
    { 0x20, 167, 3 },
    { 0x21, 170, 4 },
    { 0x22, 174, 2 },
    { 0x23, 176, 2 },
    { 0x24, 178, 2 },
    { 0x25, 180, 2 },
    { 0x26, 182, 2 },
    { 0x27, 184, 2 },
    { 0x28, 186, 2 },
    { 0x29, 188, 2 },
    { 0x2A, 190, 2 },
    { 0x2B, 192, 2 },
    { 0x2C, 194, 3 },
    { 0x2D, 197, 2 },
    { 0x2E, 199, 2 },
    { 0x2F, 201, 2 },
    { 0x30, 203, 2 },
    { 0x31, 205, 2 },
    { 0x32, 207, 2 },
    { 0x33, 209, 2 },
    { 0x34, 211, 2 },
    { 0x35, 213, 2 },
    { 0x36, 215, 2 },
    { 0x37, 217, 2 },
    { 0x38, 219, 2 },
    { 0x39, 221, 2 },
    { 0x3A, 223, 2 },
    { 0x3C, 225, 4 },
    { 0x3D, 229, 4 },
    { 0x3E, 233, 3 },
    { 0x3F, 236, 2 },
    { 0x40, 238, 2 },
    { 0x41, 240, 2 },
    { 0x42, 242, 2 },
    { 0x43, 244, 4 },
    { 0x44, 248, 2 },
    { 0x45, 250, 3 },
    { 0x46, 253, 3 },
    { 0x47, 256, 2 },
    { 0x48, 258, 2 },
    { 0x49, 260, 2 },
    { 0x4A, 262, 2 },
    { 0x4B, 264, 2 },
    { 0x4C, 266, 2 },
    { 0x4D, 268, 2 },
    { 0x4E, 270, 2 },
    { 0x4F, 272, 2 },
    { 0x50, 274, 3 },
    { 0x51, 277, 3 },
    { 0x52, 280, 2 },
    { 0x53, 282, 2 },
    { 0x54, 284, 2 },
    { 0x55, 286, 2 },
    { 0x56, 288, 2 },
    { 0x57, 290, 2 },
    { 0x58, 292, 2 },
    { 0x59, 294, 3 },
    { 0x5A, 297, 2 },
    { 0x5B, 299, 2 },
    { 0x5C, 301, 2 },
    { 0x5D, 303, 2 },
    { 0x5E, 305, 2 },
    { 0x5F, 307, 4 },
    { 0x60, 311, 3 },
    { 0x61, 314, 3 },
    { 0x62, 317, 2 },
    { 0x63, 319, 2 },
    { 0x64, 321, 2 },
    { 0x65, 323, 4 },
    { 0x66, 327, 2 },
    { 0x67, 329, 2 },
    { 0x68, 331, 2 },
    { 0x69, 333, 2 },
    { 0x6A, 335, 2 },
    { 0x6B, 337, 4 },
    { 0x6C, 341, 2 },
    { 0x70, 343, 2 },
    { 0x71, 345, 2 },
    { 0x72, 347, 2 },
    { 0x73, 349, 3 },
    { 0x74, 352, 2 },
    { 0x75, 354, 2 },
    { 0x76, 356, 2 },
    { 0x77, 358, 2 },
    { 0x78, 360, 2 },
    { 0x79, 362, 2 },
    { 0x80, 364, 2 },
    { 0x81, 366, 2 },
};

// Countries whose POSIX-style locale names carry the euro modifier, sorted.
constexpr wchar_t kEuroCountries[][3] = {
    L"AT", L"BE", L"DE", L"ES", L"FI", L"FR", L"GR", L"IE", L"IT", L"LU", L"NL", L"PT",
};

constexpr int kRowCount = sizeof(kRows) / sizeof(kRows[0]);
constexpr int kLanguageCount = sizeof(kLanguages) / sizeof(kLanguages[0]);

// The look-ups rely on the index covering every row once, in order, with each row
// filed under its own primary language, and on both tables being sorted.
constexpr bool IndexIsConsistent()
{
    int nextRow = 0;
    for (int i = 0; i < kLanguageCount; ++i) {
        const Language& language = kLanguages[i];
        if (i > 0 && kLanguages[i - 1].primaryLanguage >= language.primaryLanguage)
            return false;
        if (language.firstRow != nextRow || language.rowCount == 0)
            return false;
        for (int r = language.firstRow; r < language.firstRow + language.rowCount; ++r) {
            if ((kRows[r].lcid & 0x3FF) != language.primaryLanguage)
                return false;
        }
        nextRow += language.rowCount;
    }
    return nextRow == kRowCount;
}

constexpr bool EuroCountriesAreSorted()
{
    const int count = sizeof(kEuroCountries) / sizeof(kEuroCountries[0]);
    for (int i = 1; i < count; ++i) {
        const wchar_t* a = kEuroCountries[i - 1];
        const wchar_t* b = kEuroCountries[i];
        if (a[0] > b[0] || (a[0] == b[0] && a[1] >= b[1]))
            return false;
    }
    return true;
}

static_assert(kLanguageCount == 119 && kRowCount == 368, "locale table size");
static_assert(IndexIsConsistent(), "locale index out of step with its rows");
static_assert(EuroCountriesAreSorted(), "euro countries must stay sorted");

} // namespace

const Row* FindLanguage(DWORD primaryLanguage, int& nRows)
{
    int low = 0;
    int high = kLanguageCount - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const Language& language = kLanguages[middle];
        if (language.primaryLanguage == primaryLanguage) {
            nRows = language.rowCount;
            return &kRows[language.firstRow];
        }
        if (language.primaryLanguage < primaryLanguage)
            low = middle + 1;
        else
            high = middle - 1;
    }
    nRows = 0;
    return NULL;
}

bool IsEuroCountry(const wchar_t* country)
{
    int low = 0;
    int high = sizeof(kEuroCountries) / sizeof(kEuroCountries[0]) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = wcscmp(kEuroCountries[middle], country);
        if (order == 0)
            return true;
        if (order < 0)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return false;
}

} // namespace LocaleTable
