/*
 * Drives the built shared library the way a host does: loads it at run time,
 * resolves the thirteen exports by name and calls them through the status and
 * info protocol. The same source builds for Linux (dlopen) and for Windows
 * (LoadLibrary), so the DLL is held to exactly the checks of the .so.
 *
 *   zav_abi_test LIBRARY TEMPDIR [GOLDENDIR]
 *   zav_abi_test LIBRARY TEMPDIR --nul-bytes [--require-nul-replacement]
 *
 * TEMPDIR receives the small input files the checks import. With GOLDENDIR,
 * every golden case found there is imported through the library as well and
 * its model texts and diagnostics are compared byte for byte with the
 * case's .expected file. --nul-bytes runs only the checks of files holding
 * NUL and every other byte value (see there). Closes with "N passed, N
 * failed".
 */
#include <dirent.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zav.h"
#include "abi_loader.h"

/* ## Checks */

static int gPassed;
static int gFailed;
static const char* gSection = "";

static void Check(int ok, int line, const char* what, ...) {
  if (ok) {
    ++gPassed;
    return;
  }
  ++gFailed;
  va_list args;
  va_start(args, what);
  fprintf(stderr, "FAIL [%s] abi_test.c:%d: ", gSection, line);
  vfprintf(stderr, what, args);
  fputc('\n', stderr);
  va_end(args);
}

#define CHECK(cond, ...) Check((cond) ? 1 : 0, __LINE__, __VA_ARGS__)
#define CHECK_CALL(ret, wantRet, status, wantStatus, what)                                        \
  CHECK((ret) == (wantRet) && (status) == (wantStatus), "%s: returned %d status %d, want %d/%d", \
        what, (int)(ret), (int)(status), (int)(wantRet), (int)(wantStatus))

static void Section(const char* name) { gSection = name; }

/* ## The thirteen exports, typed from the header's own prototypes */

static struct {
  __typeof__(&ZAV_MapPIErrorCode) MapPIErrorCode;
  __typeof__(&ZAV_GetStyleFirst) GetStyleFirst;
  __typeof__(&ZAV_GetStyleNext) GetStyleNext;
  __typeof__(&ZAV_GetStyleInfo) GetStyleInfo;
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

static int ResolveAll(AbiLibrary library) {
  int resolved = 0;
#define RESOLVE(name)                                                       \
  do {                                                                      \
    void* address = AbiSymbol(library, "ZAV_" #name);                       \
    CHECK(address != NULL, "export ZAV_" #name " not found");               \
    if (address != NULL) ++resolved;                                        \
    zav.name = (__typeof__(zav.name))address;                               \
  } while (0)
  RESOLVE(MapPIErrorCode);
  RESOLVE(GetStyleFirst);
  RESOLVE(GetStyleNext);
  RESOLVE(GetStyleInfo);
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
  return resolved == 13;
}

/* ## Helpers */

static const char* gTempDir;

/* Writes `bytes` to TEMPDIR/name; the path goes to `path`. */
static const char* WriteInput(char* path, size_t pathSize, const char* name, const char* bytes) {
  snprintf(path, pathSize, "%s/%s", gTempDir, name);
  FILE* file = fopen(path, "wb");
  CHECK(file != NULL, "cannot create %s", path);
  if (file != NULL) {
    fwrite(bytes, 1, strlen(bytes), file);
    fclose(file);
  }
  return path;
}

static unsigned ErrorCount(void) {
  int count = -1;
  int ret = zav.GetErrorCount(NULL, &count);
  CHECK(ret == 1, "ZAV_GetErrorCount returned %d", ret);
  return (unsigned)count;
}

typedef int (*InfoCall)(void* handle, int infoType, void* buffer, unsigned* size, int* status);

static int StyleInfo(void* handle, int infoType, void* buffer, unsigned* size, int* status) {
  return zav.GetStyleInfo((int)(size_t)handle, infoType, buffer, size, status);
}
static int ErrorInfo(void* handle, int infoType, void* buffer, unsigned* size, int* status) {
  return zav.GetErrorInfo((ZAV_DIAGNOSTIC)handle, infoType, buffer, size, status);
}
static int ModelInfo(void* handle, int infoType, void* buffer, unsigned* size, int* status) {
  return zav.GetModelInfo((ZAV_MODEL)handle, infoType, buffer, size, status);
}

/* Reads a handle's text through the info protocol as a host does: a length
 * query, then a text query with room for the terminator. Returns a malloc'd,
 * terminated copy, or NULL after a failed check. A C host takes the text to
 * end at its first zero byte, so the length reported must be exactly its
 * strlen: every text read here is held to that. */
static char* ReadText(InfoCall info, void* handle, const char* what, unsigned* length) {
  int status = 0;
  int queried = -1;
  unsigned size = 4;
  int ret = info(handle, ZAV_INFO_LENGTH, &queried, &size, &status);
  CHECK_CALL(ret, 1, status, 0, what);
  if (ret != 1 || queried < 0) return NULL;
  char* text = (char*)malloc((size_t)queried + 1);
  size = (unsigned)queried + 1;
  ret = info(handle, ZAV_INFO_TEXT, text, &size, &status);
  CHECK_CALL(ret, 1, status, 0, what);
  if (ret != 1) {
    free(text);
    return NULL;
  }
  CHECK(strlen(text) == (size_t)queried, "%s: length %d reported, but a C host reads %u characters", what, queried,
        (unsigned)strlen(text));
  *length = (unsigned)queried;
  return text;
}

/* Every size case of the info protocol, against a handle whose text is
 * `expected`. */
static void CheckInfoProtocol(InfoCall info, void* handle, const char* expected, unsigned n, const char* what) {
  char buffer[8192];
  int status;
  unsigned size;
  int ret;
  if (n + 16 > sizeof buffer) {
    CHECK(0, "%s: text too long for this check (%u)", what, n);
    return;
  }

  /* Length query: the size must be exactly 4. */
  static const unsigned kWrongLengthSizes[] = {0, 3, 5, 8};
  for (size_t i = 0; i < sizeof kWrongLengthSizes / sizeof kWrongLengthSizes[0]; ++i) {
    int length = -7;
    status = 0;
    size = kWrongLengthSizes[i];
    ret = info(handle, ZAV_INFO_LENGTH, &length, &size, &status);
    CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_SIZE, what);
    CHECK(size == 4 && length == -7, "%s: length query with size %u: size %u, length %d", what,
          kWrongLengthSizes[i], size, length);
  }
  {
    int length = -7;
    status = 0;
    size = 4;
    ret = info(handle, ZAV_INFO_LENGTH, &length, &size, &status);
    CHECK_CALL(ret, 1, status, 0, what);
    CHECK(length == (int)n, "%s: length %d, want %u", what, length, n);
  }

  /* Room for the terminator: a terminated text. */
  memset(buffer, 'x', sizeof buffer);
  status = 0;
  size = n + 1;
  ret = info(handle, ZAV_INFO_TEXT, buffer, &size, &status);
  CHECK_CALL(ret, 1, status, 0, what);
  CHECK(memcmp(buffer, expected, n + 1) == 0, "%s: text with size n+1 differs", what);
  CHECK(buffer[n + 1] == 'x', "%s: wrote past n+1 bytes", what);

  /* Exactly n bytes: the characters, unterminated. */
  memset(buffer, 'x', sizeof buffer);
  status = 0;
  size = n;
  ret = info(handle, ZAV_INFO_TEXT, buffer, &size, &status);
  CHECK_CALL(ret, 1, status, 0, what);
  CHECK(memcmp(buffer, expected, n) == 0 && buffer[n] == 'x', "%s: text with size n wrong or terminated", what);

  /* One short: the length comes back, the buffer stays as it was. */
  if (n > 0) {
    memset(buffer, 'x', sizeof buffer);
    status = 0;
    size = n - 1;
    ret = info(handle, ZAV_INFO_TEXT, buffer, &size, &status);
    CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_SIZE, what);
    CHECK(size == n && buffer[0] == 'x', "%s: one short: size %u (want %u), buffer touched: %d", what, size, n,
          buffer[0] != 'x');
  }

  /* Other info types. */
  static const int kBadTypes[] = {2, -1, 99};
  for (size_t i = 0; i < sizeof kBadTypes / sizeof kBadTypes[0]; ++i) {
    status = 0;
    size = sizeof buffer;
    ret = info(handle, kBadTypes[i], buffer, &size, &status);
    CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_INFO_TYPE, what);
  }

