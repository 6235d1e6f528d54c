# SPDX-License-Identifier: GPL-3.0-or-later
# quorvix_export_headers(<target> <headers...>)
# Gives <target> a public include folder of its own that holds only the named
# headers of its module (as <module>/<header>, linked to the sources), so a
# module can include another's headers only when it links that library: the
# build enforces that dependencies point down.
function(quorvix_export_headers target)
  file(RELATIVE_PATH module ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root}/${module})
  foreach(header ${ARGN})
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${module}/${name} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# Every header of the current module folder.
function(quorvix_export_module_headers target)
  file(GLOB headers RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  quorvix_export_headers(${target} ${headers})
endfunction()
