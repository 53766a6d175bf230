# The manual page check fails on a page that groff warns about, on a NAME
# line of another tool and on a missing section, and passes a good page.
#
#   cmake -DCHECK=<CheckManPages.cmake> -DGROFF=<groff> -DWORK=<dir> -P CheckManPagesSelfTest.cmake
set(good [=[.TH GOOD 1 "2026" "x" "y"
.SH NAME
good \- ein Werkzeug
.SH SYNOPSIS
.B good
.SH BESCHREIBUNG
Tut etwas Schönes.
.SH OPTIONEN
.TP
.B \-\-help
Hilfe.
.SH EXIT-STATUS
0 Erfolg.
.SH "SIEHE AUCH"
.BR other (1)
]=])

function(expect_check name text should_pass)
  set(dir ${WORK}/${name})
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${dir}/good.1 "${text}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DDIR=${dir} -DGROFF=${GROFF} -P ${CHECK}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(should_pass AND NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: the check failed a good page: ${err}")
  elseif(NOT should_pass AND rc EQUAL 0)
    message(FATAL_ERROR "${name}: the check passed a bad page")
  endif()
endfunction()

expect_check(good "${good}" TRUE)
string(REPLACE "Tut etwas" ".XYZZY unbekanntes Makro\nTut etwas" warned "${good}")
expect_check(warning "${warned}" FALSE)
string(REPLACE "good \\- ein" "other \\- ein" named "${good}")
expect_check(other_name "${named}" FALSE)
string(REPLACE ".SH EXIT-STATUS\n" "" short "${good}")
expect_check(no_exit_status "${short}" FALSE)
string(REPLACE ".SH OPTIONEN\n" ".SH WEITERES\n" unsectioned "${good}")
expect_check(no_options "${unsectioned}" FALSE)
