/*
 * zav.h: the C interface of the zav model-file import library.
 *
 * A host loads the library, lists the input styles it understands, imports a
 * PSpice-dialect model file, walks the translated models and the diagnostics,
 * and ends the import. Every function uses the C calling convention and C
 * linkage and is exported under its plain name.
 *
 * ## The status protocol
 *
 * Every function except ZAV_MapPIErrorCode and ZAV_GetErrorCount returns 1 for
 * success and 0 for failure, and reports the reason through a caller-owned
 * status integer passed last:
 *
 *   ZAV_STATUS_OK (0), ZAV_STATUS_END_OF_DATA (1), ZAV_STATUS_BAD_ARGUMENT (2),
 *   ZAV_STATUS_BAD_SIZE (3), ZAV_STATUS_BAD_INFO_TYPE (4).
 *
 * A call made while *status is non-zero does nothing and returns 0. End of an
 * iteration is reported as a failure with status 1, so the host sets the
 * status back to 0 before its next call. The status pointer must be valid.
 *
 * ## The info protocol (ZAV_GetStyleInfo, ZAV_GetErrorInfo, ZAV_GetModelInfo)
 *
 * infoType ZAV_INFO_LENGTH (0): *size must be exactly 4; the length of the
 *   text (without terminator) is written as a 32-bit integer at buffer.
 *   Any other *size: *size = 4, status 3.
 * infoType ZAV_INFO_TEXT (1): with n the text's length, if *size >= n the n
 *   characters are copied to buffer, followed by a terminating zero only when
 *   *size > n. Otherwise *size = n, the buffer is left alone, status 3. Pass
 *   n + 1 bytes to receive a terminated text.
 * Any other infoType: status 4. A bad handle (status 2) is reported before the
 * info type is looked at. A null size pointer, or a null buffer where the call
 * would write, gives status 2.
 *
 * ## Ownership
 *
 * Style handles are indices and never expire. A session handle lives from
 * ZAV_PerformImport to ZAV_EndImport; its model handles for exactly that time.
 * Diagnostic handles stay valid until the library is unloaded: diagnostics of
 * successive imports accumulate in one process-wide list ordered by line
 * number, and stay readable after ZAV_EndImport. The host never frees
 * anything the library hands out; texts are copied into the host's buffers.
 *
 * ## When memory runs out
 *
 * Only ZAV_PerformImport and ZAV_GetModelInfo allocate memory that grows with
 * the input. When an allocation fails in either, the call returns 0 with
 * status 2 (ZAV_STATUS_BAD_ARGUMENT: hosts know no other failure) and files
 * error 41, "Not enough memory to import file: PATH (N bytes)", with the
 * file's path and its size in bytes. Everything the failed call had
 * allocated is released first: a failed import leaves no session behind, and
 * a failed model text leaves its session and model as they were, so a later
 * call may succeed. Should memory be too short even for that diagnostic,
 * nothing is filed. The diagnostics filed before memory ran out stay. The
 * library never ends the host's process and no exception leaves it; reading
 * diagnostics, styles and status texts allocates nothing and works however
 * short memory is.
 *
 * ## Diagnostic messages
 *
 * Every diagnostic text is one message of a fixed catalogue (%s stands for a
 * value filled in). Severity: E error about the file as a whole, e error,
 * w warning, i info.
 *
 *   0 E Unexpected End-of-File
 *   1 E Can't open file: %s for reading
 *   2 E Can't read input file: %s
 *   3 E Can't close file: %s
 *   4 E Cannot find any valid models in the file.
 *   5 e Unexpected end-of-card. Could not get the first token.
 *   6 e Unexpected token in card "%s"
 *   7 e This line is unexpected in this context
 *   8 e Unknown card type. It will be converted to a comment
 *   9 e Unknown control card. It will be converted to a comment
 *  10 e Unknown element card. It will be converted to a comment
 *  11 e Unknown model card. It will be converted to a comment
 *  12 e Invalid %s string or character. Could not determine the type of this token.
 *  13 e This element is not in a subcircuit. This card will be turned into a comment
 *  14 e can't find subcircuit %s .ends card
 *  15 e This card is unexpected in this context.
 *  16 e Should not ever get this. .MODEL Card does not have .MODEL keyword
 *  17 e Model card does not have a name. This card will be turned into a comment
 *  18 e Model card does not have a model type identifier
 *  19 e This MOSFET Model has a level "%s" that cannot be translated. (...)
 *  20 e "%s" is an invalid %s name
 *  21 e Value for %s is missing
 *  22 e "%s" is not a numeric value. This card will be converted to a comment
 *  23 w "%s" is not a supported model parameter. It will be converted to a comment
 *  24 e "%s" is not a recognized model parameter. It will be converted to a comment
 *  25 e Unknown action for the "%s" parameter. It will be converted to a comment
 *  26 w There are no elements that reference the "%s" model, (...)
 *  27 i The "%s" parameter is being added to the device "%s" as "%s"
 *  28 e The MOSFET model "%s" is in a subcircuit, (...)
 *  29 e Element card does not have a name. This card will be turned into a comment
 *  30 e This element card does not have enough pins. (...)
 *  31 e This element card has the invalid pin name "%s". (...)
 *  32 e This element card requires a model name, and does not have one. (...)
 *  33 e This element card does not have enough tokens, so is presumed invalid. (...)
 *  34 e This element card uses a form that is not supported. (...)
 *  35 e Cannot find "%s" reference model for "%s"
 *  36 e The model type of the %s model and the AKO model %s must be the same
 *  37 w The model contains an encrypted block that is passed through unchanged
 *  38 i The file ends at an end-of-file mark; %s bytes after it were not read
 *  39 i The model type "%s" is already in the host's form. (...)
 *  40 w The file contains NUL bytes, the first on this line. Each was replaced by a space
 *  41 E Not enough memory to import file: %s (%s bytes)
 *
 * Filed only by imports that zav-import translates for ngspice (--target
 * ngspice), never through these exports:
 *  42 i The expression is rewritten in ngspice's spelling: %s
 *  43 w The function "%s" has no equivalent in ngspice. (...)
 *  44 i The commas between the parameter assignments were removed; (...)
 *  45 i "%s" is written "%s" for ngspice
 *  46 i The model type "%s" is written "%s" for ngspice
 *  47 i The MOSFET level %s is written as ngspice's %s
 *  48 i "%s" and "%s" are written as ngspice's threshold and hysteresis: %s
 *  49 i "%s" is written with the value %s that the model takes by default; (...)
 *  50 i The switch turns on below "%s" and off above "%s": (...)
 *  51 i The model type "%s" is already in ngspice's form. (...)
 *
 * The library starts no threads and takes no locks: call it from one thread at
 * a time.
 */
