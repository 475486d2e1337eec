# Every message box, input box and file-open dialog goes through the message
# seam, so that tests can read and answer it; only the seam's own widget
# implementation may open these dialogs directly.
# The programs' sources, as their targets list them, come in SOURCES_FILE.
file(READ ${SOURCES_FILE} sources)
set(offenders "")
foreach(source ${sources})
  if(source MATCHES "/guikit/WidgetMessageSeam\\.(cpp|h)$")
    continue()
  endif()
  file(STRINGS ${source} hits REGEX "QMessageBox|QInputDialog|QFileDialog")
  if(hits)
    list(APPEND offenders ${source})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "dialogs opened outside the message seam: ${offenders}")
endif()
message(STATUS "no dialog outside the message seam (${CMAKE_CURRENT_LIST_FILE})")
