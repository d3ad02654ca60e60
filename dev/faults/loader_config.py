"""Hand-written faults for the configuration model (src/config/, include/vexloweb/config/) and the
loader (src/loader/, include/vexloweb/loader/): decoding a document, checking a sealed file or a
document, sealing, the cipher's key checks and lines, the envelope's layers, the load's resource
lookup and its two exports. Each breaks something a host, a generator or a user of the tool is
promised by the README or a public header (a check left out, an edge handled the wrong way, a
message that stops naming the fix, a name that can leave the bundle, a failure reported as
success); none only changes speed. Written from the code and the README alone, without looking at
the tests. Run from the repository root:
python3 ../shared/tools/mutate.py --faults dev/faults/loader_config.py --preset quick
(the quick preset builds no GUI, which none of these faults needs; one rebuild and test run per
fault). Not part of the build or of the test count."""

FAULTS = [
    # ---- loader: envelope and cipher ----
    ('L01', 'src/loader/envelope.cpp',
     '    say(cryptFailureMessage(status));\n',
     '',
     'load: a cipher failure (wrong key or IV, damaged file) no longer prints '
     '"Error: Failed to crypt data. Status ..." nor lists it in cipherMessages'),
    ('L02', 'src/loader/envelope.cpp',
     '    fail(LoadLayer::kFile, "the file is empty");',
     '    return fail(LoadLayer::kFile, "the file is empty");',
     'load: an empty file stops before the cipher, so the crypt line the app prints for it is lost'),
    ('L03', 'src/loader/envelope.cpp',
     'return keys && keys->iv ? std::string_view(*keys->iv) : kLoaderIv;',
     'return keys && keys->key && keys->iv ? std::string_view(*keys->iv) : kLoaderIv;',
     'EnvelopeKeys with an IV but no key: the given IV is ignored and the loader\'s IV used'),
    ('L04', 'src/loader/cipher.cpp',
     '  if (*keyLength != 16 && *keyLength != 32) {',
     '  if (*keyLength != 16 && *keyLength != 24 && *keyLength != 32) {',
     'cipher keys: a 24-character key is accepted (only 16 or 32 characters are allowed)'),
    ('L05', 'src/loader/cipher.cpp',
     '    printDebugLine(std::cout, cryptFailureMessage(status));\n    return std::nullopt;',
     '    printDebugLine(std::cout, cryptFailureMessage(status));\n    return output;',
     'crypt(): a failed cipher run returns empty bytes instead of nothing (failure looks like success)'),
    # ---- loader: the load ----
    ('L06', 'src/loader/load_pipeline.cpp',
     '  if (!platform::Bundle::staysInside(fileName)) {',
     '  if (fileName.empty()) {',
     'load: a name with ".." or a leading "/" is reported as a missing file, without saying the '
     'name must stay inside the bundle'),
    ('L07', 'src/loader/load_pipeline.cpp',
     '  const auto path = bundle.pathForResource(fileName, "io");\n  if (!path) {',
     '  auto path = bundle.pathForResource(fileName, "io");\n'
     '  if (!path) {\n'
     '    // A name the bundle does not know may still name a file relative to the working folder.\n'
     '    const std::string local = std::string(fileName) + ".io";\n'
     '    std::error_code ignored;\n'
     '    if (std::filesystem::is_regular_file(local, ignored)) path = local;\n'
     '  }\n'
     '  if (!path) {',
     'load: a name the bundle refuses (absolute, or with "..") is opened from the working folder, '
     'so a load reads a file outside the bundle'),
    ('L08', 'src/loader/load_pipeline.cpp',
     '    outcome.failure = envelope.checkDocumentText();  // bytes that are not UTF-8 fail here too\n'
     '    if (!outcome.failure)\n'
     '      outcome.failure = LoadFailure{LoadLayer::kDocument, error.what(), error.path()};',
     '    outcome.failure = LoadFailure{LoadLayer::kDocument, error.what(), error.path()};',
     'load: a document that is not UTF-8 is reported at the "document" layer (invalid JSON) '
     'instead of "document text"'),
    ('L09', 'src/loader/load_pipeline.cpp',
     'const KeyCheck check = checkCipherKeys(keyText(keys), ivText(keys));',
     'const KeyCheck check = checkCipherKeys(keyText(keys), ivText(std::nullopt));',
     'sealDocument: a given IV is ignored: files are sealed with the loader\'s IV and do not open '
     'under the IV asked for'),
    ('L10', 'src/loader/theme_settings_export.cpp',
     '  if (index <= kGradients) {',
     '  if (index < kGradients) {',
     'theme export: GRADIENT_17 is taken for a solid theme ("quarn_solid0_primary" twice)'),
    ('L11', 'src/loader/ad_settings_export.cpp',
     '    defaults.setObject(std::move(settings.ads[i]), kAdSettings[i].key);',
     '    if (settings.ads[i]) defaults.setObject(std::move(settings.ads[i]), kAdSettings[i].key);',
     'ad export: an absent ad field no longer removes its key, so a value of an earlier load stays'),
    # ---- loader: checking files and documents ----
    ('L12', 'src/loader/file_check.cpp',
     '  for (const FieldInfo& field : ConfigureDataAccess::fields()) {\n'
     '    if (member == field.name) return field.key;\n'
     '  }\n',
     '',
     'check: a member named like a field whose key differs (loader_delay) gets no '
     '"did you mean "loader_int_time"?"'),
    ('L13', 'src/loader/file_check.cpp',
     '    checkOption<Constants::WEBVIEW_OPEN_CONDITION>(warnings, path + "condition",',
     '    checkOption<Constants::WEBVIEW_OPEN_TYPE>(warnings, path + "condition",',
     'check: external_browser_url[i].condition is compared with the type words, so every valid '
     'condition (EQUAL, CONTAIN...) is warned about'),
    ('L14', 'src/loader/file_check.cpp',
     '  const std::string prefix = printableText(name) + ": ";',
     '  const std::string prefix = std::string(name) + ": ";',
     'formatFileCheck: the file name is printed raw, so a name with a line break or an escape '
     'sequence can forge lines on the terminal'),
    ('L15', 'src/loader/file_check.cpp',
     '    if (gap > kMaxEdits) continue;',
     '    if (gap >= kMaxEdits) continue;',
     'closestWord: a candidate two characters longer or shorter than the word is never suggested'),
    # ---- config: decoding ----
    ('L16', 'src/config/record_decoder.cpp',
     ' || std::trunc(value) != value) return {};',
     ') return {};',
     'decode: an integer field given 2.5 is accepted (cut to 2) instead of refused'),
    ('L17', 'src/config/record_decoder.cpp',
     '  if (!isObject) failNotObject(value, &path);',
     '  if (!isObject && value.type() != Type::kNull) failNotObject(value, &path);',
     'decode: a null element in menus/tabs/external_browser_url gives an empty entry instead of '
     'refusing the document'),
    ('L18', 'src/config/record_decoder.cpp',
     '      } else if (!found[index]) {\n'
     '        found[index] = member;\n'
     '      } else {\n'
     '        noteDuplicate(top, key);  // the first of duplicate members wins\n'
     '      }',
     '      } else {\n'
     '        if (found[index]) noteDuplicate(top, key);\n'
     '        found[index] = member;\n'
     '      }',
     'decode: of a top-level member given twice the last wins, not the first as documented'),
    ('L19', 'src/config/record_decoder.cpp',
     '  errors_.emplace_back(std::move(where), reason);',
     '  if (errors_.empty()) errors_.emplace_back(std::move(where), reason);',
     'checkDocument: only the first member at fault is listed (seal and check no longer name '
     'every one)'),
    ('L20', 'src/config/record_decoder.cpp',
     '  list->resize(count);\n',
     '',
     'decode into a reused record: a list shorter than the one reused keeps stale trailing '
     'entries from an earlier load'),
    ('L21', 'src/config/record_decoder.cpp',
     '  const bool located = error.offset != std::string_view::npos;',
     '  const bool located = false;',
     'decode: a syntax error no longer says at which byte, line and column the JSON is broken'),
    ('L22', 'src/config/configure_data.cpp',
     '  if (index == std::string_view::npos) return {};',
     '  if (index == std::string_view::npos) {\n'
     '    // Also take a field\'s own name, for the five keys that differ from it.\n'
     '    const auto& fields = ConfigureDataAccess::fields();\n'
     '    for (std::size_t i = 0; i < fields.size(); ++i) {\n'
     '      if (fields[i].name == jsonKey) return static_cast<CodingKeys>(i);\n'
     '    }\n'
     '    return {};\n'
     '  }',
     'codingKey("loader_delay") gives loader_delay although only the JSON key "loader_int_time" '
     'may'),
    ('L23', 'src/config/list_records.cpp',
     'return RecordDecoder(RecordDecoder::Mode::kStopAtFirst).decodeListRecord<NavigationTab>(json);',
     'return RecordDecoder(RecordDecoder::Mode::kCollectAll).decodeListRecord<NavigationTab>(json);',
     'NavigationTab::decode never throws: bad JSON or a non-string member gives a partial record'),
    ('L24', 'src/config/decoding_error.cpp',
     '    : std::runtime_error(path.empty() ? reason : path + ": " + reason),',
     '    : std::runtime_error(path + ": " + reason),',
     'DecodingError::what() of a whole-document fault starts with ": " (no member to name)'),
    ('L25', 'src/config/document_check.cpp',
     '  check.duplicateMembers = decoder.duplicateMembers();\n',
     '',
     'checkDocument: duplicate members are no longer reported, so check gives no duplicate warning'),
]
