"""Hand-written faults for the C interface: src/c_api/vexloweb_c.cpp and
include/vexloweb/vexloweb.h. Each breaks a promise the header makes to a C host or an FFI: a
NULL argument answered with a clear failure, returned text valid UTF-8 (and valid JSON), the
failing layer and member filled in, a failure never reported as success.

Run them from the repository root:
    python3 ../shared/tools/mutate.py --faults dev/faults/c_api.py --preset quick
"""

FAULTS = [
    ('C01', 'src/c_api/vexloweb_c.cpp',
     'out.append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xF]);',
     'out.append(1, kHex[byte >> 4]).append(1, kHex[byte >> 4]);',
     'an invalid byte is written "\\xNN" with its high digit twice (0xfe reads "\\xff")'),
    ('C02', 'src/c_api/vexloweb_c.cpp',
     ': copyText(validUtf8(json, true));',
     ': copyText(validUtf8(json));',
     'JSON out: an invalid byte becomes an unescaped \\x inside a string, so the JSON no longer '
     'parses'),
    ('C03', 'src/c_api/vexloweb_c.cpp',
     '  failure->reason = copyText(validUtf8(reason));',
     '  failure->reason = copyText(reason);',
     "failure reason passed through raw: a caller's name with invalid bytes gives invalid UTF-8"),
    ('C04', 'src/c_api/vexloweb_c.cpp',
     '    fill(failure, "defaults", "the settings were not stored: " + *why);\n    return 0;',
     '    fill(failure, "defaults", "the settings were not stored: " + *why);\n    return 1;',
     'load returns 1 (success) when the exported settings did not reach the store file, though '
     'the failure struct names layer "defaults"'),
    ('C05', 'src/c_api/vexloweb_c.cpp',
     'fill(failure, "defaults", "the settings were not stored: " + *why);',
     'fill(failure, "file", "the settings were not stored: " + *why);',
     'load: a store that could not be written is reported under layer "file" instead of "defaults"'),
    ('C06', 'src/c_api/vexloweb_c.cpp',
     '  if (folder == nullptr) return;\n',
     '',
     'vexloweb_set_bundle_path(NULL) no longer leaves the folder as it is (reads through NULL)'),
    ('C07', 'src/c_api/vexloweb_c.cpp',
     '      vexloweb::platform::UserDefaults::setStandardInMemory();',
     '      return;',
     'vexloweb_set_defaults_path(NULL) keeps the previous store file instead of a fresh in-memory '
     'store'),
    ('C08', 'src/c_api/vexloweb_c.cpp',
     '    if (refuseNull(file_name, "file_name", failure)) return 0;\n    // The app',
     '    // The app',
     'vexloweb_load_configuration(NULL): layer "internal" with a library message instead of '
     '"argument"'),
    ('C09', 'src/c_api/vexloweb_c.cpp',
     '    return loadResult(outcome, defaults, failure);',
     '    return loadResult(outcome, UserDefaults::standard(), failure);',
     'load_configuration_from: a per-call store file that could not be written is not reported '
     '(the process-wide store is looked at)'),
    ('C10', 'src/c_api/vexloweb_c.cpp',
     '    if (defaults_file == nullptr) return nullptr;',
     '    if (defaults_file == nullptr)\n      return copyJson(vexloweb::defaultsJson(vexloweb::platform::UserDefaults::standard()));',
     'vexloweb_defaults_json_at(NULL) returns the process-wide store instead of NULL'),
    ('C11', 'src/c_api/vexloweb_c.cpp',
     '    if (auto why = defaults.failure()) {\n      fill(failure, "defaults", *why);\n      return nullptr;\n    }\n',
     '',
     'vexloweb_read_defaults: a file that is not a store (a folder, a text file) reads as "{}"'),
    ('C12', 'src/c_api/vexloweb_c.cpp',
     'return record ? copyJson(record->encode()) : nullptr;',
     'return record ? copyJson(record->encode()) : copyText("{}");',
     'vexloweb_configure_data_json returns "{}" instead of NULL when no record is held'),
    ('C13', 'src/c_api/vexloweb_c.cpp',
     'vexloweb::ConfigureData::decode(std::string_view(json, length));',
     'vexloweb::ConfigureData::decode(std::string_view(json, length).substr(0, std::strlen(json)));',
     'set_configure_data_json: the document is cut at its first NUL byte (trailing bytes after it '
     'are no longer refused) and an unterminated buffer is read past its length'),
    ('C14', 'src/c_api/vexloweb_c.cpp',
     'fill(failure, "document", error.what(), error.path());',
     'fill(failure, "document", error.what());',
     'set_configure_data_json: a document fault leaves member_path NULL instead of naming the member'),
    ('C15', 'src/c_api/vexloweb_c.cpp',
     '    const vexloweb::FileCheck check = vexloweb::checkDocumentText(text);\n    if (check.failure) {\n      fill(failure, *check.failure);\n      return nullptr;\n    }\n',
     '',
     'vexloweb_seal no longer checks the document: one the app would not load is sealed'),
    ('C16', 'src/c_api/vexloweb_c.cpp',
     '      *document_length = opened.document->size();',
     '      *document_length = opened.document->size() + 1;',
     'vexloweb_open: document_length counts the terminating NUL'),
    ('C17', 'src/c_api/vexloweb_c.cpp',
     '    if (check.failure) fill(failure, *check.failure);\n',
     '',
     'vexloweb_check returns 0 with the failure struct left empty (no layer, no reason)'),
    ('C18', 'src/c_api/vexloweb_c.cpp',
     'fill(failure, "argument", std::string(name) + " is NULL");',
     'fill(failure, "internal", std::string(name) + " is NULL");',
     'a NULL argument is reported under layer "internal" instead of "argument"'),
    ('C19', 'include/vexloweb/vexloweb.h',
     '  char* reason;\n  char* member_path;\n',
     '  char* member_path;\n  char* reason;\n',
     'vexloweb_failure members reordered: hosts laid out on the documented struct (ctypes, JNI) '
     'read the member path as the reason'),
]
