// The C interface as a C11 host uses it: every success and failure path, NULL arguments,
// ownership over a thousand calls (run under AddressSanitizer and LeakSanitizer too), and two
// threads at once. Prints "N passed, N failed".
#include "vexloweb/vexloweb.h"

#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int passed = 0;
static int failed = 0;

#define CHECK(condition)                                                      \
  do {                                                                        \
    if (condition) {                                                          \
      ++passed;                                                               \
    } else {                                                                  \
      ++failed;                                                               \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
    }                                                                         \
  } while (0)

static int same(const char* text, const char* expected) {  // a NULL `expected`: `text` is NULL
  return expected ? text != NULL && strcmp(text, expected) == 0 : text == NULL;
}

static int contains(const char* text, const char* part) {
  return text != NULL && strstr(text, part) != NULL;
}

static const char kDocument[] = "{\"package_name\":\"c.host\",\"menus\":[{\"menu\":\"Home\"}]}";
static vexloweb_failure failure = {0};  // every call below but the threads' fills this one

// The call said it failed, and its failure names layer `l` and member `m` (NULL: none) and holds
// `r` in its reason.
#define REFUSED(wasRefused, l, m, r)                                              \
  CHECK((wasRefused) && same(failure.layer, l) && same(failure.member_path, m) && \
        contains(failure.reason, r))

static void sealOpenAndRefuse(void) {
  char* sealed = vexloweb_seal(kDocument, strlen(kDocument), &failure);
  CHECK(sealed != NULL && failure.layer == NULL);
  size_t length = 99;
  char* document = vexloweb_open(sealed, sealed ? strlen(sealed) : 0, &length, &failure);
  CHECK(same(document, kDocument) && length == strlen(kDocument));
  CHECK(vexloweb_check(sealed, sealed ? strlen(sealed) : 0, &failure) == 1 && !failure.layer);
  vexloweb_free(document);
  vexloweb_free(sealed);
  sealed = vexloweb_seal("{\"loader_delay\":3}", 18, &failure);  // loads, with a warning
  CHECK(vexloweb_check(sealed, sealed ? strlen(sealed) : 0, &failure) == 1 && !failure.layer);
  vexloweb_free(sealed);

  static const char kNotBase64[] = "not base64 at all\n";
  // A raw NUL byte is not JSON: the length is honoured, not cut at the NUL, and it is refused.
  static const char kWithNul[] = "{\"about_text\":\"a\\u0000b\"}  \0";
  static const char kBad[] = "{\"package_name\":\"x\",\"menus\":[{\"menu\":1}]}";
  REFUSED(!vexloweb_open(kNotBase64, strlen(kNotBase64), NULL, &failure), "outer base64", NULL, "");
  REFUSED(!vexloweb_check("", 0, &failure), "file", NULL, "");
  REFUSED(!vexloweb_seal(kWithNul, sizeof kWithNul - 1, &failure), "document", NULL, "");
  REFUSED(!vexloweb_seal(kBad, strlen(kBad), &failure), "document", "menus[0].menu",
          "expected a string, found 1");
  sealed = vexloweb_seal("{}", 2, &failure);  // a later success clears what the struct held
  CHECK(sealed && !failure.layer && !failure.reason && !failure.member_path);
  vexloweb_free(sealed);
  // A NULL failure pointer is fine everywhere.
  CHECK(vexloweb_seal(kBad, strlen(kBad), NULL) == NULL);
  CHECK(vexloweb_open(kNotBase64, strlen(kNotBase64), NULL, NULL) == NULL);
}

static void nullArguments(void) {
  size_t length = 7;
  REFUSED(!vexloweb_seal(NULL, 5, &failure), "argument", NULL, "document is NULL");
  REFUSED(!vexloweb_open(NULL, 5, &length, &failure) && length == 0, "argument", NULL, "");
  REFUSED(!vexloweb_check(NULL, 1, &failure), "argument", NULL, "");
  REFUSED(!vexloweb_load_configuration(NULL, &failure), "argument", NULL, "");
  REFUSED(!vexloweb_load_configuration_from(VEXLOWEB_EXAMPLE_BUNDLE, NULL, NULL, &failure),
          "argument", NULL, "file_name is NULL");
  REFUSED(!vexloweb_set_configure_data_json(NULL, 3, &failure), "argument", NULL, "");
  CHECK(vexloweb_defaults_json_at(NULL) == NULL);
  vexloweb_read_configuration(NULL);
  vexloweb_set_bundle_path(NULL);
  vexloweb_failure_clear(NULL);
  vexloweb_free(NULL);
  vexloweb_failure_clear(&failure);
  CHECK(failure.layer == NULL && failure.reason == NULL);
}

