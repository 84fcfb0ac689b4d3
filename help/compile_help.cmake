# Compiles Hilfe.chm: copies the sources into a staging folder, writes the
# project file with every page listed, runs chmcmd there and checks the
# result. chmcmd's exit code says nothing (0 on a missing page, 217 and an
# empty file on a missing entry), so the file itself is what counts.
foreach(var CHMCMD SOURCE_DIR STAGE_DIR OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "compile_help.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE ${OUTPUT})
file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/*.html ${SOURCE_DIR}/*.css ${SOURCE_DIR}/*.png
     ${SOURCE_DIR}/*.hhc ${SOURCE_DIR}/*.hhk)
list(FILTER files EXCLUDE REGEX "^tools/")
list(SORT files)
foreach(f IN LISTS files)
  get_filename_component(dir ${f} DIRECTORY)
  file(COPY ${SOURCE_DIR}/${f} DESTINATION ${STAGE_DIR}/${dir})
endforeach()

# Every file but the two sitemaps goes into [FILES]; chmcmd takes those
# from the project's options.
set(pages ${files})
list(FILTER pages EXCLUDE REGEX "\\.hh[ck]$")
list(JOIN pages "\n" HELP_PAGES)
# chmcmd takes a default page, contents or index that is not there without
# a word; the viewer would then open on nothing.
file(STRINGS ${SOURCE_DIR}/Hilfe.hhp.in options REGEX "^(Default topic|Contents file|Index file)=")
foreach(option IN LISTS options)
  string(REGEX REPLACE "^[^=]*=" "" named "${option}")
  if(NOT EXISTS ${STAGE_DIR}/${named})
    message(FATAL_ERROR "The help project names ${named}, which is not among the sources (${option})")
  endif()
endforeach()

set(HELP_OUTPUT ${OUTPUT})
configure_file(${SOURCE_DIR}/Hilfe.hhp.in ${STAGE_DIR}/Hilfe.hhp @ONLY)

execute_process(COMMAND ${CHMCMD} Hilfe.hhp
                WORKING_DIRECTORY ${STAGE_DIR}
                RESULT_VARIABLE rc
                OUTPUT_VARIABLE out
                ERROR_VARIABLE out)

set(size 0)
if(EXISTS ${OUTPUT})
  file(SIZE ${OUTPUT} size)
endif()
if(size EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "chmcmd made no help file (exit code ${rc}):\n${out}")
endif()
if(out MATCHES "(Error|Warning)[^\n]*")
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "chmcmd complained:\n${out}")
endif()
