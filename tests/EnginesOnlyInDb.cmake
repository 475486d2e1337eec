# Only db/ knows which engine holds a store; the programs above it ask
# Database and DatabaseAddress what a store can do.
# The programs' sources, as their targets list them, come in SOURCES_FILE.
file(READ ${SOURCES_FILE} sources)
set(offenders "")
foreach(source ${sources})
  if(source MATCHES "/db/[^/]+$")
    continue()
  endif()
  file(STRINGS ${source} hits REGEX "DatabaseEngine")
  if(hits)
    list(APPEND offenders ${source})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "engines named outside db/: ${offenders}")
endif()
message(STATUS "no engine named outside db/ (${CMAKE_CURRENT_LIST_FILE})")
