# A rule of where a name may stand: no program source but those EXEMPT
# matches names what PATTERN matches. Dialogs go through the message seam, so
# that tests can read and answer them; only db/ knows which engine holds a
# store, the programs above it ask Database and DatabaseAddress.
# The programs' sources, as their targets list them, come in SOURCES_FILE.
file(READ ${SOURCES_FILE} sources)
set(offenders "")
foreach(source ${sources})
  if(source MATCHES "${EXEMPT}")
    continue()
  endif()
  file(STRINGS ${source} hits REGEX "${PATTERN}")
  if(hits)
    list(APPEND offenders ${source})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "${PATTERN} named outside ${EXEMPT}: ${offenders}")
endif()
message(STATUS "${PATTERN} named nowhere outside ${EXEMPT}")
