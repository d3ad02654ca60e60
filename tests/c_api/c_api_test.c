/* The C interface as a C11 host uses it: every success and failure path, NULL arguments,
 * ownership over a thousand calls (run under AddressSanitizer and LeakSanitizer too), and two
 * threads at once. Prints "N passed, N failed". */
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

static int same(const char* text, const char* expected) {
  return text != NULL && strcmp(text, expected) == 0;
}

static int contains(const char* text, const char* part) {
  return text != NULL && strstr(text, part) != NULL;
}

static const char kDocument[] = "{\"package_name\":\"c.host\",\"menus\":[{\"menu\":\"Home\"}]}";

static void sealAndOpen(void) {
  vexloweb_failure failure = {0};
  char* sealed = vexloweb_seal(kDocument, strlen(kDocument), &failure);
  CHECK(sealed != NULL && failure.layer == NULL);
  size_t length = 99;
  char* document = vexloweb_open(sealed, sealed ? strlen(sealed) : 0, &length, &failure);
  CHECK(same(document, kDocument) && length == strlen(kDocument));
  CHECK(vexloweb_check(sealed, sealed ? strlen(sealed) : 0, &failure) == 1 && !failure.layer);
  vexloweb_free(document);
  vexloweb_free(sealed);
  sealed = vexloweb_seal("{\"loader_delay\":3}", 18, &failure); /* loads, with a warning */
  CHECK(vexloweb_check(sealed, sealed ? strlen(sealed) : 0, &failure) == 1 && !failure.layer);

  /* A raw NUL byte is not JSON: the length is honoured, not cut at the NUL, and it is refused. */
  static const char kWithNul[] = "{\"about_text\":\"a\\u0000b\"}  \0";
  char* sealedNul = vexloweb_seal(kWithNul, sizeof kWithNul - 1, &failure);
  CHECK(sealedNul == NULL && same(failure.layer, "document"));
  vexloweb_free(sealedNul);
  vexloweb_free(sealed);
  vexloweb_failure_clear(&failure);
}

static void failures(void) {
  vexloweb_failure failure = {0};
  static const char kBad[] = "{\"package_name\":\"x\",\"menus\":[{\"menu\":1}]}";
  CHECK(vexloweb_seal(kBad, strlen(kBad), &failure) == NULL);
  CHECK(same(failure.layer, "document") && same(failure.member_path, "menus[0].menu") &&
        contains(failure.reason, "expected a string, found 1"));

  static const char kNotBase64[] = "not base64 at all\n";
  CHECK(vexloweb_open(kNotBase64, strlen(kNotBase64), NULL, &failure) == NULL);
  CHECK(same(failure.layer, "outer base64") && failure.member_path == NULL);
  CHECK(vexloweb_check("", 0, &failure) == 0 && same(failure.layer, "file"));

  /* A later success clears what the struct held. */
  char* sealed = vexloweb_seal("{}", 2, &failure);
  CHECK(sealed != NULL && failure.layer == NULL && failure.reason == NULL &&
        failure.member_path == NULL);
  vexloweb_free(sealed);

  /* A NULL failure pointer is fine everywhere. */
  CHECK(vexloweb_seal(kBad, strlen(kBad), NULL) == NULL);
  CHECK(vexloweb_open(kNotBase64, strlen(kNotBase64), NULL, NULL) == NULL);
}

static void nullArguments(void) {
  vexloweb_failure failure = {0};
  size_t length = 7;
  CHECK(vexloweb_seal(NULL, 5, &failure) == NULL && same(failure.layer, "argument") &&
        same(failure.reason, "document is NULL"));
  CHECK(vexloweb_open(NULL, 5, &length, &failure) == NULL && length == 0 &&
        same(failure.layer, "argument"));
  CHECK(vexloweb_check(NULL, 1, &failure) == 0 && same(failure.layer, "argument"));
  CHECK(vexloweb_load_configuration(NULL, &failure) == 0 && same(failure.layer, "argument"));
  CHECK(vexloweb_load_configuration_from(VEXLOWEB_EXAMPLE_BUNDLE, NULL, NULL, &failure) == 0 &&
        same(failure.layer, "argument") && same(failure.reason, "file_name is NULL"));
  CHECK(vexloweb_defaults_json_at(NULL) == NULL);
  CHECK(vexloweb_set_configure_data_json(NULL, 3, &failure) == 0 &&
        same(failure.layer, "argument"));
  vexloweb_read_configuration(NULL);
  vexloweb_set_bundle_path(NULL);
  vexloweb_failure_clear(NULL);
  vexloweb_free(NULL);
  vexloweb_failure_clear(&failure);
  CHECK(failure.layer == NULL && failure.reason == NULL);
}

