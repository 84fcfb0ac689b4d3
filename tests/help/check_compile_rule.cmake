# The build's rule for Hilfe.chm, run on spoilt copies of the sources: it
# must fail and leave no help file behind whenever chmcmd's result is not
# sound, whatever chmcmd's exit code says, and succeed on the sources as
# they are.
foreach(var CHMCMD SOURCE_DIR WORK_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_compile_rule.cmake needs -D${var}=...")
  endif()
endforeach()

function(compile label expect)
  set(out ${WORK_DIR}/${label}.chm)
  # A stale file from an earlier build must not pass for a new one.
  file(WRITE ${out} "stale")
  execute_process(COMMAND ${CMAKE_COMMAND} -DCHMCMD=${CHMCMD} -DSOURCE_DIR=${WORK_DIR}/${label}
                          -DSTAGE_DIR=${WORK_DIR}/${label}-stage -DOUTPUT=${out}
                          -P ${SOURCE_DIR}/compile_help.cmake
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  set(size 0)
  if(EXISTS ${out})
    file(SIZE ${out} size)
  endif()
  if(expect STREQUAL "ok" AND (NOT rc EQUAL 0 OR size LESS 10000))
    message(FATAL_ERROR "${label}: the sound sources did not compile (exit ${rc}, ${size} bytes)")
  endif()
  if(expect STREQUAL "fail" AND (rc EQUAL 0 OR EXISTS ${out}))
    message(FATAL_ERROR "${label}: spoilt sources passed (exit ${rc}, file left: ${size} bytes)")
  endif()
endfunction()

function(copy_sources label)
  file(REMOVE_RECURSE ${WORK_DIR}/${label})
  file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR}/${label})
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

copy_sources(sound)
compile(sound ok)

# A page that the contents, the index and other pages point to is gone.
copy_sources(missing-page)
file(REMOVE ${WORK_DIR}/missing-page/boote_setzen.html)
compile(missing-page fail)

# A link to a page that does not exist.
copy_sources(broken-link)
file(READ ${WORK_DIR}/broken-link/start.html page)
string(REPLACE "href=\"gefecht.html\"" "href=\"gefecht-fehlt.html\"" page "${page}")
file(WRITE ${WORK_DIR}/broken-link/start.html "${page}")
compile(broken-link fail)

# The project names a default page that is not there.
copy_sources(no-default)
file(READ ${WORK_DIR}/no-default/Hilfe.hhp.in project)
string(REPLACE "Default topic=start.html" "Default topic=fehlt.html" project "${project}")
file(WRITE ${WORK_DIR}/no-default/Hilfe.hhp.in "${project}")
compile(no-default fail)
