/*
 * A host that imports one library through the shared library's exports and
 * reads every model's text, as a simulator does, then says how it went: the
 * status, the number of models and diagnostics, the bytes of model text, the
 * time, and the peak memory of the process. Built for 32-bit Windows by
 * bench/measure_dll.sh, which runs it under Wine on a generated library.
 *
 *   zav_dll_import_host LIBRARY FILE
 *
 * Exits 0 when the import succeeded and every text was read, 1 otherwise.
 */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "abi_loader.h"
#include "zav.h"

#ifdef _WIN32
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

static struct {
  __typeof__(&ZAV_PerformImport) PerformImport;
  __typeof__(&ZAV_EndImport) EndImport;
  __typeof__(&ZAV_GetErrorCount) GetErrorCount;
  __typeof__(&ZAV_GetModelFirst) GetModelFirst;
  __typeof__(&ZAV_GetModelNext) GetModelNext;
  __typeof__(&ZAV_GetModelInfo) GetModelInfo;
} zav;

static double Seconds(void) { return (double)clock() / CLOCKS_PER_SEC; }

/* Peak resident and peak committed memory of this process, in MB. */
static void PeakMemory(double* resident, double* committed) {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters;
  counters.cb = sizeof counters;
  *resident = *committed = 0;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    *resident = (double)counters.PeakWorkingSetSize / 1048576.0;
    *committed = (double)counters.PeakPagefileUsage / 1048576.0;
  }
#else
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  *resident = *committed = (double)usage.ru_maxrss / 1024.0;
#endif
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s LIBRARY FILE\n", argv[0]);
    return 2;
  }
  AbiLibrary library = AbiOpen(argv[1]);
  if (library == NULL) {
    fprintf(stderr, "cannot load %s: %s\n", argv[1], AbiLastError());
    return 2;
  }
#define RESOLVE(name) zav.name = (__typeof__(zav.name))AbiSymbol(library, "ZAV_" #name)
  RESOLVE(PerformImport);
  RESOLVE(EndImport);
  RESOLVE(GetErrorCount);
  RESOLVE(GetModelFirst);
  RESOLVE(GetModelNext);
  RESOLVE(GetModelInfo);
#undef RESOLVE

  const double start = Seconds();
  ZAV_SESSION session = NULL;
  int status = 0;
  const int imported = zav.PerformImport(argv[2], 0, &session, &status);
  const double importEnd = Seconds();
  if (imported != 1) {
    printf("import failed: returned %d, status %d, after %.1f s\n", imported, status, importEnd - start);
    return 1;
  }
  int diagnostics = 0;
  zav.GetErrorCount(NULL, &diagnostics);

  /* Every model's length, then its text, as a host asks for them. */
  unsigned long models = 0;
  unsigned long long textBytes = 0;
  int ok = 1;
  char* text = NULL;
  unsigned room = 0;
  ZAV_MODEL model = NULL;
  for (int ret = zav.GetModelFirst(session, &model, &status); ret == 1;
       ret = zav.GetModelNext(session, &model, &status)) {
    int length = 0;
    unsigned lengthSize = sizeof length;
    if (!zav.GetModelInfo(model, ZAV_INFO_LENGTH, &length, &lengthSize, &status) || length < 0) {
      ok = 0;
      break;
    }
    if ((unsigned)length + 1 > room) {
      free(text);
      room = (unsigned)length + 1;
      text = (char*)malloc(room);
      if (text == NULL) {
        ok = 0;
        break;
      }
    }
    unsigned size = room;
    if (!zav.GetModelInfo(model, ZAV_INFO_TEXT, text, &size, &status)) {
      ok = 0;
      break;
    }
    ++models;
    textBytes += (unsigned)length;
  }
  free(text);
  const double textsEnd = Seconds();
  double resident = 0, committed = 0;
  PeakMemory(&resident, &committed);
  status = 0;
  zav.EndImport(session, &status);
  AbiClose(library);

  printf("imported: %lu models, %d diagnostics, %llu bytes of model text%s\n", models, diagnostics, textBytes,
         ok ? "" : " (reading a text failed)");
  printf("time: import %.1f s, texts %.1f s\n", importEnd - start, textsEnd - importEnd);
  printf("peak memory: %.0f MB resident, %.0f MB committed\n", resident, committed);
  return ok ? 0 : 1;
}
