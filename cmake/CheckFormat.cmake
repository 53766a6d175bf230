# Fails when a source file of the tree differs from what clang-format makes of it
# with the repository's .clang-format.
#   cmake -DTOP=<source dir> -DCLANG_FORMAT=<program> -P cmake/CheckFormat.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT TOP OR NOT CLANG_FORMAT)
  message(FATAL_ERROR "CheckFormat: TOP and CLANG_FORMAT must be set")
endif()

set(folders mpegts kestrel server Allgemein testsupport videodisplay app tools bench fuzz install)
set(files "")
foreach(folder ${folders})
  file(GLOB_RECURSE found RELATIVE ${TOP} ${TOP}/${folder}/*.h ${TOP}/${folder}/*.cpp)
  list(APPEND files ${found})
endforeach()
list(FILTER files EXCLUDE REGEX "(^|/)build/")

set(bad 0)
foreach(file ${files})
  execute_process(COMMAND ${CLANG_FORMAT} --style=file --dry-run -Werror ${file}
                  WORKING_DIRECTORY ${TOP} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    message("${file}: not formatted (clang-format -i ${file})")
    math(EXPR bad "${bad} + 1")
  endif()
endforeach()
list(LENGTH files count)
if(bad GREATER 0)
  message(FATAL_ERROR "${bad} of ${count} files differ from clang-format")
endif()
message(STATUS "${count} files formatted")
