/* A C11 host of the installed library, built with pkg-config: loads the example bundle, reads
 * the record as JSON, seals and opens a document, and gets a layer and member path for a fault. */
#include <stdio.h>
#include <string.h>

#include <vexloweb/vexloweb.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fputs("usage: host-c BUNDLE_FOLDER\n", stderr);
    return 2;
  }
  vexloweb_failure failure = {0};
  vexloweb_set_bundle_path(argv[1]);
  vexloweb_set_defaults_path(NULL);
  if (!vexloweb_load_configuration("example", &failure)) {
    fprintf(stderr, "load: %s: %s\n", failure.layer, failure.reason);
    vexloweb_failure_clear(&failure);
    return 1;
  }
  char* json = vexloweb_configure_data_json();
  const char* name = json != NULL ? strstr(json, "com.example.bakery") : NULL;

  static const char kDocument[] = "{\"tabs\":[{\"menu\":\"a\"}]}";
  char* sealed = vexloweb_seal(kDocument, strlen(kDocument), &failure);
  size_t length = 0;
  char* opened = sealed != NULL ? vexloweb_open(sealed, strlen(sealed), &length, &failure) : NULL;
  const int roundTrip =
      opened != NULL && length == strlen(kDocument) && memcmp(opened, kDocument, length) == 0;

  static const char kBad[] = "{\"tabs\":[{\"menu\":true}]}";
  char* refused = vexloweb_seal(kBad, strlen(kBad), &failure);
  const int named = refused == NULL && failure.layer != NULL &&
                    strcmp(failure.layer, "document") == 0 && failure.member_path != NULL &&
                    strcmp(failure.member_path, "tabs[0].menu") == 0;

  if (name != NULL && roundTrip && named)
    printf("com.example.bakery %s\n", vexloweb_version_string());
  vexloweb_free(json);
  vexloweb_free(sealed);
  vexloweb_free(opened);
  vexloweb_free(refused);
  vexloweb_failure_clear(&failure);
  return name != NULL && roundTrip && named ? 0 : 1;
}
