# Art: artgen draws every picture and sound at build time; its output is cached in the build tree and
# made again only when artgen itself changes. The program's own resources are embedded from its PE file.
set(BF_ART_DIR ${CMAKE_BINARY_DIR}/art)
file(MAKE_DIRECTORY ${BF_ART_DIR})
set(BF_OWN_MODULE_FILE ${BF_ART_DIR}/brushfeather-res.dll)
set(BF_ART_OUTPUTS
  ${BF_RUN_DIR}/ctrls.dll ${BF_RUN_DIR}/map1.dll ${BF_RUN_DIR}/map2.dll ${BF_RUN_DIR}/map3.dll
  ${BF_RUN_DIR}/goblers.dll ${BF_RUN_DIR}/map1.map ${BF_OWN_MODULE_FILE})

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/artgen/main.cpp)
  pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
  pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
  file(GLOB BF_ARTGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/artgen/*.cpp)
  list(REMOVE_ITEM BF_ARTGEN_SOURCES ${CMAKE_SOURCE_DIR}/tools/artgen/main.cpp)
  # Everything but main() is a library, so the tests can check the writers and painters directly.
  add_library(artgen_lib STATIC ${BF_ARTGEN_SOURCES})
  target_link_libraries(artgen_lib PUBLIC bf_platform PkgConfig::CAIRO PkgConfig::FREETYPE PkgConfig::FONTCONFIG PkgConfig::PNG)
  add_executable(artgen ${CMAKE_SOURCE_DIR}/tools/artgen/main.cpp)
  set_target_properties(artgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  target_link_libraries(artgen PRIVATE artgen_lib)
  # The test program is defined after this file is included; link it once the whole tree is read.
  function(bf_link_artgen_into_tests)
    if(TARGET brushfeather_tests)
      target_link_libraries(brushfeather_tests PRIVATE artgen_lib)
    endif()
  endfunction()
  cmake_language(DEFER CALL bf_link_artgen_into_tests)
  set(BF_ART_FROM "" CACHE PATH "Build tree whose art to copy instead of running artgen here")
  if(BF_ART_FROM)
    # Sanitizer and fuzz builds take the art of a normal build: same bytes, no slow instrumented run.
    add_custom_command(
      OUTPUT ${BF_ART_OUTPUTS}
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${BF_ART_FROM}/art ${BF_ART_DIR}
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${BF_ART_FROM}/bin/contact ${BF_RUN_DIR}/contact
      COMMAND ${CMAKE_COMMAND} -E copy
        ${BF_ART_FROM}/bin/ctrls.dll ${BF_ART_FROM}/bin/map1.dll ${BF_ART_FROM}/bin/map2.dll
        ${BF_ART_FROM}/bin/map3.dll ${BF_ART_FROM}/bin/goblers.dll ${BF_ART_FROM}/bin/map1.map
        ${BF_RUN_DIR}
      DEPENDS ${BF_ART_FROM}/art/brushfeather-res.dll
      COMMENT "Copying the art from ${BF_ART_FROM}"
      VERBATIM)
  else()
    # artgen ART_DIR RUN_DIR: own resources into ART_DIR, the art files and contact sheet into RUN_DIR.
    add_custom_command(
      OUTPUT ${BF_ART_OUTPUTS}
      COMMAND artgen ${BF_ART_DIR} ${BF_RUN_DIR}
      DEPENDS artgen
      COMMENT "Drawing the art and synthesising the sounds"
      VERBATIM)
  endif()
else()
  # No art generator yet: an empty own module, so the program builds and reports missing art.
  add_custom_command(
    OUTPUT ${BF_OWN_MODULE_FILE}
    COMMAND ${CMAKE_COMMAND} -E touch ${BF_OWN_MODULE_FILE}
    VERBATIM)
  set(BF_ART_OUTPUTS ${BF_OWN_MODULE_FILE})
endif()
add_custom_target(bf_art DEPENDS ${BF_ART_OUTPUTS})

set(BF_OWN_MODULE_ASM ${CMAKE_BINARY_DIR}/generated/own_module.S)
file(WRITE ${BF_OWN_MODULE_ASM}.in
"/* The program's own resource module, embedded at build time. */
    .section .rodata
    .balign 16
    .global bf_own_module_begin
    .global bf_own_module_end
bf_own_module_begin:
    .incbin \"${BF_OWN_MODULE_FILE}\"
bf_own_module_end:
    .byte 0
    .section .note.GNU-stack,\"\",@progbits
")
configure_file(${BF_OWN_MODULE_ASM}.in ${BF_OWN_MODULE_ASM} COPYONLY)
set_source_files_properties(${BF_OWN_MODULE_ASM} PROPERTIES OBJECT_DEPENDS ${BF_OWN_MODULE_FILE})
add_library(bf_own_module OBJECT ${BF_OWN_MODULE_ASM})
add_dependencies(bf_own_module bf_art)
