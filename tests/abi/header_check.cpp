// A C++ host that includes zav.h and links the library the ordinary way
// (import library / shared object) rather than resolving names at run time.
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "zav.h"

// The prototypes a host compiles against: C types only, 32-bit integers.
static_assert(std::is_same_v<decltype(&ZAV_MapPIErrorCode), int(ZAV_CALL*)(int, char*, unsigned)>);
static_assert(std::is_same_v<decltype(&ZAV_GetStyleInfo), int(ZAV_CALL*)(int, int, void*, unsigned*, int*)>);
static_assert(std::is_same_v<decltype(&ZAV_PerformImport), int(ZAV_CALL*)(const char*, int, ZAV_SESSION*, int*)>);
static_assert(std::is_same_v<decltype(&ZAV_GetErrorCount), int(ZAV_CALL*)(void*, int*)>);
static_assert(sizeof(int) == 4 && sizeof(unsigned) == 4);

int main() {
  int passed = 0;
  int failed = 0;
  auto check = [&](bool ok, const char* what) {
    if (ok) {
      ++passed;
    } else {
      ++failed;
      std::fprintf(stderr, "FAIL: %s\n", what);
    }
  };

  char text[64] = {};
  check(ZAV_MapPIErrorCode(3, text, sizeof text) == 1 &&
            std::strcmp(text, "The size argument for an info call is invalid.") == 0,
        "ZAV_MapPIErrorCode(3)");

  int status = 0;
  int style = -1;
  check(ZAV_GetStyleFirst(&style, &status) == 1 && style == 0, "ZAV_GetStyleFirst");
  char name[16] = {};
  unsigned size = sizeof name;
  check(ZAV_GetStyleInfo(style, ZAV_INFO_TEXT, name, &size, &status) == 1 && std::strcmp(name, "PSPICE") == 0,
        "ZAV_GetStyleInfo");

  int count = -1;
  check(ZAV_GetErrorCount(nullptr, &count) == 1 && count == 0, "ZAV_GetErrorCount");

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
