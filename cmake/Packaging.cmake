# The Debian package: `cpack -G DEB` in a build folder (scripts/package) makes
# hoko32_<version>_<arch>.deb from the install rules: the programs, their help
# pages (help/, installed by help/CMakeLists.txt), fanfare and banner pictures in /usr/lib/hoko32 with links in /usr/bin, the
# desktop entry, icons, AppStream metadata, manual pages and bash completion.

# Manual pages, the changelog: compressed as Debian keeps them.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(hoko32_compressed)
foreach(page hoko32.1 hoko32-report.1)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP_EXECUTABLE} -9n -c ${PROJECT_SOURCE_DIR}/man/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/man/${page}
    VERBATIM)
  list(APPEND hoko32_compressed ${CMAKE_BINARY_DIR}/man/${page}.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.gz DESTINATION share/man/man1)
endforeach()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
  COMMAND ${GZIP_EXECUTABLE} -9n -c ${PROJECT_SOURCE_DIR}/data/package/changelog > ${CMAKE_BINARY_DIR}/package/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/data/package/changelog
  VERBATIM)
list(APPEND hoko32_compressed ${CMAKE_BINARY_DIR}/package/changelog.gz)
add_custom_target(hoko32_compressed_docs ALL DEPENDS ${hoko32_compressed})

install(FILES ${CMAKE_BINARY_DIR}/package/changelog.gz ${PROJECT_SOURCE_DIR}/data/package/copyright
  DESTINATION share/doc/hoko32)
install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/org.hoko32.hoko32.metainfo.xml DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/hoko32-report DESTINATION share/bash-completion/completions)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hoko32)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The hoko32 developers")
set(CPACK_PACKAGE_CONTACT "The hoko32 developers <maintainers@hoko32.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The hoko32 developers <maintainers@hoko32.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://hoko32.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binaries do not say: the Japanese font, the soundfont of the
# fanfare and Qt's Japanese dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-ipafont-gothic, timgm6mb-soundfont | musescore-general-soundfont-small, qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of the typing practice program TAPPER's records")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "hoko32 (ＴＡＰＰＥＲの足跡32) reads the record file of the typing practice
program TAPPER and shows, per practice mode, the history of new personal
records with levels, a bar chart, averages per day, week, month, year or
block of runs, the worst ten miss rates, the best runs, a 3D bar chart and a
calendar of the practice days; a new record of the day is celebrated.
.
タイピング練習ソフト TAPPER の記録ファイルから、練習モードごとに自己ベスト
更新の足跡、平均の推移、ミス率のワースト10、自己ベスト10、３Ｄグラフ、
練習カレンダーを表示します。
.
hoko32-report prints the same views in a terminal and writes CSV and JSON.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
