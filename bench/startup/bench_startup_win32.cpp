// Start-up time: process start to the first visible top-level window of the new process, for
// two programs in alternating rounds, under the same Wine and display.
//
//   bench_startup.exe ROUNDS PROGRAM BASELINE
//
// Prints each launch, then min and median of both and their ratios (PROGRAM / BASELINE).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM lParam) {
  Search* search = reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

double Now() {
  static LARGE_INTEGER frequency;
  if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

// Milliseconds from CreateProcess to the window, or a negative number when none came in 30 s.
double TimeToWindow(const std::string& program) {
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const double start = Now();
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
    return -1;
  }
  Search search = {process.dwProcessId, nullptr};
  double elapsed = -1;
  while (Now() - start < 30) {
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      elapsed = (Now() - start) * 1000;
      break;
    }
    Sleep(1);
  }
  if (search.found) PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::atoi(argv[1]) < 1) {
    std::fprintf(stderr, "usage: bench_startup ROUNDS PROGRAM BASELINE\n");
    return 2;
  }
  const int rounds = std::atoi(argv[1]);
  const std::string programs[2] = {argv[2], argv[3]};
  std::vector<double> times[2];
  // One launch each first, untimed: the first start of any program fills caches.
  for (const std::string& p : programs)
    if (TimeToWindow(p) < 0) return 1;
  for (int round = 0; round < rounds; ++round) {
    // Alternate which goes first, so neither always follows the other's exit.
    for (int k = 0; k < 2; ++k) {
      const int which = (round + k) % 2;
      const double ms = TimeToWindow(programs[which]);
      if (ms < 0) return 1;
      times[which].push_back(ms);
      std::printf("round %2d  %-9s %8.1f ms\n", round + 1, which == 0 ? "program" : "baseline",
                  ms);
    }
  }
  const double minP = *std::min_element(times[0].begin(), times[0].end());
  const double minB = *std::min_element(times[1].begin(), times[1].end());
  const double medP = Median(times[0]), medB = Median(times[1]);
  std::printf("\n%-40s min %8.1f ms  median %8.1f ms\n", programs[0].c_str(), minP, medP);
  std::printf("%-40s min %8.1f ms  median %8.1f ms\n", programs[1].c_str(), minB, medB);
  std::printf("ratio (program / baseline): min %.2f  median %.2f\n", minP / minB, medP / medB);
  return 0;
}
