# Checks the include rules of the house (docs/ARCHITECTURE.md): every header a
# source file includes from our own tree must belong to its own module or to a
# module that the table below lets it see. Run as a test:
#   cmake -DTOP=<source dir> -P cmake/CheckLayers.cmake
# Prints each broken rule as "<file>: includes <header> (<module> may not see <other>)"
# and fails when there is one.

cmake_minimum_required(VERSION 3.25)
if(NOT TOP)
  message(FATAL_ERROR "CheckLayers: TOP (the source folder) is not set")
endif()

# Modules by folder, the longest prefix first. Headers of app code are named
# below app/, all others below the top.
set(app_modules
  channellist/document channellist/dialogs channellist/editing channellist
  frame/view frame tv/bars tv/video tv common scan/windows scan receiver recording/windows recording guide/windows guide ci/windows ci videotext/windows videotext shell)
set(top_modules
  mpegts kestrel/protocol kestrel/include kestrel server Allgemein testsupport videodisplay
  tools/svltool tools/dvbctl tools/kregistry tools/mkdemomux tools/svlepg)

# Who may see whom (besides itself). Tests of a module may also see testsupport
# and what tests_may_<module> adds.
set(may_mpegts "")
set(may_kestrel/protocol "mpegts")
# The library's installed headers name its exported classes and records only:
# they include each other ("kestrel/<header>"), never the wire.
set(may_kestrel/include "kestrel")
set(may_kestrel "kestrel/include;kestrel/protocol;mpegts")
set(may_server "kestrel/protocol;mpegts")
set(may_Allgemein "")
set(may_testsupport "")
set(may_videodisplay "kestrel/protocol")
set(may_channellist "mpegts")
set(may_common "")
# The channel scan's core: the records and the broadcast bytes, and of the
# library only the header-only record of the decoded tables (headers_may_).
set(may_scan "channellist;mpegts")
set(headers_may_scan "kestrel/PsiTree.h")
# The scan's windows: the dialog "Sendersuchlauf" and the progress of a scan.
set(may_scan/windows "scan;receiver;channellist;common;Allgemein")
set(may_receiver "common;scan;channellist;kestrel;mpegts")
# The recording part's core reaches the card through the receiver's devices
# and shares the network method's datagram layout with the card.
set(may_recording "receiver;channellist;common;kestrel/protocol")
set(may_recording/windows "recording;receiver;channellist;common;Allgemein")
# The guide: its core sees the records and the broadcast bytes; the part
# around it the card through the receiver's devices.
set(may_guide "receiver;channellist;common;mpegts")
set(may_guide/windows "guide;receiver;channellist;common;Allgemein")
# The CI menu: its rules see the records' code page; the dialog those rules.
set(may_ci "channellist")
set(may_ci/windows "ci;channellist;common;Allgemein")
# The videotext core: the page cache, cells and export, no Qt.
set(may_videotext "common")
# The videotext window: the dialog, its page painter and the export on the core.
set(may_videotext/windows "videotext;common;Allgemein")
set(may_channellist/document "channellist;common")
set(may_channellist/dialogs "channellist;common;Allgemein")
set(may_channellist/editing "channellist;common;Allgemein")
set(may_frame/view "channellist;common;Allgemein")
set(may_frame "frame/view;channellist/document;channellist;common;Allgemein")
set(may_tv "receiver;channellist;common;mpegts")
set(may_tv/bars "tv;receiver;channellist;common;Allgemein")
set(may_tv/video "tv;receiver;channellist;common;Allgemein")
set(may_shell "videodisplay;videotext/windows;videotext;scan/windows;scan;ci/windows;ci;guide/windows;guide;recording/windows;recording;tv;tv/bars;tv/video;frame;frame/view;channellist/document;channellist/dialogs;channellist/editing;channellist;receiver;common;Allgemein")
set(may_app "shell;receiver;Allgemein")
set(may_tools/svltool "channellist")
set(may_tools/dvbctl "kestrel;kestrel/protocol;channellist;scan;videotext")
set(may_tools/kregistry "kestrel")
set(may_tools/mkdemomux "mpegts;channellist")
# The guide core is app code (its headers are named "guide/..."); the event
# dump runs it outside the program.
set(may_tools/svlepg "guide;channellist;mpegts")
# The server's tests drive the client library against the real server, and
# store the card's pages of real captures in the program's page cache.
set(tests_may_server "kestrel;videotext")
# dvbctl's scan test reads the captures' tables itself, independently of the library.
set(tests_may_tools/dvbctl "mpegts")