  /* A null size pointer, and a null buffer where the call would write. */
  status = 0;
  ret = info(handle, ZAV_INFO_TEXT, buffer, NULL, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, what);
  status = 0;
  size = 4;
  ret = info(handle, ZAV_INFO_LENGTH, NULL, &size, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, what);
  status = 0;
  size = n + 1;
  ret = info(handle, ZAV_INFO_TEXT, NULL, &size, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, what);

  /* The status rule: a pending status stops the call before anything else. */
  memset(buffer, 'x', sizeof buffer);
  status = ZAV_STATUS_BAD_SIZE;
  size = n + 1;
  ret = info(handle, ZAV_INFO_TEXT, buffer, &size, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_SIZE, what);
  CHECK(size == n + 1 && buffer[0] == 'x', "%s: a call with pending status wrote", what);
}

/* ## Calling convention */

#if defined(__i386__) && defined(__GNUC__)
/* On 32-bit x86 a __cdecl callee leaves its arguments on the stack for the
 * caller to remove; a __stdcall one pops them itself. The names alone cannot
 * tell the two apart once the linker strips the "@N" suffix, so watch the
 * stack pointer across a real call: ZAV_MapPIErrorCode(0, NULL, 0) returns
 * at once. */
static int ArgumentBytesLeftByCallee(void* function) {
  int left;
  __asm__ volatile(
      "movl %%esp, %%esi\n\t"
      "pushl $0\n\t"
      "pushl $0\n\t"
      "pushl $0\n\t"
      "call *%1\n\t"
      "movl %%esi, %0\n\t"
      "subl %%esp, %0\n\t"
      "movl %%esi, %%esp\n\t"
      : "=&r"(left)
      : "r"(function)
      : "eax", "ecx", "edx", "esi", "memory", "cc");
  return left;
}

static void CheckCallingConvention(void) {
  Section("calling convention");
  const int left = ArgumentBytesLeftByCallee((void*)zav.MapPIErrorCode);
  CHECK(left == 12, "ZAV_MapPIErrorCode left %d of its 12 argument bytes on the stack: not __cdecl", left);
}
#else
static void CheckCallingConvention(void) {}
#endif

/* ## Status texts */

static void CheckStatusTexts(void) {
  Section("ZAV_MapPIErrorCode");
  static const struct {
    int code;
    const char* text;
  } kTexts[] = {
      {1, "No Error. Reached the end of the data iteration."},
      {2, "One or more of the function input arguments is bad"},
      {3, "The size argument for an info call is invalid."},
      {4, "The type of info requested is invalid."},
      {5, "Unknown Error. Error Code = 5"},
      {9, "Unknown Error. Error Code = 9"},
      {-1, "Unknown Error. Error Code = -1"},
      {INT_MIN, "Unknown Error. Error Code = -2147483648"},
  };
  char buffer[256];
  for (size_t i = 0; i < sizeof kTexts / sizeof kTexts[0]; ++i) {
    memset(buffer, 'x', sizeof buffer);
    int ret = zav.MapPIErrorCode(kTexts[i].code, buffer, sizeof buffer);
    CHECK(ret == 1 && strcmp(buffer, kTexts[i].text) == 0, "code %d: returned %d, text \"%.80s\"", kTexts[i].code,
          ret, buffer);
  }

  memset(buffer, 'x', sizeof buffer);
  int ret = zav.MapPIErrorCode(0, buffer, sizeof buffer);
  CHECK(ret == 0 && buffer[0] == 'x', "code 0: returned %d, buffer touched: %d", ret, buffer[0] != 'x');

  /* A short buffer holds the first `size` characters, unterminated. */
  memset(buffer, 'x', sizeof buffer);
  ret = zav.MapPIErrorCode(1, buffer, 8);
  CHECK(ret == 1 && memcmp(buffer, "No Error", 8) == 0 && buffer[8] == 'x', "code 1 into 8 bytes");
  memset(buffer, 'x', sizeof buffer);
  ret = zav.MapPIErrorCode(9, buffer, 29);
  CHECK(ret == 1 && memcmp(buffer, "Unknown Error. Error Code = 9", 29) == 0 && buffer[29] == 'x',
        "code 9 into exactly its length");
  memset(buffer, 'x', sizeof buffer);
  ret = zav.MapPIErrorCode(2, buffer, 0);
  CHECK(ret == 1 && buffer[0] == 'x', "size 0 writes nothing");
  ret = zav.MapPIErrorCode(2, NULL, 64);
  CHECK(ret == 1, "null buffer: returned %d", ret);
}

