// The benchmark driver: starts two programs that show the settings dialog, in turn, and measures
// each run from process creation to the dialog being visible with the stored rate filled in, then
// the process's peak working set, private bytes and handle count while the dialog is up.
//
// Usage: bench_driver RUNS RATE NAME=PATH NAME=PATH
// Prints one line a run ("run NAME ms peak_ws private handles") and then a summary a program, with
// the first program's figures as ratios of the second's. Runs alternate which program goes first,
// so that neither always follows the other.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kCaption[] = "Koravel Settings";
const int kCurrentText = 1004;
const DWORD kTimeoutMs = 30000;

struct Sample {
  double ms;
  double peakWorkingSet;  // bytes
  double privateBytes;
  double handles;
};

struct Program {
  std::string name, path;
  std::vector<Sample> samples;
};

struct Search {
  DWORD dwProcessId;
  const char* pszRate;
  HWND hFound;
};

BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam) {
  Search* pSearch = reinterpret_cast<Search*>(lParam);
  DWORD dwProcessId = 0;
  ::GetWindowThreadProcessId(hWnd, &dwProcessId);
  if (dwProcessId != pSearch->dwProcessId || !::IsWindowVisible(hWnd)) return TRUE;
  char text[64] = "";
  ::GetWindowTextA(hWnd, text, sizeof text);
  if (std::string(text) != kCaption) return TRUE;
  // The window's own text, kept by the system: reading it sends the busy program nothing.
  ::GetWindowTextA(::GetDlgItem(hWnd, kCurrentText), text, sizeof text);
  if (std::string(text) != pSearch->pszRate) return TRUE;
  pSearch->hFound = hWnd;
  return FALSE;
}

// The handle count and the private bytes (the commit charge, PagefileUsage) of process
// dwProcessId from the system's process list. Wine answers GetProcessHandleCount and the private
// bytes of GetProcessMemoryInfo with 0 for another process; the list has both, on Windows too.
bool SystemFigures(DWORD dwProcessId, ULONG* pHandles, SIZE_T* pPrivateBytes) {
  std::vector<BYTE> buffer(1 << 20);
  ULONG cbNeeded = 0;
  if (::NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                 static_cast<ULONG>(buffer.size()), &cbNeeded) != 0) {
    return false;
  }
  for (size_t at = 0;;) {
    const auto* p = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
    if (reinterpret_cast<ULONG_PTR>(p->UniqueProcessId) == dwProcessId) {
      *pHandles = p->HandleCount;
      *pPrivateBytes = p->VirtualMemoryCounters.PagefileUsage;
      return true;
    }
    if (p->NextEntryOffset == 0) return false;
    at += p->NextEntryOffset;
  }
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool Measure(const Program& program, const char* pszRate, Sample* pSample) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string command = "\"" + program.path + "\"";
  LARGE_INTEGER start, now;
  ::QueryPerformanceCounter(&start);
  if (!::CreateProcessA(program.path.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", program.path.c_str(), ::GetLastError());
    return false;
  }
  Search search = {pi.dwProcessId, pszRate, nullptr};
  for (;;) {
    ::EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    ::QueryPerformanceCounter(&now);
    if (search.hFound != nullptr || Seconds(start, now) * 1000 > kTimeoutMs) break;
    if (::WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  bool bOk = search.hFound != nullptr;
  if (bOk) {
    pSample->ms = Seconds(start, now) * 1000;
    // Let the dialog finish painting before its memory is read.
    ::WaitForInputIdle(pi.hProcess, 5000);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ULONG nHandles = 0;
    SIZE_T cbPrivate = 0;
    bOk = ::GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters) &&
          SystemFigures(pi.dwProcessId, &nHandles, &cbPrivate);
    pSample->peakWorkingSet = static_cast<double>(counters.PeakWorkingSetSize);
    pSample->privateBytes = static_cast<double>(cbPrivate);
    pSample->handles = nHandles;
    ::PostMessageA(search.hFound, WM_COMMAND, IDCANCEL, 0);
  } else {
    std::fprintf(stderr, "%s showed no dialog with the rate %s\n", program.name.c_str(), pszRate);
  }
  if (::WaitForSingleObject(pi.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
    ::TerminateProcess(pi.hProcess, 1);
    bOk = false;
  }
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return bOk;
}

double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const size_t below = static_cast<size_t>(at);
  const size_t above = std::min(below + 1, values.size() - 1);
  return values[below] + (values[above] - values[below]) * (at - static_cast<double>(below));
}

std::vector<double> Column(const Program& program, double Sample::*field) {
  std::vector<double> values;
  for (const Sample& s : program.samples) values.push_back(s.*field);
  return values;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: bench_driver RUNS RATE NAME=PATH NAME=PATH\n");
    return 2;
  }
  const int nRuns = std::atoi(argv[1]);
  const char* pszRate = argv[2];
  std::vector<Program> programs;
  for (int i = 3; i < 5; ++i) {
    const std::string arg = argv[i];
    const size_t equals = arg.find('=');
    if (equals == std::string::npos) return 2;
    programs.push_back({arg.substr(0, equals), arg.substr(equals + 1), {}});
  }

  // One run of each first, not counted: the first start of a program loads what later ones find
  // in the file cache and the Wine server already.
  Sample warmUp;
  for (const Program& program : programs) {
    if (!Measure(program, pszRate, &warmUp)) return 1;
  }
  for (int nRun = 0; nRun < nRuns; ++nRun) {
    for (size_t k = 0; k < programs.size(); ++k) {
      Program& program = programs[(k + static_cast<size_t>(nRun)) % programs.size()];
      Sample sample;
      if (!Measure(program, pszRate, &sample)) return 1;
      program.samples.push_back(sample);
      std::printf("run %-10s %8.1f ms %8.0f KiB %8.0f KiB %4.0f\n", program.name.c_str(), sample.ms,
                  sample.peakWorkingSet / 1024, sample.privateBytes / 1024, sample.handles);
    }
  }

  const struct {
    const char* label;
    double Sample::*field;
    double scale;
    const char* unit;
  } figures[] = {
      {"start-up to dialog", &Sample::ms, 1, "ms"},
      {"peak working set", &Sample::peakWorkingSet, 1.0 / 1024, "KiB"},
      {"private bytes", &Sample::privateBytes, 1.0 / 1024, "KiB"},
      {"handles", &Sample::handles, 1, ""},
  };
  std::printf("\n%-20s %-10s %10s %10s %10s %10s\n", "figure", "program", "median", "p25", "p75",
              "min-max");
  for (const auto& figure : figures) {
    double medians[2];
    for (size_t k = 0; k < programs.size(); ++k) {
      const std::vector<double> v = Column(programs[k], figure.field);
      medians[k] = Quantile(v, 0.5);
      std::printf("%-20s %-10s %10.1f %10.1f %10.1f %5.0f-%-5.0f %s\n", figure.label,
                  programs[k].name.c_str(), medians[k] * figure.scale,
                  Quantile(v, 0.25) * figure.scale, Quantile(v, 0.75) * figure.scale,
                  Quantile(v, 0) * figure.scale, Quantile(v, 1) * figure.scale, figure.unit);
    }
    if (medians[1] > 0) {
      std::printf("%-20s %-10s %10.3fx\n", figure.label, "ratio", medians[0] / medians[1]);
    }
  }
  return 0;
}