static void loadAndRecord(void) {
  vexloweb_set_defaults_path(NULL);
  vexloweb_set_bundle_path(VEXLOWEB_EXAMPLE_BUNDLE);
  CHECK(vexloweb_load_configuration("example", &failure) == 1 && failure.layer == NULL);
  char* json = vexloweb_configure_data_json();
  CHECK(contains(json, "\"package_name\":\"com.example.bakery\""));
  vexloweb_free(json);
  char* defaults = vexloweb_defaults_json();
  CHECK(contains(defaults, "\"COLOR_PRIMARY\":"));
  vexloweb_free(defaults);
  REFUSED(!vexloweb_load_configuration("missing", &failure), "resource", NULL, "missing.io");
  vexloweb_read_configuration("missing");  // silent, and changes nothing

  // A load from its own folder, whatever the process-wide folder is.
  vexloweb_set_bundle_path("/nonexistent");
  CHECK(vexloweb_load_configuration_from(VEXLOWEB_EXAMPLE_BUNDLE, NULL, "example", &failure) == 1);
  REFUSED(!vexloweb_load_configuration_from(NULL, NULL, "example", &failure), "resource", NULL,
          "/nonexistent");
  vexloweb_set_bundle_path(VEXLOWEB_EXAMPLE_BUNDLE);
  // A name the caller passed comes back as valid UTF-8.
  REFUSED(!vexloweb_load_configuration_from(NULL, NULL, "\xfe", &failure), "resource", NULL,
          "'\\xfe.io'");
  CHECK(failure.reason && strchr(failure.reason, '\xfe') == NULL);

  static const char kRecord[] = "{\"tabs\":[],\"loader_int_time\":2.5} trailing";
  CHECK(vexloweb_set_configure_data_json(kRecord, strlen(kRecord) - 9, &failure) == 1);
  static const char kWrong[] = "{\"tabs\":[{\"url\":false}]}";
  REFUSED(!vexloweb_set_configure_data_json(kWrong, strlen(kWrong), &failure), "document",
          "tabs[0].url", "tabs[0].url: ");
  REFUSED(!vexloweb_set_configure_data_json("{}\0{}", 5, &failure), "document", NULL, "");
  json = vexloweb_configure_data_json();  // unchanged by the refused records
  CHECK(same(json, "{\"loader_int_time\":2.5,\"tabs\":[]}"));
  vexloweb_free(json);
}

// The store's verdicts passed through (its own tests hold the rest): a file that is not a store
// fails a load, as `vexloweb load` does, and a read instead of reading "{}".
static void storeFailures(void) {
  FILE* notes = fopen("c_api_test_notes.txt", "w");
  fputs("my notes\n", notes);
  fclose(notes);
  vexloweb_set_defaults_path("c_api_test_notes.txt");
  REFUSED(!vexloweb_load_configuration("example", &failure), "defaults", NULL,
          "not an SQLite database");
  vexloweb_set_defaults_path(NULL);  // a fresh store in memory again
  CHECK(vexloweb_load_configuration("example", &failure) == 1);
  REFUSED(!vexloweb_load_configuration_from(NULL, "c_api_test_notes.txt", "example", &failure),
          "defaults", NULL, "");
  REFUSED(!vexloweb_read_defaults(".", &failure), "defaults", NULL, "a folder");
  remove("c_api_test_notes.txt");
}

// Each call's results are freed and failures overwritten: run a thousand times on one thread,
// under LeakSanitizer, and at once on two, each loading into a store of its own while the
// process-wide folder moves under it.
#ifndef VEXLOWEB_ROUNDS  // the installed-package hosts build it with fewer
#define VEXLOWEB_ROUNDS 500
#endif

struct Run {
  int ok;
  const char* store;  // in the current folder, removed afterwards
};

static void* useRepeatedly(void* argument) {
  struct Run* run = argument;
  vexloweb_failure failure = {0};
  for (int i = 0; i < VEXLOWEB_ROUNDS; ++i) {
    char* sealed = vexloweb_seal(kDocument, strlen(kDocument), &failure);
    char* document = vexloweb_open(sealed, strlen(sealed), NULL, &failure);
    run->ok = run->ok && same(document, kDocument);
    vexloweb_free(document);
    vexloweb_free(sealed);
    run->ok = run->ok && vexloweb_open("x", 1, NULL, &failure) == NULL;
    run->ok = run->ok && vexloweb_set_configure_data_json(kDocument, strlen(kDocument), &failure);
    vexloweb_set_bundle_path(i % 2 ? "/nonexistent" : VEXLOWEB_EXAMPLE_BUNDLE);
    run->ok = run->ok && vexloweb_load_configuration_from(VEXLOWEB_EXAMPLE_BUNDLE, run->store,
                                                          "example", &failure);
    char* json = vexloweb_configure_data_json();
    run->ok = run->ok && json != NULL;
    vexloweb_free(json);
    vexloweb_free(vexloweb_defaults_json());
  }
  char* stored = vexloweb_defaults_json_at(run->store);
  run->ok = run->ok && contains(stored, "\"COLOR_PRIMARY\":");  // of whichever record was held
  vexloweb_free(stored);
  for (int k = 0; k < 3; ++k) {
    char file[64];
    snprintf(file, sizeof file, "%s%s", run->store, (const char*[]){"", "-wal", "-shm"}[k]);
    remove(file);
  }
  vexloweb_failure_clear(&failure);
  return NULL;
}

static void repeatedCallsAndThreads(void) {
  struct Run runs[3] = {
      {1, "c_api_test_0.sqlite3"}, {1, "c_api_test_1.sqlite3"}, {1, "c_api_test_2.sqlite3"}};
  useRepeatedly(&runs[2]);
  pthread_t threads[2];
  for (int t = 0; t < 2; ++t) pthread_create(&threads[t], NULL, useRepeatedly, &runs[t]);
  for (int t = 0; t < 2; ++t) pthread_join(threads[t], NULL);
  CHECK(runs[0].ok && runs[1].ok && runs[2].ok);
}

int main(void) {
  CHECK(same(vexloweb_version_string(), VEXLOWEB_EXPECTED_VERSION));
  CHECK(vexloweb_configure_data_json() == NULL);  // no record before a load
  sealOpenAndRefuse();
  nullArguments();
  loadAndRecord();
  storeFailures();
  repeatedCallsAndThreads();
  vexloweb_failure_clear(&failure);
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