/* ## Styles */

static void CheckStyles(void) {
  Section("styles");
  int status = 0;
  int style = 77;
  int ret = zav.GetStyleFirst(&style, &status);
  CHECK_CALL(ret, 1, status, 0, "ZAV_GetStyleFirst");
  CHECK(style == 0, "first style %d", style);

  unsigned length = 0;
  char* name = ReadText(StyleInfo, (void*)(size_t)style, "style name", &length);
  CHECK(name != NULL && length == 6 && strcmp(name, "PSPICE") == 0, "style name \"%s\"", name ? name : "(none)");
  free(name);
  CheckInfoProtocol(StyleInfo, (void*)(size_t)0, "PSPICE", 6, "ZAV_GetStyleInfo");

  /* The one-row table ends at the first step. */
  ret = zav.GetStyleNext(&style, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_END_OF_DATA, "ZAV_GetStyleNext past the last row");
  CHECK(style == -1, "style after the end %d", style);

  static const int kBadStyles[] = {-1, 1, 2, INT_MIN, INT_MAX};
  for (size_t i = 0; i < sizeof kBadStyles / sizeof kBadStyles[0]; ++i) {
    char buffer[16] = "untouched";
    unsigned size = sizeof buffer;
    status = 0;
    ret = zav.GetStyleInfo(kBadStyles[i], ZAV_INFO_TEXT, buffer, &size, &status);
    CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_GetStyleInfo out of range");
    /* The handle is judged before the info type. */
    status = 0;
    ret = zav.GetStyleInfo(kBadStyles[i], 2, buffer, &size, &status);
    CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_GetStyleInfo out of range, bad type");
    CHECK(strcmp(buffer, "untouched") == 0 && size == sizeof buffer, "bad style %d wrote", kBadStyles[i]);

    int moved = kBadStyles[i];
    status = 0;
    ret = zav.GetStyleNext(&moved, &status);
    CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_GetStyleNext out of range");
  }

  status = 0;
  ret = zav.GetStyleNext(NULL, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_GetStyleNext(NULL)");
  status = 0;
  ret = zav.GetStyleFirst(NULL, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_GetStyleFirst(NULL)");

  /* A pending status: nothing moves. */
  style = 0;
  status = ZAV_STATUS_END_OF_DATA;
  ret = zav.GetStyleNext(&style, &status);
  CHECK(ret == 0 && status == ZAV_STATUS_END_OF_DATA && style == 0, "ZAV_GetStyleNext with status 1 acted");
  style = 5;
  status = ZAV_STATUS_BAD_ARGUMENT;
  ret = zav.GetStyleFirst(&style, &status);
  CHECK(ret == 0 && status == ZAV_STATUS_BAD_ARGUMENT && style == 5, "ZAV_GetStyleFirst with status 2 acted");
}

/* ## Diagnostics before anything was imported */

static void CheckEmptyDiagnosticList(void) {
  Section("empty diagnostic list");
  CHECK(ErrorCount() == 0, "a freshly loaded library holds %u diagnostics", ErrorCount());

  int status = 0;
  ZAV_DIAGNOSTIC diagnostic = (ZAV_DIAGNOSTIC)&status;
  int ret = zav.GetErrorFirst(NULL, &diagnostic, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_END_OF_DATA, "ZAV_GetErrorFirst on an empty list");
  CHECK(diagnostic == NULL, "ZAV_GetErrorFirst on an empty list wrote %p", (void*)diagnostic);

  status = 0;
  diagnostic = (ZAV_DIAGNOSTIC)&status;
  ret = zav.GetErrorNext(NULL, &diagnostic, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_END_OF_DATA, "ZAV_GetErrorNext on an empty list");
  CHECK(diagnostic == NULL, "ZAV_GetErrorNext on an empty list wrote %p", (void*)diagnostic);
}

/* ## Imports */

static const char kStrayElement[] = "R1 1 2 1K\n";
static const char kStrayLine0Text[] = "error -- Cannot find any valid models in the file..\n";
static const char kStrayLine1Text[] =
    "Line 1:\n\tR1 1 2 1K\n"
    "error -- This element is not in a subcircuit. This card will be turned into a comment.\n";

static void CheckRejectedImports(void) {
  Section("ZAV_PerformImport rejects");
  char readable[1024];
  char missing[1024];
  WriteInput(readable, sizeof readable, "readable.lib", ".MODEL DX D (IS=1E-14)\n");
  snprintf(missing, sizeof missing, "%s/does-not-exist.lib", gTempDir);
  const unsigned before = ErrorCount();

  enum { kMissing, kEmpty, kNull, kReadable, kDirectory };
  static const struct {
    int pathKind;
    int style;
    int withOut;
    const char* what;
  } kRejects[] = {
      {kMissing, 0, 1, "missing file"},
      {kDirectory, 0, 1, "a directory"},
      {kEmpty, 0, 1, "empty path"},
      {kNull, 0, 1, "null path"},
      {kReadable, -1, 1, "style -1"},
      {kReadable, 1, 1, "style 1"},
      {kReadable, INT_MAX, 1, "style INT_MAX"},
      {kReadable, 0, 0, "null session pointer"},
  };
  for (size_t i = 0; i < sizeof kRejects / sizeof kRejects[0]; ++i) {
    const char* const kPaths[] = {missing, "", NULL, readable, gTempDir};
    ZAV_SESSION session = (ZAV_SESSION)&before;
    int status = 0;
    int ret = zav.PerformImport(kPaths[kRejects[i].pathKind], kRejects[i].style,
                                kRejects[i].withOut ? &session : NULL, &status);
    CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, kRejects[i].what);
    CHECK(session == (ZAV_SESSION)&before, "%s: session pointer written", kRejects[i].what);
  }
  CHECK(ErrorCount() == before, "rejected imports filed %u diagnostics", ErrorCount() - before);

  /* A pending status: no session, no diagnostic. */
  ZAV_SESSION session = NULL;
  int status = ZAV_STATUS_BAD_ARGUMENT;
  int ret = zav.PerformImport(readable, 0, &session, &status);
  CHECK(ret == 0 && status == ZAV_STATUS_BAD_ARGUMENT && session == NULL, "import with status 2 acted");
  CHECK(ErrorCount() == before, "import with status 2 filed a diagnostic");

  status = 0;
  ret = zav.EndImport(NULL, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_EndImport(NULL)");
}

static ZAV_SESSION Import(const char* path, const char* what) {
  ZAV_SESSION session = NULL;
  int status = 0;
  int ret = zav.PerformImport(path, 0, &session, &status);
  CHECK_CALL(ret, 1, status, 0, what);
  CHECK(ret != 1 || session != NULL, "%s: no session", what);
  return ret == 1 ? session : NULL;
}

static void EndImport(ZAV_SESSION session, const char* what) {
  int status = 0;
  int ret = zav.EndImport(session, &status);
  CHECK_CALL(ret, 1, status, 0, what);
}

static void CheckEmptyFile(void) {
  Section("empty file");
  char path[1024];
  WriteInput(path, sizeof path, "empty.lib", "");
  const unsigned before = ErrorCount();
  ZAV_SESSION session = Import(path, "import of an empty file");
  if (session == NULL) return;
  CHECK(ErrorCount() == before, "an empty file filed %u diagnostics", ErrorCount() - before);

  int status = 0;
  ZAV_MODEL model = (ZAV_MODEL)&status;
  int ret = zav.GetModelFirst(session, &model, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_END_OF_DATA, "ZAV_GetModelFirst without models");
  CHECK(model == NULL, "ZAV_GetModelFirst without models wrote %p", (void*)model);
  status = 0;
  model = (ZAV_MODEL)&status;
  ret = zav.GetModelNext(session, &model, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_END_OF_DATA, "ZAV_GetModelNext without models");
  CHECK(model == NULL, "ZAV_GetModelNext without models wrote %p", (void*)model);
  EndImport(session, "end of the empty import");
}

/* A directory passes or fails the read test depending on the platform; either
 * way the call must not crash and a session it returns must be usable. */
static void CheckDirectoryPath(void) {
  Section("directory path");
  ZAV_SESSION session = NULL;
  int status = 0;
  int ret = zav.PerformImport(gTempDir, 0, &session, &status);
  CHECK((ret == 1 && status == 0 && session != NULL) || (ret == 0 && status == ZAV_STATUS_BAD_ARGUMENT),
        "import of a directory: returned %d status %d", ret, status);
  if (ret != 1) return;
  ZAV_MODEL model = NULL;
  ret = zav.GetModelFirst(session, &model, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_END_OF_DATA, "a directory yields no model");
  EndImport(session, "end of the directory import");
}

/* ## Models */

static const char kThreeModels[] =
    ".MODEL DA D (IS=1E-14 N=1.5)\n"
    ".SUBCKT AMPB 1 2\n"
    "R1 1 2 1K\n"
    ".ENDS\n"
    ".MODEL QC NPN (BF=100)\n";
static const char* const kThreeModelNames[] = {"DA", "AMPB", "QC"};

static void CheckModels(void) {
  Section("models");
  char path[1024];
  WriteInput(path, sizeof path, "three_models.lib", kThreeModels);
  ZAV_SESSION session = Import(path, "import of three models");
  if (session == NULL) return;

  int status = 0;
  ZAV_MODEL model = (ZAV_MODEL)&status;
  /* The cursor has no position before the first ZAV_GetModelFirst. */
  int ret = zav.GetModelNext(session, &model, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_END_OF_DATA, "ZAV_GetModelNext before ZAV_GetModelFirst");

  ZAV_MODEL models[3] = {NULL, NULL, NULL};
  size_t count = 0;
  status = 0;
  ret = zav.GetModelFirst(session, &model, &status);
  CHECK_CALL(ret, 1, status, 0, "ZAV_GetModelFirst");
  while (ret == 1 && count < 4) {
    if (count < 3) models[count] = model;
    ++count;
    ret = zav.GetModelNext(session, &model, &status);
  }
  CHECK(ret == 0 && status == ZAV_STATUS_END_OF_DATA && model == NULL, "end of the models: %d/%d", ret, status);
  CHECK(count == 3, "%u models, want 3", (unsigned)count);

  /* Past the end it stays at the end. */
  status = 0;
  ret = zav.GetModelNext(session, &model, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_END_OF_DATA, "ZAV_GetModelNext after the end");

  for (size_t i = 0; i < 3 && i < count; ++i) {
    unsigned length = 0;
    char* text = ReadText(ModelInfo, models[i], "model text", &length);
    if (text == NULL) continue;
    CHECK(strstr(text, kThreeModelNames[i]) != NULL, "model %u text lacks \"%s\":\n%s", (unsigned)i,
          kThreeModelNames[i], text);
    /* The text is built afresh at every call: the protocol must see the
     * same bytes each time. */
    CheckInfoProtocol(ModelInfo, models[i], text, length, "ZAV_GetModelInfo");
    free(text);
  }

  /* A restart yields the same first handle. */
  status = 0;
  ret = zav.GetModelFirst(session, &model, &status);
  CHECK(ret == 1 && model == models[0], "ZAV_GetModelFirst again");

  static const struct {
    int nullSession;
    int nullOut;
    const char* what;
  } kBad[] = {
      {1, 0, "null session"},
      {0, 1, "null model pointer"},
  };
  for (size_t i = 0; i < sizeof kBad / sizeof kBad[0]; ++i) {
    ZAV_SESSION s = kBad[i].nullSession ? NULL : session;
    ZAV_MODEL* out = kBad[i].nullOut ? NULL : &model;
    status = 0;
    ret = zav.GetModelFirst(s, out, &status);
    CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, kBad[i].what);
    status = 0;
    ret = zav.GetModelNext(s, out, &status);
    CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, kBad[i].what);
  }

  /* A null model is judged before the info type. */
  char buffer[16];
  unsigned size = sizeof buffer;
  status = 0;
  ret = zav.GetModelInfo(NULL, 2, buffer, &size, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_GetModelInfo(NULL)");

  /* A pending status leaves the cursor and the session alone. */
  status = ZAV_STATUS_END_OF_DATA;
  model = NULL;
  ret = zav.GetModelFirst(session, &model, &status);
  CHECK(ret == 0 && status == ZAV_STATUS_END_OF_DATA && model == NULL, "ZAV_GetModelFirst with status 1 acted");
  ret = zav.GetModelNext(session, &model, &status);
  CHECK(ret == 0 && status == ZAV_STATUS_END_OF_DATA && model == NULL, "ZAV_GetModelNext with status 1 acted");
  status = ZAV_STATUS_BAD_ARGUMENT;
  ret = zav.EndImport(session, &status);
  CHECK(ret == 0 && status == ZAV_STATUS_BAD_ARGUMENT, "ZAV_EndImport with status 2 acted");
  status = 0;
  ret = zav.GetModelNext(session, &model, &status);
  CHECK(ret == 1 && model == models[1], "the session did not survive a call with a pending status");

  EndImport(session, "end of the three-model import");
}

/* ## Diagnostics */

static ZAV_DIAGNOSTIC NextError(int first, int* status) {
  ZAV_DIAGNOSTIC diagnostic = (ZAV_DIAGNOSTIC)status;
  int ret = first ? zav.GetErrorFirst(NULL, &diagnostic, status) : zav.GetErrorNext(NULL, &diagnostic, status);
  CHECK((ret == 1) == (diagnostic != NULL) && (ret == 1 || diagnostic == NULL),
        "return %d does not match the handle written", ret);
  return ret == 1 ? diagnostic : NULL;
}

static void CheckDiagnostics(void) {
  Section("diagnostics");
  char path[1024];
  WriteInput(path, sizeof path, "stray_element.lib", kStrayElement);
  const unsigned before = ErrorCount();
  ZAV_SESSION session = Import(path, "import of a stray element");

  /* A list that has entries but whose cursor was never placed. */
  if (before == 0) {
    int status = 0;
    ZAV_DIAGNOSTIC diagnostic = NextError(0, &status);
    CHECK(diagnostic == NULL && status == ZAV_STATUS_END_OF_DATA,
          "ZAV_GetErrorNext before ZAV_GetErrorFirst: status %d", status);
  }
  if (session != NULL) EndImport(session, "end of the stray-element import");
  CHECK(ErrorCount() == before + 2, "stray element filed %u diagnostics, want 2", ErrorCount() - before);

  /* Readable after ZAV_EndImport: the entry without a line comes first. */
  int status = 0;
  ZAV_DIAGNOSTIC first = NextError(1, &status);
  CHECK(first != NULL && status == 0, "ZAV_GetErrorFirst: status %d", status);
  if (first == NULL) return;
  ZAV_DIAGNOSTIC second = NextError(0, &status);
  CHECK(second != NULL && status == 0, "ZAV_GetErrorNext: status %d", status);
  if (before == 0 && second != NULL) {
    unsigned length = 0;
    char* text = ReadText(ErrorInfo, first, "first diagnostic", &length);
    CHECK(text != NULL && strcmp(text, kStrayLine0Text) == 0, "first diagnostic:\n%s", text ? text : "");
    free(text);
    text = ReadText(ErrorInfo, second, "second diagnostic", &length);
    CHECK(text != NULL && strcmp(text, kStrayLine1Text) == 0, "second diagnostic:\n%s", text ? text : "");
    free(text);
    CheckInfoProtocol(ErrorInfo, second, kStrayLine1Text, (unsigned)strlen(kStrayLine1Text), "ZAV_GetErrorInfo");

    /* The end, then round again to the first. */
    ZAV_DIAGNOSTIC end = NextError(0, &status);
    CHECK(end == NULL && status == ZAV_STATUS_END_OF_DATA, "third ZAV_GetErrorNext: status %d", status);
    status = 0;
    ZAV_DIAGNOSTIC again = NextError(0, &status);
    CHECK(again == first && status == 0, "ZAV_GetErrorNext after the end does not restart");
  }

  status = 0;
  int ret = zav.GetErrorFirst(NULL, NULL, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_GetErrorFirst(NULL)");
  status = 0;
  ret = zav.GetErrorNext(NULL, NULL, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_GetErrorNext(NULL)");
  char buffer[16];
  unsigned size = sizeof buffer;
  status = 0;
  ret = zav.GetErrorInfo(NULL, 2, buffer, &size, &status);
  CHECK_CALL(ret, 0, status, ZAV_STATUS_BAD_ARGUMENT, "ZAV_GetErrorInfo(NULL)");

  /* A pending status: the cursor does not move. */
  ZAV_DIAGNOSTIC untouched = (ZAV_DIAGNOSTIC)&status;
  status = ZAV_STATUS_END_OF_DATA;
  ret = zav.GetErrorFirst(NULL, &untouched, &status);
  CHECK(ret == 0 && status == 1 && untouched == (ZAV_DIAGNOSTIC)&status, "ZAV_GetErrorFirst with status 1 acted");
  ret = zav.GetErrorNext(NULL, &untouched, &status);
  CHECK(ret == 0 && status == 1 && untouched == (ZAV_DIAGNOSTIC)&status, "ZAV_GetErrorNext with status 1 acted");

  /* A second import adds to the list: the count is the sum. */
  session = Import(path, "second import of a stray element");
  if (session != NULL) EndImport(session, "end of the second stray-element import");
  CHECK(ErrorCount() == before + 4, "two imports hold %u diagnostics, want 4", ErrorCount() - before);
}

/* ## Golden cases */

typedef struct {
  char* data;
  size_t length;
  size_t capacity;
} Bytes;

static void Append(Bytes* bytes, const char* data, size_t length) {
  if (bytes->length + length + 1 > bytes->capacity) {
    size_t capacity = bytes->capacity != 0 ? bytes->capacity : 4096;
    while (capacity < bytes->length + length + 1) capacity *= 2;
    char* grown = (char*)realloc(bytes->data, capacity);
    if (grown == NULL) {
      fprintf(stderr, "out of memory\n");
      exit(2);
    }
    bytes->data = grown;
    bytes->capacity = capacity;
  }
  memcpy(bytes->data + bytes->length, data, length);
  bytes->length += length;
  bytes->data[bytes->length] = '\0';
}

static void AppendText(Bytes* bytes, const char* text) { Append(bytes, text, strlen(text)); }

static int ReadFileBytes(const char* path, Bytes* bytes) {
  FILE* file = fopen(path, "rb");
  if (file == NULL) return 0;
  char chunk[4096];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) Append(bytes, chunk, got);
  fclose(file);
  if (bytes->data == NULL) Append(bytes, "", 0);
  return 1;
}

static int ComparePointers(const void* a, const void* b) {
  const char* x = *(const char* const*)a;
  const char* y = *(const char* const*)b;
  return x < y ? -1 : x > y ? 1 : 0;
}

static int CompareNames(const void* a, const void* b) { return strcmp(*(char* const*)a, *(char* const*)b); }

/* The list is process-wide and merges every import by line number, so the
 * diagnostics of one import are the handles that were not there before it. */
static ZAV_DIAGNOSTIC* DiagnosticHandles(size_t* count) {
  *count = 0;
  size_t capacity = (size_t)ErrorCount() + 1;
  ZAV_DIAGNOSTIC* handles = (ZAV_DIAGNOSTIC*)malloc(capacity * sizeof *handles);
  int status = 0;
  for (ZAV_DIAGNOSTIC d = NextError(1, &status); d != NULL && *count < capacity; d = NextError(0, &status)) {
    handles[(*count)++] = d;
  }
  qsort(handles, *count, sizeof *handles, ComparePointers);
  return handles;
}

static int EndsWith(const char* name, const char* suffix) {
  size_t n = strlen(name);
  size_t m = strlen(suffix);
  return n >= m && strcmp(name + n - m, suffix) == 0;
}

static int IsGoldenInput(const char* name) {
  return name[0] != '.' && !EndsWith(name, ".expected") && !EndsWith(name, ".md") && !EndsWith(name, ".cpp");
}

/* Imports one case through the library and renders it the way the .expected
 * files are written: each model as "==== model I: N bytes\n", its N bytes and
 * a line feed, then "==== diagnostics: N\n" and the diagnostic texts. */
static void RenderGoldenCase(const char* input, Bytes* out) {
  size_t oldCount;
  ZAV_DIAGNOSTIC* old = DiagnosticHandles(&oldCount);

  ZAV_SESSION session = Import(input, input);
  if (session != NULL) {
    int status = 0;
    ZAV_MODEL model = NULL;
    int index = 0;
    for (int ret = zav.GetModelFirst(session, &model, &status); ret == 1;
         ret = zav.GetModelNext(session, &model, &status)) {
      unsigned length = 0;
      char* text = ReadText(ModelInfo, model, "golden model text", &length);
      char header[64];
      snprintf(header, sizeof header, "==== model %d: %u bytes\n", ++index, length);
      AppendText(out, header);
      if (text != NULL) Append(out, text, length);
      AppendText(out, "\n");
      free(text);
    }
    CHECK(status == ZAV_STATUS_END_OF_DATA, "%s: model walk ended with status %d", input, status);
    EndImport(session, input);
  }

  Bytes diagnostics = {NULL, 0, 0};
  unsigned count = 0;
  int status = 0;
  for (ZAV_DIAGNOSTIC d = NextError(1, &status); d != NULL; d = NextError(0, &status)) {
    if (bsearch(&d, old, oldCount, sizeof *old, ComparePointers) != NULL) continue;
    unsigned length = 0;
    char* text = ReadText(ErrorInfo, d, "golden diagnostic text", &length);
    if (text != NULL) Append(&diagnostics, text, length);
    free(text);
    ++count;
  }
  char header[64];
  snprintf(header, sizeof header, "==== diagnostics: %u\n", count);
  AppendText(out, header);
  if (diagnostics.data != NULL) Append(out, diagnostics.data, diagnostics.length);
  free(diagnostics.data);
  free(old);
}

static void CompareWithExpected(const char* label, const char* input, const Bytes* expected) {
  Bytes actual = {NULL, 0, 0};
  RenderGoldenCase(input, &actual);
  if (actual.data == NULL) Append(&actual, "", 0);

  size_t at = 0;
  while (at < expected->length && at < actual.length && expected->data[at] == actual.data[at]) ++at;
  const int same = expected->length == actual.length && at == expected->length;
  CHECK(same, "%s differs from its .expected at byte %u (lengths %u and %u)", label, (unsigned)at,
        (unsigned)actual.length, (unsigned)expected->length);
  if (!same) {
    /* Left next to the other temporary files for a look with diff. */
    char actualPath[2048];
    snprintf(actualPath, sizeof actualPath, "%s/%s.actual", gTempDir, label);
    FILE* file = fopen(actualPath, "wb");
    if (file != NULL) {
      fwrite(actual.data, 1, actual.length, file);
      fclose(file);
      fprintf(stderr, "  actual output written to %s\n", actualPath);
    }
  }
  free(actual.data);
}

/* The input with every bare line feed turned into CR LF, as the file would
 * arrive from an editor on Windows. The reader drops a CR before a LF on
 * every platform, so the copy must import exactly like the original. */
static int WriteCrlfCopy(const char* input, const char* copyPath) {
  Bytes original = {NULL, 0, 0};
  if (!ReadFileBytes(input, &original)) return 0;
  FILE* file = fopen(copyPath, "wb");
  if (file != NULL) {
    for (size_t i = 0; i < original.length; ++i) {
      if (original.data[i] == '\n' && (i == 0 || original.data[i - 1] != '\r')) fputc('\r', file);
      fputc(original.data[i], file);
    }
    fclose(file);
  }
  free(original.data);
  return file != NULL;
}

static void CheckGoldenCase(const char* dir, const char* name) {
  char input[2048];
  char expectedPath[2048];
  snprintf(input, sizeof input, "%s/%s", dir, name);
  snprintf(expectedPath, sizeof expectedPath, "%s/%s", dir, name);
  char* dot = strrchr(expectedPath, '.');
  if (dot != NULL && strchr(dot, '/') == NULL) *dot = '\0';
  strncat(expectedPath, ".expected", sizeof expectedPath - strlen(expectedPath) - 1);

  Bytes expected = {NULL, 0, 0};
  if (!ReadFileBytes(expectedPath, &expected)) {
    CHECK(0, "%s: no .expected file", name);
    return;
  }
  CompareWithExpected(name, input, &expected);

  char crlfName[1024];
  char crlfPath[2048];
  snprintf(crlfName, sizeof crlfName, "crlf_%s", name);
  snprintf(crlfPath, sizeof crlfPath, "%s/%s", gTempDir, crlfName);
  CHECK(WriteCrlfCopy(input, crlfPath), "%s: cannot write its CR LF copy", name);
  CompareWithExpected(crlfName, crlfPath, &expected);
  free(expected.data);
}

static void CheckGoldenCases(const char* dir) {
  Section("golden");
  DIR* folder = opendir(dir);
  CHECK(folder != NULL, "cannot list %s", dir);
  if (folder == NULL) return;
  char** names = NULL;
  size_t count = 0;
  size_t capacity = 0;
  for (struct dirent* entry = readdir(folder); entry != NULL; entry = readdir(folder)) {
    if (!IsGoldenInput(entry->d_name)) continue;
    if (count == capacity) {
      capacity = capacity != 0 ? capacity * 2 : 64;
      names = (char**)realloc(names, capacity * sizeof *names);
    }
    names[count] = (char*)malloc(strlen(entry->d_name) + 1);
    strcpy(names[count++], entry->d_name);
  }
  closedir(folder);
  qsort(names, count, sizeof *names, CompareNames);
  for (size_t i = 0; i < count; ++i) {
    CheckGoldenCase(dir, names[i]);
    free(names[i]);
  }
  free(names);
  printf("golden: %u cases\n", (unsigned)count);
}

/* ## NUL and every other byte value
 *
 * A text handed to the host never holds a zero byte: the reader turns each
 * NUL of the file into a space, and warns once per file. The checks run
 * with --nul-bytes; without --require-nul-replacement a library that leaves
 * NUL bytes in makes them report themselves skipped (exit status 77). */

static const char kNulWarning[] = "The file contains NUL bytes, the first on this line. Each was replaced by a space";

static void WriteInputBytes(char* path, size_t pathSize, const char* name, const char* bytes, size_t length) {
  snprintf(path, pathSize, "%s/%s", gTempDir, name);
  FILE* file = fopen(path, "wb");
  CHECK(file != NULL, "cannot create %s", path);
  if (file != NULL) {
    fwrite(bytes, 1, length, file);
    fclose(file);
  }
}

/* A comment line holding a NUL files the warning, and nothing else does. */
static int ReaderReplacesNul(void) {
  char path[1024];
  WriteInputBytes(path, sizeof path, "nul_probe.lib", "* a\0b\n", 6);
  const unsigned before = ErrorCount();
  ZAV_SESSION session = NULL;
  int status = 0;
  if (!zav.PerformImport(path, 0, &session, &status)) return 0;
  status = 0;
  zav.EndImport(session, &status);
  return ErrorCount() > before;
}

/* Imports `bytes`; checks every model text and every diagnostic filed (all
 * through ReadText, so each length is held to its strlen) and returns the
 * number of models and of NUL warnings; `textOf` receives a copy of model
 * `wanted` (1-based) when it is not NULL. */
static void ImportBytes(const char* name, const char* bytes, size_t length, int wanted, char** textOf,
                        unsigned* models, unsigned* warnings) {
  char path[1024];
  WriteInputBytes(path, sizeof path, name, bytes, length);
  size_t oldCount;
  ZAV_DIAGNOSTIC* old = DiagnosticHandles(&oldCount);
  *models = 0;
  *warnings = 0;
  ZAV_SESSION session = Import(path, name);
  if (session != NULL) {
    int status = 0;
    ZAV_MODEL model = NULL;
    for (int ret = zav.GetModelFirst(session, &model, &status); ret == 1;
         ret = zav.GetModelNext(session, &model, &status)) {
      unsigned n = 0;
      char* text = ReadText(ModelInfo, model, name, &n);
      if (++*models == (unsigned)wanted && textOf != NULL) {
        *textOf = text;
        text = NULL;
      }
      free(text);
    }
    EndImport(session, name);
  }
  int status = 0;
  for (ZAV_DIAGNOSTIC d = NextError(1, &status); d != NULL; d = NextError(0, &status)) {
    if (bsearch(&d, old, oldCount, sizeof *old, ComparePointers) != NULL) continue;
    unsigned n = 0;
    char* text = ReadText(ErrorInfo, d, name, &n);
    if (text == NULL) continue;
    /* The severity and the message follow the quoted line. */
    CHECK(strstr(text, " -- ") != NULL, "%s: a diagnostic without its message: \"%s\"", name, text);
    if (strstr(text, kNulWarning) != NULL) ++*warnings;
    free(text);
  }
  free(old);
}

static void CheckNulBytes(void) {
  Section("NUL bytes");
  unsigned models;
  unsigned warnings;
  char* text = NULL;

  /* A NUL in a comment line: the model after it reaches the host whole. */
  static const char kInComment[] = ".MODEL DA D(IS=1)\n* a\0b\n.MODEL DB D(IS=2)\n";
  ImportBytes("nul_in_comment.lib", kInComment, sizeof kInComment - 1, 2, &text, &models, &warnings);
  CHECK(models == 2 && warnings == 1, "NUL in a comment: %u models, %u warnings", models, warnings);
  CHECK(text != NULL && strcmp(text, "* a b\n.MODEL DB D(IS=2)\n") == 0, "NUL in a comment: model 2 is \"%s\"",
        text != NULL ? text : "(none)");
  free(text);

  /* A NUL after a card whose parameter is reported: the quoted line and
   * the message both reach the host. */
  static const char kAfterCard[] = ".MODEL DA D(IS=1 T_ABS=2)\0x\n";
  ImportBytes("nul_after_card.lib", kAfterCard, sizeof kAfterCard - 1, 0, NULL, &models, &warnings);
  CHECK(warnings == 1, "NUL after a card: %u warnings", warnings);

  /* Every byte value, in a comment, in a parameter value, in an element's
   * node name and in an inline comment. 0x1A, which may be taken for an
   * end-of-file mark, comes last, so that everything before it is read. */
  char* bytes = (char*)malloc(64 * 1024);
  size_t n = 0;
  n += (size_t)sprintf(bytes + n, "* every byte:");
  for (int b = 0; b < 256; ++b) {
    if (b != '\n' && b != 0x1A) bytes[n++] = (char)b;
  }
  bytes[n++] = '\n';
  for (int b = 0; b < 256; ++b) {
    if (b == 0x1A) continue;
    n += (size_t)sprintf(bytes + n, ".MODEL B%03d D(IS=1", b);
    bytes[n++] = (char)b;
    n += (size_t)sprintf(bytes + n, " N=2)\n");
  }
  n += (size_t)sprintf(bytes + n, ".SUBCKT ALL 1 2\n");
  for (int b = 0; b < 256; ++b) {
    if (b == 0x1A) continue;
    n += (size_t)sprintf(bytes + n, "R%03d 1 N", b);
    bytes[n++] = (char)b;
    n += (size_t)sprintf(bytes + n, " 1K\n");
  }
  n += (size_t)sprintf(bytes + n, ".ENDS\n.MODEL LAST D(IS=1) ;");
  for (int b = 0; b < 256; ++b) {
    if (b != '\n' && b != 0x1A) bytes[n++] = (char)b;
  }
  bytes[n++] = '\n';
  bytes[n++] = 0x1A;
  ImportBytes("every_byte.lib", bytes, n, 0, NULL, &models, &warnings);
  CHECK(models > 0 && warnings == 1, "every byte value: %u models, %u warnings", models, warnings);
  free(bytes);
}

/* ## Unload */

/* The diagnostic list lives from load to unload: a library loaded afresh
 * starts empty. Where the platform keeps the image mapped after the last
 * close there is nothing to observe, and the check is skipped. */
static void CheckReload(const char* libraryPath, AbiLibrary* library) {
  Section("reload");
  CHECK(ErrorCount() > 0, "no diagnostics before the reload");
  AbiClose(*library);
  *library = NULL;
  if (AbiIsLoaded(libraryPath)) {
    printf("note: the library stayed mapped after the last close; reload not checked\n");
  }
  *library = AbiOpen(libraryPath);
  CHECK(*library != NULL, "cannot load the library again");
  if (*library == NULL || !ResolveAll(*library)) return;
  CHECK(ErrorCount() == 0, "a reloaded library holds %u diagnostics", ErrorCount());
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s LIBRARY TEMPDIR [GOLDENDIR | --nul-bytes [--require-nul-replacement]]\n", argv[0]);
    return 2;
  }
  const char* libraryPath = argv[1];
  gTempDir = argv[2];
  AbiMakeDirectory(gTempDir);
  const int nulBytes = argc > 3 && strcmp(argv[3], "--nul-bytes") == 0;
  const int requireNul = argc > 4 && strcmp(argv[4], "--require-nul-replacement") == 0;

  AbiLibrary library = AbiOpen(libraryPath);
  Section("load");
  CHECK(library != NULL, "cannot load %s: %s", libraryPath, AbiLastError());
  if (library != NULL && ResolveAll(library)) {
    if (nulBytes) {
      if (!ReaderReplacesNul() && !requireNul) {
        AbiClose(library);
        printf("skipped: the reader does not replace NUL bytes yet\n");
        return 77;
      }
      CheckNulBytes();
    } else {
      CheckCallingConvention();
      CheckStatusTexts();
      CheckStyles();
      CheckEmptyDiagnosticList();
      CheckRejectedImports();
      CheckEmptyFile();
      CheckDirectoryPath();
      CheckModels();
      CheckDiagnostics();
      if (argc > 3) {
        CheckGoldenCases(argv[3]);
      }
      CheckReload(libraryPath, &library);
    }
  }
  if (library != NULL) AbiClose(library);

  printf("%d passed, %d failed\n", gPassed, gFailed);
  return gFailed == 0 ? 0 : 1;
}
