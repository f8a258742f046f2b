// Ids shared by the resource chain test program, its resource script and the
// test extension DLL's resource script.
#pragma once

// Block 0x402 (ids 0x4010..0x401F): the host has some of these strings, the
// extension others, so a block that is present must not hide a missing string.
#define IDS_TEST_SHARED         0x4010  // host and extension
#define IDS_TEST_EXT_ONLY       0x4011  // extension only
#define IDS_TEST_HOST_FORMAT    0x4012  // host: two placeholders
#define IDS_TEST_EXT_FORMAT     0x4013  // extension: one placeholder
#define IDS_TEST_HOST_LONG      0x4014  // host: a text longer than small buffers
#define IDS_TEST_HOST_UMLAUT    0x4015  // host: non-ASCII text (the script is UTF-8)
#define IDS_TEST_NOBODY         0x4016  // no module has it
#define IDS_TEST_NOBODY_BLOCK   0x4F23  // no module has its block either

// Raw data resources.
#define IDR_TEST_SHARED_DATA    301     // host and extension
#define IDR_TEST_EXT_DATA       302     // extension only
#define IDR_TEST_NOBODY_DATA    303
