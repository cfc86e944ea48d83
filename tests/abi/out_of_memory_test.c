/*
 * A host whose address space is too small for the file it imports: the
 * import must end with status 2 and the out-of-memory diagnostic, the host's
 * process must go on, and a small file must import normally afterwards.
 *
 *   zav_out_of_memory_test LIBRARY TEMPDIR SIZE_MB [LIMIT_MB]
 *
 * The library of SIZE_MB megabytes is generated in TEMPDIR and removed at the
 * end. On Windows the 32-bit process has 2 GB of address space; elsewhere
 * LIMIT_MB sets the limit (setrlimit) before the library is loaded. The file
 * must need more than the limit: at today's memory use any size above a few
 * dozen megabytes does, so SIZE_MB is set for a leaner library (one that
 * holds 4 to 6 bytes per byte of input). Should the import succeed all the
 * same, the test fails and says to raise SIZE_MB. Closes with "N passed,
 * N failed".
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "zav.h"
#include "abi_loader.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

static int gPassed;
static int gFailed;

static void Check(int ok, const char* what, const char* detail) {
  if (ok) {
    ++gPassed;
    return;
  }
  ++gFailed;
  fprintf(stderr, "FAIL: %s%s%s\n", what, detail[0] != '\0' ? ": " : "", detail);
}

static struct {
  __typeof__(&ZAV_PerformImport) PerformImport;
  __typeof__(&ZAV_EndImport) EndImport;
  __typeof__(&ZAV_GetErrorCount) GetErrorCount;
  __typeof__(&ZAV_GetErrorFirst) GetErrorFirst;
  __typeof__(&ZAV_GetErrorNext) GetErrorNext;
  __typeof__(&ZAV_GetErrorInfo) GetErrorInfo;
  __typeof__(&ZAV_GetModelFirst) GetModelFirst;
  __typeof__(&ZAV_GetModelInfo) GetModelInfo;
} zav;

/* One block of the generated library: models, and a subcircuit whose
 * elements use them; `n` keeps the names apart. */
static int WriteBlock(char* out, size_t room, unsigned n) {
  return snprintf(out, room,
                  "* block %u\n"
                  ".MODEL DA%u D(IS=1E-14 N=1.5 RS=10 CJO=2P TT=5N BV=100)\n"
                  ".MODEL QB%u NPN(IS=1E-16 BF=100 VAF=50 IKF=0.1 CJE=1P TF=0.3N\n"
                  "+ T_ABS=27 ; typical)\n"
                  ".MODEL MC%u NMOS(LEVEL=1 VTO=0.7 KP=110U L=1U W=10U)\n"
                  ".SUBCKT AMP%u IN OUT VCC VEE PARAMS: GAIN=10\n"
                  "Q1 N1 IN N2 QB%u\n"
                  "R1 VCC N1 10K TC=0.001\n"
                  "C1 N1 0 1P ; coupling\n"
                  "D1 N2 VEE DA%u\n"
                  "M1 OUT N1 VEE VEE MC%u L=2U W=20U\n"
                  ".ENDS AMP%u\n",
                  n, n, n, n, n, n, n, n, n);
}

/* Writes about `megabytes` MB of blocks to `path`; returns the size written, 0 on failure. */
static unsigned long long GenerateLibrary(const char* path, unsigned megabytes) {
  FILE* file = fopen(path, "wb");
  if (file == NULL) return 0;
  const unsigned long long target = (unsigned long long)megabytes * 1000000ull;
  unsigned long long written = 0;
  static char chunk[1 << 20];
  unsigned n = 0;
  while (written < target) {
    size_t used = 0;
    while (used + 1024 < sizeof chunk) used += (size_t)WriteBlock(chunk + used, sizeof chunk - used, n++);
    if (fwrite(chunk, 1, used, file) != used) {
      fclose(file);
      return 0;
    }
    written += used;
  }
  return fclose(file) == 0 ? written : 0;
}

static unsigned ErrorCount(void) {
  int count = 0;
  zav.GetErrorCount(NULL, &count);
  return (unsigned)count;
}

/* True when the list holds a diagnostic whose text is `expected`. */
static int HasDiagnostic(const char* expected) {
  int status = 0;
  ZAV_DIAGNOSTIC d = NULL;
  for (int ret = zav.GetErrorFirst(NULL, &d, &status); ret == 1; ret = zav.GetErrorNext(NULL, &d, &status)) {
    char text[2048] = "";
    unsigned size = sizeof text - 1;
    int infoStatus = 0;
    if (zav.GetErrorInfo(d, ZAV_INFO_TEXT, text, &size, &infoStatus) && strcmp(text, expected) == 0) return 1;
  }
  return 0;
}

