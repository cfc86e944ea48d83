/* zav.h must compile as strict C89: hosts written in old C include it too. */
#include "zav.h"

typedef char ZavStatusValues[(ZAV_STATUS_OK == 0 && ZAV_STATUS_BAD_INFO_TYPE == 4) ? 1 : -1];

int (ZAV_CALL* const zavHeaderCheckC89)(int, char*, unsigned) = ZAV_MapPIErrorCode;