#ifndef ZAV_H
#define ZAV_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define ZAV_CALL __cdecl
#if defined(ZAV_BUILDING_LIBRARY)
#define ZAV_API __declspec(dllexport)
#else
#define ZAV_API
#endif
#else
#define ZAV_CALL
#if defined(ZAV_BUILDING_LIBRARY)
#define ZAV_API __attribute__((visibility("default")))
#else
#define ZAV_API
#endif
#endif

#define ZAV_STATUS_OK 0
#define ZAV_STATUS_END_OF_DATA 1
#define ZAV_STATUS_BAD_ARGUMENT 2
#define ZAV_STATUS_BAD_SIZE 3
#define ZAV_STATUS_BAD_INFO_TYPE 4

#define ZAV_INFO_LENGTH 0
#define ZAV_INFO_TEXT 1

/* Opaque handles. A style handle is a plain int (a row index). */
typedef struct ZAV_Session_* ZAV_SESSION;
typedef struct ZAV_Model_* ZAV_MODEL;
typedef struct ZAV_Diagnostic_* ZAV_DIAGNOSTIC;

/* ## Status texts */

/* Writes the text of status `code` into buffer: the first `size` bytes are
 * zeroed, then min(length, size) characters are copied (terminated only when
 * size > length). Codes other than 1 to 4 give "Unknown Error. Error Code = %d".
 * Returns 0, leaving the buffer untouched, for code 0; otherwise 1. A null
 * buffer with a non-zero size is not written to. */
