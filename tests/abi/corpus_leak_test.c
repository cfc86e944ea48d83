/*
 * Every file of the corpus through the exports of the shared library, as a
 * host would use it, then the library unloaded, then LeakSanitizer asked
 * whether any block is left: the sessions, the model texts and the
 * diagnostic list, which the library frees when it is unloaded, must all
 * be gone. Built only with the sanitizers (Linux).
 *
 *   zav_corpus_leak_test LIBRARY CORPUSDIR
 *
 * Closes with "N passed, N failed".
 */
#define _XOPEN_SOURCE 700
#include <ftw.h>
#include <sanitizer/lsan_interface.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "zav.h"
#include "abi_loader.h"

static struct {
  __typeof__(&ZAV_PerformImport) PerformImport;
  __typeof__(&ZAV_EndImport) EndImport;
  __typeof__(&ZAV_GetErrorCount) GetErrorCount;
  __typeof__(&ZAV_GetErrorFirst) GetErrorFirst;
  __typeof__(&ZAV_GetErrorNext) GetErrorNext;
  __typeof__(&ZAV_GetErrorInfo) GetErrorInfo;
  __typeof__(&ZAV_GetModelFirst) GetModelFirst;
  __typeof__(&ZAV_GetModelNext) GetModelNext;
  __typeof__(&ZAV_GetModelInfo) GetModelInfo;
} zav;

static int gFiles;
static int gModels;
static int gFailed;

typedef int (*InfoCall)(void* handle, int infoType, void* buffer, unsigned* size, int* status);

static int ModelInfo(void* handle, int infoType, void* buffer, unsigned* size, int* status) {
  return zav.GetModelInfo((ZAV_MODEL)handle, infoType, buffer, size, status);
}
static int ErrorInfo(void* handle, int infoType, void* buffer, unsigned* size, int* status) {
  return zav.GetErrorInfo((ZAV_DIAGNOSTIC)handle, infoType, buffer, size, status);
}

/* The length, then the text, as a host reads it. */
static void ReadText(InfoCall info, void* handle, const char* path) {
  int status = 0;
  int length = -1;
  unsigned size = 4;
  if (!info(handle, ZAV_INFO_LENGTH, &length, &size, &status) || length < 0) {
    fprintf(stderr, "FAIL: %s: length query, status %d\n", path, status);
    ++gFailed;
    return;
  }
  char* text = (char*)malloc((size_t)length + 1);
  size = (unsigned)length + 1;
  if (!info(handle, ZAV_INFO_TEXT, text, &size, &status)) {
    fprintf(stderr, "FAIL: %s: text query, status %d\n", path, status);
    ++gFailed;
  }
  free(text);
}

static int ImportOne(const char* path, const struct stat* info, int type, struct FTW* where) {
  (void)info;
  (void)where;
  if (type != FTW_F) return 0;
  ZAV_SESSION session = NULL;
  int status = 0;
  if (!zav.PerformImport(path, 0, &session, &status)) {
    fprintf(stderr, "FAIL: %s: import status %d\n", path, status);
    ++gFailed;
    return 0;
  }
  ++gFiles;
  ZAV_MODEL model = NULL;
  for (int ret = zav.GetModelFirst(session, &model, &status); ret == 1;
       ret = zav.GetModelNext(session, &model, &status)) {
    ReadText(ModelInfo, model, path);
    ++gModels;
  }
  status = 0;
  zav.EndImport(session, &status);
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s LIBRARY CORPUSDIR\n", argv[0]);
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
  RESOLVE(GetErrorFirst);
  RESOLVE(GetErrorNext);
  RESOLVE(GetErrorInfo);
  RESOLVE(GetModelFirst);
  RESOLVE(GetModelNext);
  RESOLVE(GetModelInfo);
#undef RESOLVE

  if (nftw(argv[2], ImportOne, 16, FTW_PHYS) != 0) {
    fprintf(stderr, "cannot walk %s\n", argv[2]);
    return 2;
  }
  int count = 0;
  zav.GetErrorCount(NULL, &count);
  int status = 0;
  ZAV_DIAGNOSTIC d = NULL;
  for (int ret = zav.GetErrorFirst(NULL, &d, &status); ret == 1; ret = zav.GetErrorNext(NULL, &d, &status)) {
    ReadText(ErrorInfo, d, "diagnostic");
  }
  printf("%d files, %d models, %d diagnostics\n", gFiles, gModels, count);

  /* Every diagnostic is still held by the library: only its unload frees them. */
  AbiClose(library);
  int passed = 0;
  if (AbiIsLoaded(argv[1])) {
    fprintf(stderr, "FAIL: the library stayed loaded after dlclose; its unload could not be checked\n");
    ++gFailed;
  } else {
    ++passed;
  }
  if (__lsan_do_recoverable_leak_check() != 0) {
    fprintf(stderr, "FAIL: blocks leaked (see the report above)\n");
    ++gFailed;
  } else {
    ++passed;
  }
  if (gFiles == 0) {
    fprintf(stderr, "FAIL: no file in %s\n", argv[2]);
    ++gFailed;
  }
  printf("%d passed, %d failed\n", passed, gFailed);
  return gFailed == 0 ? 0 : 1;
}
