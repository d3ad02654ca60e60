# utf8proc's Unicode rules, as the imported target VexloWebLib::utf8proc.
include(${CMAKE_CURRENT_LIST_DIR}/VexloWebImportLibrary.cmake)
vexloweb_import_library(VexloWebUtf8proc VexloWebLib::utf8proc utf8proc.h utf8proc libutf8proc-dev)