static void loadAndRecord(void) {
  vexloweb_failure failure = {0};
  vexloweb_set_defaults_path(NULL);
  vexloweb_set_bundle_path(VEXLOWEB_EXAMPLE_BUNDLE);
  CHECK(vexloweb_load_configuration("example", &failure) == 1 && failure.layer == NULL);
  char* json = vexloweb_configure_data_json();
  CHECK(contains(json, "\"package_name\":\"com.example.bakery\""));
  vexloweb_free(json);
  char* defaults = vexloweb_defaults_json();
  CHECK(contains(defaults, "\"COLOR_PRIMARY\":"));
  vexloweb_free(defaults);

  CHECK(vexloweb_load_configuration("missing", &failure) == 0);
  CHECK(same(failure.layer, "resource") && contains(failure.reason, "missing.io"));
  vexloweb_read_configuration("missing"); /* silent, and changes nothing */

  /* A load from its own folder, whatever the process-wide folder is. */
  vexloweb_set_bundle_path("/nonexistent");
  CHECK(vexloweb_load_configuration_from(VEXLOWEB_EXAMPLE_BUNDLE, NULL, "example", &failure) == 1);
  CHECK(vexloweb_load_configuration_from(NULL, NULL, "example", &failure) == 0 &&
        same(failure.layer, "resource") && contains(failure.reason, "/nonexistent"));
  vexloweb_set_bundle_path(VEXLOWEB_EXAMPLE_BUNDLE);

  static const char kRecord[] = "{\"tabs\":[],\"loader_int_time\":2.5} trailing";
  CHECK(vexloweb_set_configure_data_json(kRecord, strlen(kRecord) - 9, &failure) == 1);
  json = vexloweb_configure_data_json();
  CHECK(same(json, "{\"loader_int_time\":2.5,\"tabs\":[]}"));
  vexloweb_free(json);
  static const char kWrong[] = "{\"tabs\":[{\"url\":false}]}";
  CHECK(vexloweb_set_configure_data_json(kWrong, strlen(kWrong), &failure) == 0);
  CHECK(same(failure.layer, "document") && same(failure.member_path, "tabs[0].url") &&
        contains(failure.reason, "tabs[0].url: "));
  CHECK(vexloweb_set_configure_data_json("{}\0{}", 5, &failure) == 0); /* bytes after a NUL */
  json = vexloweb_configure_data_json(); /* unchanged by the refused record */
  CHECK(same(json, "{\"loader_int_time\":2.5,\"tabs\":[]}"));
  vexloweb_free(json);
  vexloweb_failure_clear(&failure);
}

/* A file that is not a store: a load holds the record but fails, saying the settings were not
 * stored (as `vexloweb load` does), and a read fails instead of reading "{}". A name the caller
 * passed comes back as valid UTF-8. */
static void storeFailures(void) {
  vexloweb_failure failure = {0};
  FILE* notes = fopen("c_api_test_notes.txt", "w");
  fputs("my notes\n", notes);
  fclose(notes);
  vexloweb_set_defaults_path("c_api_test_notes.txt");
  CHECK(vexloweb_load_configuration("example", &failure) == 0 && same(failure.layer, "defaults") &&
        contains(failure.reason, "not an SQLite database"));
  vexloweb_set_defaults_path(NULL); /* a fresh store in memory again */
  CHECK(vexloweb_load_configuration("example", &failure) == 1);
  CHECK(vexloweb_load_configuration_from(NULL, "c_api_test_notes.txt", "example", &failure) == 0 &&
        same(failure.layer, "defaults"));
  CHECK(vexloweb_read_defaults(".", &failure) == NULL && contains(failure.reason, "a folder"));
  CHECK(vexloweb_load_configuration_from(NULL, NULL, "\xfe", &failure) == 0 &&
        contains(failure.reason, "'\\xfe.io'") && strchr(failure.reason, '\xfe') == NULL);
  remove("c_api_test_notes.txt");
  vexloweb_failure_clear(&failure);
}

/* Each call's results are freed and failures overwritten: run a thousand times on one thread,
 * under LeakSanitizer, and at once on two, each loading into a store of its own while the
 * process-wide folder moves under it. */
#ifndef VEXLOWEB_ROUNDS /* the installed-package hosts build it with fewer */
#define VEXLOWEB_ROUNDS 500
#endif

struct Run {
  int ok;
  const char* store; /* in the current folder, removed afterwards */
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
    char* defaults = vexloweb_defaults_json();
    vexloweb_free(defaults);
  }
  char* stored = vexloweb_defaults_json_at(run->store);
  run->ok = run->ok && contains(stored, "\"COLOR_PRIMARY\":"); /* of whichever record was held */
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
  CHECK(vexloweb_configure_data_json() == NULL); /* no record before a load */
  sealAndOpen();
  failures();
  nullArguments();
  loadAndRecord();
  storeFailures();
  repeatedCallsAndThreads();
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