# Module of a file of the tree (path relative to TOP); empty when unchecked.
function(module_of_file path out)
  set(result "")
  if(path MATCHES "^app/")
    string(REGEX REPLACE "^app/" "" rest "${path}")
    set(result app)
    foreach(m ${app_modules})
      if(rest MATCHES "^${m}/")
        set(result ${m})
        break()
      endif()
    endforeach()
  else()
    foreach(m ${top_modules})
      if(path MATCHES "^${m}/")
        set(result ${m})
        break()
      endif()
    endforeach()
  endif()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# Module of an included header name; empty when it is not one of ours.
function(module_of_header name out)
  set(result "")
  foreach(m ${app_modules} ${top_modules})
    if(name MATCHES "^${m}/")
      set(result ${m})
      break()
    endif()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The library's headers are named "kestrel/<header>" and found below
# kestrel/include: seeing the library means seeing those.
function(expand_allowed list_var)
  set(result ${${list_var}})
  if("kestrel" IN_LIST result)
    list(APPEND result kestrel/include)
  endif()
  set(${list_var} "${result}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${TOP}
  ${TOP}/app/*.h ${TOP}/app/*.cpp ${TOP}/mpegts/*.h ${TOP}/mpegts/*.cpp
  ${TOP}/kestrel/*.h ${TOP}/kestrel/*.cpp ${TOP}/server/*.h ${TOP}/server/*.cpp
  ${TOP}/Allgemein/*.h ${TOP}/Allgemein/*.cpp ${TOP}/testsupport/*.h ${TOP}/testsupport/*.cpp
  ${TOP}/tools/*.h ${TOP}/tools/*.cpp ${TOP}/videodisplay/*.h ${TOP}/videodisplay/*.cpp)

set(broken 0)
foreach(file ${sources})
  if(file MATCHES "(^|/)build/")
    continue()
  endif()
  module_of_file("${file}" self)
  if(self STREQUAL "")
    continue()
  endif()
  set(allowed ${self} ${may_${self}})
  if(file MATCHES "/tests/")
    list(APPEND allowed testsupport ${tests_may_${self}})
  endif()
  expand_allowed(allowed)
  file(STRINGS ${TOP}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" name "${line}")
    if(name MATCHES "^\\.\\./|/\\.\\./")
      message("${file}: includes ${name} (a path that climbs out of its folder)")
      math(EXPR broken "${broken} + 1")
      continue()
    endif()
    module_of_header("${name}" other)
    if(other STREQUAL "" OR other IN_LIST allowed OR name IN_LIST headers_may_${self})
      continue()
    endif()
    message("${file}: includes ${name} (${self} may not see ${other})")
    math(EXPR broken "${broken} + 1")
  endforeach()
endforeach()

# No include folder reaches into a sibling's tree.
file(GLOB_RECURSE lists RELATIVE ${TOP} ${TOP}/*CMakeLists.txt)
foreach(list ${lists})
  if(list MATCHES "(^|/)build/")
    continue()
  endif()
  file(STRINGS ${TOP}/${list} lines REGEX "include_directories|INCLUDES")
  foreach(line ${lines})
    if(line MATCHES "\\.\\./")
      message("${list}: include folder outside its own tree: ${line}")
      math(EXPR broken "${broken} + 1")
    endif()
  endforeach()
endforeach()

# No folder deeper than four levels below the top.
file(GLOB_RECURSE everything LIST_DIRECTORIES true RELATIVE ${TOP} ${TOP}/*)
foreach(path ${everything})
  if(path MATCHES "(^|/)(build[^/]*|\\.git)(/|$)" OR NOT IS_DIRECTORY ${TOP}/${path})
    continue()
  endif()
  string(REGEX MATCHALL "/" slashes "${path}")
  list(LENGTH slashes depth)
  if(depth GREATER_EQUAL 4)
    message("${path}: folder more than four levels below the top")
    math(EXPR broken "${broken} + 1")
  endif()
endforeach()

list(LENGTH sources count)
if(broken GREATER 0)
  message(FATAL_ERROR "${broken} include rule(s) broken")
endif()
message(STATUS "Include rules hold for ${count} files")
