/* The C interface of VexloWebLib, for hosts in C and in every language that calls C (Swift, JNI,
 * Python's ctypes, any FFI): load the app's sealed configuration and read the held record as
 * JSON, seal and open documents, and learn which layer failed and why. Valid C11 and C++.
 *
 * Every function may be called from any thread, as the C++ functions it wraps; none throws or
 * aborts. Text in and out is UTF-8: a returned text is always valid UTF-8, each byte that is not
 * (from a name the caller passed, or a key a host stored) written as the four characters "\xNN"
 * (in JSON, a string whose value reads "\xNN"). Every `char*` returned is owned by the caller and
 * freed with vexloweb_free (which takes NULL). No argument is ever required to be non-NULL: a NULL
 * gives a clear failure (layer "argument") or NULL, as each function says.
 *
 * Failures: a function that takes a `vexloweb_failure*` (which may be NULL) first frees and
 * clears what the struct held, so a struct must start zeroed (`vexloweb_failure f = {0};`).
 * On failure it sets `layer` (the layer that failed, as the loader names it: "resource", "file",
 * "file text", "cipher keys", "outer base64", "cipher", "decrypted text", "inner base64",
 * "document text", "document"; "defaults" when the user-defaults store file could not be read or
 * written; "argument" for a NULL argument, "internal" for anything else), `reason` (for the person
 * who has to fix it; "out of memory" when even the failure's texts could not be allocated) and, for
 * the document layer, `member_path` (the member at fault, as "menus[1].menu"; NULL for the whole
 * document). On success all three are NULL. vexloweb_failure_clear frees them when the caller is
 * done.
 *
 * Example:
 *   vexloweb_set_bundle_path("/opt/bakery/resources");
 *   vexloweb_failure failure = {0};
 *   if (vexloweb_load_configuration("app", &failure)) {
 *     char* json = vexloweb_configure_data_json();
 *     puts(json);
 *     vexloweb_free(json);
 *   } else {
 *     fprintf(stderr, "%s: %s\n", failure.layer, failure.reason);
 *   }
 *   vexloweb_failure_clear(&failure);
 */
#ifndef VEXLOWEB_VEXLOWEB_H
#define VEXLOWEB_VEXLOWEB_H

#include <stddef.h> /* NOLINT(modernize-deprecated-headers): this header is C too */

#include "vexloweb/export.hpp"

