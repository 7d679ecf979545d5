#include "app/qt/program.h"
#include "bench/benchprobe.h"

// The drill as make bench starts it: the program itself, with the probe that
// presses 次 and reports. The shipped program carries none of it.
int main(int argc, char *argv[])
{
    return runProgram(argc, argv, [](Form1Window &window) { BenchProbe::install(window); });
}
