"""Hand-written faults for the user-defaults store: UserDefaults and its transactions
(src/platform/user_defaults.cpp), the SQLite store and the look at its file
(src/platform/sqlite_store.cpp, src/platform/store_files.cpp), the memory store and the
diagnostic handler (src/platform/diagnostics.cpp). Each breaks something the README's store
paragraphs or include/vexloweb/platform/user_defaults.hpp promise: a read that changes the file, a
file that is not a store touched before it is refused, a damaged store not moved aside (or moved
over an earlier one), a key holding NUL cut short, a transaction or a synced commit that is not
what it says, a failure reported as success, a file left behind. Written from the code and the
README alone. Run them from the repository root:
    python3 ../shared/tools/mutate.py --faults dev/faults/store.py --preset quick"""

FAULTS = [
    ('D01', 'src/platform/sqlite_store.cpp',
     '    if (!options.write) return SQLITE_OK;\n',
     '',
     'a reader tries to switch the journal to WAL: a store in rollback-journal mode cannot be '
     'read (the read falls back to memory and failure() reports it)'),
    ('D02', 'src/platform/sqlite_store.cpp',
     '    if ((code = checkOwnership(reason)) != SQLITE_OK) return code;\n'
     '    if (!options.write) return SQLITE_OK;\n'
     '    if ((code = useWal(reason)) != SQLITE_OK) return code;\n',
     '    if (options.write && (code = useWal(reason)) != SQLITE_OK) return code;\n'
     '    if ((code = checkOwnership(reason)) != SQLITE_OK) return code;\n'
     '    if (!options.write) return SQLITE_OK;\n',
     "a write switches another program's database to WAL before refusing it (its journal mode "
     'changed, -wal/-shm made beside it)'),
    ('D03', 'src/platform/sqlite_store.cpp',
     '    const char* synchronous =\n'
     '        options.syncFull ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=NORMAL";',
     '    const char* synchronous = "PRAGMA synchronous=NORMAL";',
     'setSyncOnCommit(true) has no effect: the store stays at synchronous=NORMAL, a commit is not synced before it returns'),
    ('D04', 'src/platform/sqlite_store.cpp',
     'std::strcmp(columns, kColumns) == 0;',
     'std::strncmp(columns, kColumns, 3) == 0;',
     "another program's database with a table named entries whose first column is key is taken "
     'for a store'),
    ('D05', 'src/platform/store_files.cpp',
     '  } else if (got != static_cast<ssize_t>(header.size()) ||\n',
     '  } else if (got != static_cast<ssize_t>(header.size()) &&\n',
     'a text file of 100 bytes or more goes to SQLite and a write moves it aside as a damaged '
     'store instead of leaving it as it is'),
    ('D06', 'src/platform/sqlite_store.cpp',
     '    if (attempt == 0 && options.write && notADatabase(code) && moveAside(file, movedTo)) {',
     '    if (attempt == 0 && notADatabase(code) && moveAside(file, movedTo)) {',
     'a read moves a damaged store aside (reading changes the files)'),
    ('D07', 'src/platform/sqlite_store.cpp',
     '    if (attempt == 0 && options.write && notADatabase(code) && moveAside(file, movedTo)) {',
     '    if (attempt == 0 && options.write &&\n'
     '        (notADatabase(code) || code == SQLITE_NOTFOUND) && moveAside(file, movedTo)) {',
     "another program's database is moved aside at a write as if it were a damaged store"),
    ('D08', 'src/platform/store_files.cpp',
     '    if (!renameNoReplace(file.string(), target)) {',
     '    if (std::rename(file.c_str(), target.c_str()) != 0) {',
     'moving a damaged store aside replaces an earlier .corrupt-<time> file of the same second'),
    # D09: the writer's own failed SQLite connection deletes a -wal beside a file it cannot read,
    # so only a damaged store another process holds open shows it (the fresh store reads the old
    # journal's pages).
    ('D09', 'src/platform/store_files.cpp',
     '    for (const char* suffix : {"-wal", "-shm"}) {\n'
     '      const std::string side = file.string() + suffix;\n'
     '      if (::access(side.c_str(), F_OK) == 0) renameNoReplace(side, target + suffix);\n'
     '    }\n',
     '',
     "a damaged store's -wal and -shm files stay at the store's name when it is moved aside"),
    ('D10', 'src/platform/sqlite_store.cpp',
     '  removeWithJournal(temporary);  // renamed, or given up\n',
     '',
     'a store that could not be made, or lost the race to another process, leaves its hidden '
     '.NAME.XXXXXX temporary beside the store'),
    ('D11', 'src/platform/user_defaults.cpp',
     '!std::filesystem::exists(file, error)',
     '!std::filesystem::exists(file.parent_path(), error)',
     'reading a store that does not exist (its folder does) reports a failure and warns instead '
     'of reading as empty'),
    ('D12', 'src/platform/user_defaults.cpp',
     '      failure.reset();\n      reopenForWrite = !forWrite;\n',
     '      reopenForWrite = !forWrite;\n',
     'after a write repairs or reopens the file, failure() still gives the earlier reason and '
     'isPersistent() stays false'),
    ('D13', 'src/platform/user_defaults.cpp',
     '      reopenForWrite = !forWrite;\n      warnOnce(whyNot);',
     '      reopenForWrite = false;\n      warnOnce(whyNot);',
     'a damaged store first met by a read is never moved aside: every later write stays in memory'),
    ('D14', 'src/platform/user_defaults.cpp',
     '      store = makeMemoryStore(forWrite ? readableEntries() : DefaultsEntries{});',
     '      store = makeMemoryStore();',
     'a store that cannot open its file for a write starts in memory empty, losing what the file '
     'holds'),
    ('D15', 'src/platform/user_defaults.cpp',
     '    if (impl.transactionDepth == 0) impl.store->put(key, value ? &*value : nullptr);\n',
     '',
     'a write that fails at the database is lost: the memory store it falls back to lacks it'),
    ('D16', 'src/platform/user_defaults.cpp',
     '    warnOnce(reason);\n  }\n\n  // Switches',
     '    if (persistent) warnOnce(reason);\n  }\n\n  // Switches',
     'a database that fails midway falls back to memory silently: failure() stays empty, no '
     'warning (a failure reported as success)'),
    ('D17', 'src/platform/user_defaults.cpp',
     '    if (failure) return;\n    failure = reason;',
     '    failure = reason;',
     'the fall-back warning is repeated at every failure, and failure() names the latest reason '
     'instead of the first'),
    ('D18', 'src/platform/sqlite_store.cpp',
     '      entries.emplace_back(std::string(key != nullptr ? key : "",\n'
     '                                       static_cast<std::size_t>(sqlite3_column_bytes(s, 0))),\n',
     '      entries.emplace_back(std::string(key != nullptr ? key : ""),\n',
     'keys() of a store on file cuts a key holding NUL at the NUL'),
    ('D19', 'src/platform/sqlite_store.cpp',
     '    sqlite3_bind_text64(s, 1, key.data(), key.size(), SQLITE_STATIC, SQLITE_UTF8);\n'
     '    if (value != nullptr) {',
     "    sqlite3_bind_text64(s, 1, key.data(), key.substr(0, key.find('\\0')).size(),\n"
     '                        SQLITE_STATIC, SQLITE_UTF8);\n'
     '    if (value != nullptr) {',
     'a write to the file under "k\\0hidden" lands under "k" (overwriting it)'),
    ('D20', 'src/platform/memory_store.cpp',
     '      entries_.emplace(std::string(key), *value);',
     "      entries_.emplace(std::string(key.substr(0, key.find('\\0'))), *value);",
     'memory store: a new key holding NUL is stored cut at the NUL (merged with the shorter key)'),
    ('D21', 'src/platform/sqlite_store.cpp',
     '      if (sqlite3_column_type(row, valueColumn) == SQLITE_NULL)\n'
     '        return std::numeric_limits<double>::quiet_NaN();\n',
     '',
     'a NaN read back from the file is 0.0 instead of NaN'),
    ('D22', 'src/platform/user_defaults.cpp',
     '  if (impl.transactionDepth++ > 0) return;',
     '  if (impl.transactionDepth++ > 1) return;',
     'a nested transaction begins again on the database, which fails: the store falls back to '
     'memory'),
    ('D23', 'src/platform/user_defaults.cpp',
     '    impl.close();\n    impl.notices.clear();',
     '    impl.notices.clear();',
     'stores are not closed at exit: the -wal and -shm files stay beside the store'),
    ('D24', 'src/platform/diagnostics.cpp',
     '  s.handler.swap(handler);\n  return handler;',
     '  s.handler = handler;\n  return handler;',
     'setDiagnosticHandler returns the handler just set instead of the one it replaced'),
    ('D25', 'src/platform/user_defaults.cpp',
     '  return !impl_->file.empty() && !impl_->failure;',
     '  return !impl_->failure;',
     'isPersistent() is true for a store that lives in memory only'),
]
