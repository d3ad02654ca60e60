# Nettle's AES and CBC, as the imported target VexloWebLib::nettle.
include(${CMAKE_CURRENT_LIST_DIR}/VexloWebImportLibrary.cmake)
vexloweb_import_library(VexloWebNettle VexloWebLib::nettle nettle/aes.h nettle nettle-dev)
