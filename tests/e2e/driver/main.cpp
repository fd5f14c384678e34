// e2e-driver: plays the user for the end-to-end tests under Wine. One case per run:
//
//   e2e-driver CASE                      one end-to-end case (exit code 1 when a check failed)
//   e2e-driver latency [KEYS] [INTERVAL]  the latency run (default 2000 keys, one every 30 ms)
//
// Started by a layout's Exec line with "exec-marker" among its parameters, it only writes its
// command line to exec-marker.txt beside itself and ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/driver/cases.h"
#include "tests/e2e/driver/desk.h"

namespace {

int WriteExecMarker() {
  const std::wstring folder = e2e::ProgramFolder();
  const std::wstring partial = folder + L"exec-marker.partial";
  const std::wstring marker = folder + e2e::kExecMarkerFile;
  FILE* file = _wfopen(partial.c_str(), L"wb");
  if (file == nullptr) return 1;
  const std::string commandLine = e2e::Utf8(GetCommandLineW());
  std::fwrite(commandLine.data(), 1, commandLine.size(), file);
  std::fclose(file);
  // Renamed when complete, so that the case never reads half of it.
  return MoveFileExW(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

int Usage() {
  std::printf("usage: e2e-driver CASE | e2e-driver latency [KEYS] [INTERVAL_MS]\ncases:\n");
  e2e::ListCases();
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (std::wstring(GetCommandLineW()).find(L"exec-marker") != std::wstring::npos) return WriteExecMarker();
  if (argc < 2) return Usage();
  const std::string mode = e2e::Utf8(argv[1]);
  if (mode == "latency") {
    const int keys = argc > 2 ? _wtoi(argv[2]) : 2000;
    const int interval = argc > 3 ? _wtoi(argv[3]) : 30;
    if (keys <= 0 || interval <= 0) return Usage();
    e2e::RunLatency(keys, interval);
  } else if (!e2e::RunCase(mode)) {
    return Usage();
  }
  std::printf(e2e::AnyFailed() ? "FAILED\n" : "PASSED\n");
  return e2e::AnyFailed() ? 1 : 0;
}