#ifdef __cplusplus
extern "C" {
#endif

/* Why a call failed; every member is NULL or a string owned by the struct. */
typedef struct vexloweb_failure { /* NOLINT(modernize-use-using): C */
  char* layer;
  char* reason;
  char* member_path;
} vexloweb_failure;

/* The library's version, "MAJOR.MINOR.PATCH". Static: do not free. */
VEXLOWEB_EXPORT const char* vexloweb_version_string(void);

/* Points the app's resource folder (where "<name>.io" is looked for) at `folder`. NULL leaves
 * it as it is (by default the folder of the running executable). */
VEXLOWEB_EXPORT void vexloweb_set_bundle_path(const char* folder);

/* Points the standard user-defaults store at the SQLite file `file` (created with its folders
 * when missing); NULL gives a fresh in-memory store. */
VEXLOWEB_EXPORT void vexloweb_set_defaults_path(const char* file);

/* The app's load of "<file_name>.io", exactly as ConfigureVexloWeb::readConfiguration: silent
 * (but for the cipher's one line on standard output when decryption fails), keeping the last
 * good record on any failure. NULL does nothing. */
VEXLOWEB_EXPORT void vexloweb_read_configuration(const char* file_name);

/* The same load, reporting the outcome: 1 when the record is held and exported to the store's
 * file, 0 with `failure` filled when not. A load that failed leaves the held record and the store
 * unchanged. Layer "defaults": the record is held and the settings were exported, but only into
 * memory, because the store's file could not take them (not a store of ours, a folder, a disk
 * error: the reason says which); `vexloweb load` exits 1 in that case too. */
VEXLOWEB_EXPORT int vexloweb_load_configuration(const char* file_name, vexloweb_failure* failure);

/* The same load of "<file_name>.io" from the folder `bundle_folder` into the SQLite store
 * `defaults_file`, whatever the process-wide paths are, so that threads may load from different
 * folders into different stores at once; only the held record is shared. A NULL `bundle_folder`
 * or `defaults_file` is the process-wide one. 1 on success; 0 with `failure` filled as
 * vexloweb_load_configuration fills it (layer "argument" for a NULL `file_name`). */
VEXLOWEB_EXPORT int vexloweb_load_configuration_from(const char* bundle_folder,
                                                     const char* defaults_file,
                                                     const char* file_name,
                                                     vexloweb_failure* failure);

/* Every entry of the SQLite store `defaults_file`, as vexloweb_defaults_json; NULL for a NULL
 * argument. Reading never creates the file. A file that is not a store reads as "{}": use
 * vexloweb_read_defaults to learn so. */
VEXLOWEB_EXPORT char* vexloweb_defaults_json_at(const char* defaults_file);

/* Every entry of the SQLite store `defaults_file` (NULL: the process-wide store) as one JSON
 * object, as vexloweb_defaults_json; a file that does not exist reads as "{}". NULL with
 * `failure` filled (layer "defaults") when the store's values are not those of its file: the
 * file is not a store (a folder, an empty or text file, another program's database) or cannot
 * be read, or an earlier write to it failed. Reading changes nothing: no file is created, the
 * journal mode stays, and no "-wal" or "-shm" file is left behind once the process has closed
 * the store. */
VEXLOWEB_EXPORT char* vexloweb_read_defaults(const char* defaults_file, vexloweb_failure* failure);

/* The held record as one compact JSON object (what ConfigureData::encode writes), or NULL when
 * the holder is empty. */
VEXLOWEB_EXPORT char* vexloweb_configure_data_json(void);

/* Decodes the JSON document `json` (`length` bytes; it need not be NUL-terminated) by the
 * loader's rules and replaces the held record with it: 1. On a fault: 0, `failure` filled (layer
 * "document" with the member at fault), and the held record unchanged. Nothing is exported. */
VEXLOWEB_EXPORT int vexloweb_set_configure_data_json(const char* json, size_t length,
                                                     vexloweb_failure* failure);

/* Every entry of the standard user-defaults store as one JSON object, sorted by key; strings,
 * integers, numbers and booleans keep their JSON types. */
VEXLOWEB_EXPORT char* vexloweb_defaults_json(void);

/* Seals the JSON document `document` (`length` bytes) into the text of a ".io" file, one line
 * and a line break, with the loader's key and IV. The document is checked first, as
 * `vexloweb seal` does: one that would not load gives NULL with the first member at fault. */
VEXLOWEB_EXPORT char* vexloweb_seal(const char* document, size_t length, vexloweb_failure* failure);

/* Opens the text of a ".io" file (`length` bytes) down to its document: the document's bytes
 * followed by a NUL, with their count in *document_length (when not NULL); or NULL with the
 * failing layer. The document itself is not decoded (see vexloweb_check). */
VEXLOWEB_EXPORT char* vexloweb_open(const char* sealed, size_t length, size_t* document_length,
                                    vexloweb_failure* failure);

/* Checks the text of a ".io" file through every layer and decodes its document, storing
 * nothing: 1 when the app would load it, 0 with the first failure. */
VEXLOWEB_EXPORT int vexloweb_check(const char* sealed, size_t length, vexloweb_failure* failure);

/* Frees the members of `failure` and sets them to NULL. NULL does nothing. */
VEXLOWEB_EXPORT void vexloweb_failure_clear(vexloweb_failure* failure);

/* Frees a string returned by this interface. NULL does nothing. */
VEXLOWEB_EXPORT void vexloweb_free(void* text);

#ifdef __cplusplus
}
#endif

#endif /* VEXLOWEB_VEXLOWEB_H */