static void ImportSmallFile(const char* tempDir, const char* when) {
  char path[1024];
  snprintf(path, sizeof path, "%s/small.lib", tempDir);
  FILE* file = fopen(path, "wb");
  if (file != NULL) {
    fputs(".MODEL DSMALL D(IS=1E-14)\n", file);
    fclose(file);
  }
  ZAV_SESSION session = NULL;
  int status = 0;
  int ret = zav.PerformImport(path, 0, &session, &status);
  char detail[128];
  snprintf(detail, sizeof detail, "returned %d status %d", ret, status);
  Check(ret == 1 && status == 0, when, detail);
  if (ret != 1) return;
  ZAV_MODEL model = NULL;
  ret = zav.GetModelFirst(session, &model, &status);
  char text[256] = "";
  unsigned size = sizeof text;
  if (ret == 1) ret = zav.GetModelInfo(model, ZAV_INFO_TEXT, text, &size, &status);
  Check(ret == 1 && strcmp(text, ".MODEL DSMALL D(IS=1E-14)\n") == 0, when, text);
  status = 0;
  zav.EndImport(session, &status);
  remove(path);
}

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: %s LIBRARY TEMPDIR SIZE_MB [LIMIT_MB]\n", argv[0]);
    return 2;
  }
  const char* libraryPath = argv[1];
  const char* tempDir = argv[2];
  const unsigned megabytes = (unsigned)strtoul(argv[3], NULL, 10);
  AbiMakeDirectory(tempDir);

  char bigPath[1024];
  snprintf(bigPath, sizeof bigPath, "%s/too_large.lib", tempDir);
  const time_t start = time(NULL);
  const unsigned long long size = GenerateLibrary(bigPath, megabytes);
  if (size == 0) {
    fprintf(stderr, "cannot write %s\n", bigPath);
    return 2;
  }
  printf("generated %llu bytes in %ld s\n", size, (long)(time(NULL) - start));

#ifndef _WIN32
  if (argc > 4) {
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max = (rlim_t)strtoul(argv[4], NULL, 10) * 1024u * 1024u;
    if (setrlimit(RLIMIT_AS, &limit) != 0) {
      perror("setrlimit");
      return 2;
    }
  }
#endif

  AbiLibrary library = AbiOpen(libraryPath);
  if (library == NULL) {
    fprintf(stderr, "cannot load %s: %s\n", libraryPath, AbiLastError());
    return 2;
  }
#define RESOLVE(name) zav.name = (__typeof__(zav.name))AbiSymbol(library, "ZAV_" #name)
  RESOLVE(PerformImport);
  RESOLVE(EndImport);
  RESOLVE(GetErrorCount);
  RESOLVE(GetErrorFirst);
  RESOLVE(GetErrorNext);
  RESOLVE(GetErrorInfo);
  RESOLVE(GetModelFirst);
  RESOLVE(GetModelInfo);
#undef RESOLVE

  ImportSmallFile(tempDir, "a small file before");

  const unsigned before = ErrorCount();
  const time_t importStart = time(NULL);
  ZAV_SESSION session = NULL;
  int status = 0;
  int ret = zav.PerformImport(bigPath, 0, &session, &status);
  printf("import of the large file ended after %ld s\n", (long)(time(NULL) - importStart));
  if (ret == 1) {
    Check(0, "the large file was imported", "raise SIZE_MB: the library no longer runs out of memory on it");
    status = 0;
    zav.EndImport(session, &status);
  } else {
    char detail[128];
    snprintf(detail, sizeof detail, "returned %d status %d", ret, status);
    Check(status == ZAV_STATUS_BAD_ARGUMENT, "the large file ends with status 2", detail);
    snprintf(detail, sizeof detail, "%u new diagnostics", ErrorCount() - before);
    Check(ErrorCount() == before + 1, "one diagnostic for the large file", detail);
    char expected[2048];
    snprintf(expected, sizeof expected, "error -- Not enough memory to import file: %s (%llu bytes).\n", bigPath,
             size);
    Check(HasDiagnostic(expected), "the out-of-memory diagnostic names the file and its size", expected);
  }
  remove(bigPath);

  ImportSmallFile(tempDir, "a small file after");
  AbiClose(library);

  printf("%d passed, %d failed\n", gPassed, gFailed);
  return gFailed == 0 ? 0 : 1;
}
