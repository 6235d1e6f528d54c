# SPDX-License-Identifier: GPL-3.0-or-later
# quorvix_add_test(<module> SOURCES <files...> LIBS <targets...>)
# One Qt Test executable per module, run by CTest with a pinned locale on the
# offscreen platform. Test data lives in tests/data.
function(quorvix_add_test module)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  set(target test_${module})
  add_executable(${target} ${T_SOURCES})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  target_link_libraries(${target} PRIVATE Qt6::Test Qt6::Widgets ${T_LIBS})
  target_compile_definitions(${target} PRIVATE
    QUORVIX_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  add_test(NAME ${module} COMMAND ${target})
  set_tests_properties(${module} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8;QT_QPA_FONTDIR=/usr/share/fonts/truetype"
    TIMEOUT 600)
endfunction()
