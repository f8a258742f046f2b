// Stopwatch.h - wall-clock seconds from the performance counter, for the benchmarks.
#pragma once

#include <windows.h>

class Stopwatch
{
public:
    Stopwatch() { Restart(); }
    void Restart() { ::QueryPerformanceCounter(&m_start); }
    // Seconds since construction or the last Restart.
    double Seconds() const
    {
        LARGE_INTEGER now, freq;
        ::QueryPerformanceCounter(&now);
        ::QueryPerformanceFrequency(&freq);
        return (double)(now.QuadPart - m_start.QuadPart) / (double)freq.QuadPart;
    }

private:
    LARGE_INTEGER m_start;
};
