# koravel_folder(NAME FOLDER [OBJECT] [SOURCES file...] [USES target...]): the program's folder
# FOLDER as the library NAME, which sees only itself and the targets it USES, the folders beneath
# it. OBJECT makes it a set of object files, each linked whether or not anything refers to it.
#
# Code includes a folder's headers as "FOLDER/header.h". The include path that serves them is a
# directory of the build holding FOLDER alone (a link to it), never the source tree: an include of
# a folder that the target does not use, one above it, does not build. A folder without sources
# (the resource IDs) is a target of headers only.
function(koravel_folder name folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "OBJECT" "" "SOURCES;USES")
  set(view ${CMAKE_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${view})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
  if(arg_SOURCES)
    if(arg_OBJECT)
      add_library(${name} OBJECT ${arg_SOURCES})
    else()
      add_library(${name} STATIC ${arg_SOURCES})
    endif()
    target_include_directories(${name} PUBLIC ${view})
    target_compile_options(${name} PRIVATE ${KORAVEL_WARNINGS} ${KORAVEL_CODE_OPTIONS})
    target_link_libraries(${name} PUBLIC ${arg_USES})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${view})
    target_link_libraries(${name} INTERFACE ${arg_USES})
  endif()
endfunction()