ZAV_API int ZAV_CALL ZAV_MapPIErrorCode(int code, char* buffer, unsigned size);

/* ## Styles */

/* *style = 0 (the table is never empty). Status 2 for a null style pointer. */
ZAV_API int ZAV_CALL ZAV_GetStyleFirst(int* style, int* status);

/* Moves *style to the next row. Past the last row: *style = -1, status 1.
 * Status 2 for a null pointer or an index out of range. */
ZAV_API int ZAV_CALL ZAV_GetStyleNext(int* style, int* status);

/* Length or text of the style's name (info protocol). Status 2 for an index
 * out of range, 3 for a size mismatch, 4 for another info type. */
ZAV_API int ZAV_CALL ZAV_GetStyleInfo(int style, int infoType, void* buffer, unsigned* size, int* status);

/* ## Import */

/* Imports the file at `path` with the given style into a new session, stored
 * in *session. Status 2, and nothing created, for a path that cannot be read
 * or is not a regular file (a directory, a FIFO, a device), a style index out
 * of range or a null session pointer; no diagnostic is filed for these. Once
 * these checks pass the call succeeds whatever the file holds: problems
 * become diagnostics and a shorter model list; a file that is gone or no
 * longer a regular file when it is opened gives an empty session and error 1.
 * Out of memory: status 2, no session, and error 41 (see above). */
ZAV_API int ZAV_CALL ZAV_PerformImport(const char* path, int style, ZAV_SESSION* session, int* status);

/* Destroys the session with its models. Diagnostics stay. Status 2 for a null
 * session. */
ZAV_API int ZAV_CALL ZAV_EndImport(ZAV_SESSION session, int* status);

/* ## Models */

/* The session's first model. Status 1 (and *model = NULL) when there is none;
 * status 2 for a null session or a null model pointer. */
ZAV_API int ZAV_CALL ZAV_GetModelFirst(ZAV_SESSION session, ZAV_MODEL* model, int* status);

/* The session's next model. Status 1 (and *model = NULL) at the end, or when
 * ZAV_GetModelFirst was not called; status 2 for a null session or a null
 * model pointer. */
ZAV_API int ZAV_CALL ZAV_GetModelNext(ZAV_SESSION session, ZAV_MODEL* model, int* status);

/* Length or text of the model's translated netlist text (info protocol). The
 * text is built afresh at every call. Status 2 for a null model, 3 for a size
 * mismatch, 4 for another info type. Out of memory while the text is built:
 * status 2 and error 41 naming the session's file (see above). */
ZAV_API int ZAV_CALL ZAV_GetModelInfo(ZAV_MODEL model, int infoType, void* buffer, unsigned* size, int* status);

/* ## Diagnostics (process-wide; the first argument is not read) */

/* *count = the number of diagnostics filed since the library was loaded.
 * Always returns 1. */
ZAV_API int ZAV_CALL ZAV_GetErrorCount(void* unused, int* count);

/* The first diagnostic. Status 1 (and *diagnostic = NULL) when there is none;
 * status 2 for a null diagnostic pointer. */
ZAV_API int ZAV_CALL ZAV_GetErrorFirst(void* unused, ZAV_DIAGNOSTIC* diagnostic, int* status);

/* The next diagnostic. Status 1 (and *diagnostic = NULL) at the end; the call
 * after that starts again at the first. Status 1 as well when
 * ZAV_GetErrorFirst was never called; status 2 for a null pointer. */
ZAV_API int ZAV_CALL ZAV_GetErrorNext(void* unused, ZAV_DIAGNOSTIC* diagnostic, int* status);

/* Length or text of the diagnostic (info protocol): an optional
 * "Line N:\n\t<line>" header, "info -- ", "warning -- " or "error -- ", the
 * message, and ".\n"; at most 511 characters. Status 2 for a null
 * diagnostic, 3 for a size mismatch, 4 for another info type. */
ZAV_API int ZAV_CALL ZAV_GetErrorInfo(ZAV_DIAGNOSTIC diagnostic, int infoType, void* buffer, unsigned* size,
                                      int* status);

#ifdef __cplusplus
}
#endif

#endif /* ZAV_H */
