/*
 * What differs between loading a shared library on Linux and on Windows, for
 * the ABI test: open, resolve, close, ask whether it is still mapped, and
 * make a folder.
 */
#ifndef ZAV_ABI_LOADER_H
#define ZAV_ABI_LOADER_H

#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <direct.h>
#include <windows.h>

typedef HMODULE AbiLibrary;

static inline AbiLibrary AbiOpen(const char* path) { return LoadLibraryA(path); }

static inline void* AbiSymbol(AbiLibrary library, const char* name) {
  FARPROC address = GetProcAddress(library, name);
  void* result;
  memcpy(&result, &address, sizeof result);
  return result;
}

static inline void AbiClose(AbiLibrary library) { FreeLibrary(library); }

/* A module is found by its file name alone. */
static inline int AbiIsLoaded(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '/' || *p == '\\') name = p + 1;
  }
  return GetModuleHandleA(name) != NULL;
}

static inline const char* AbiLastError(void) {
  static char text[32];
  snprintf(text, sizeof text, "error %lu", (unsigned long)GetLastError());
  return text;
}

static inline void AbiMakeDirectory(const char* path) { (void)_mkdir(path); }

#else
#include <dlfcn.h>
#include <sys/stat.h>

typedef void* AbiLibrary;

static inline AbiLibrary AbiOpen(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }

static inline void* AbiSymbol(AbiLibrary library, const char* name) { return dlsym(library, name); }

static inline void AbiClose(AbiLibrary library) { dlclose(library); }

static inline int AbiIsLoaded(const char* path) {
  void* library = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (library == NULL) return 0;
  dlclose(library);
  return 1;
}

static inline const char* AbiLastError(void) {
  const char* text = dlerror();
  return text != NULL ? text : "unknown error";
}

static inline void AbiMakeDirectory(const char* path) { (void)mkdir(path, 0777); }

#endif

#endif /* ZAV_ABI_LOADER_H */
