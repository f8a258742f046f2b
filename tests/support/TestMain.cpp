// Shared entry point of the test programs.
#include <gtest/gtest.h>

#include <windows.h>

int main(int argc, char** argv)
{
    // A crashing test must fail the run, not wait for Wine's crash dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
