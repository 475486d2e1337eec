# Every message box, input box and file-open dialog goes through the message
# seam, so that tests can read and answer it; only the seam's own widget
# implementation may open these dialogs directly.
file(GLOB_RECURSE sources ${SOURCE_DIR}/db/*.cpp ${SOURCE_DIR}/db/*.h ${SOURCE_DIR}/calc/*.cpp
     ${SOURCE_DIR}/calc/*.h ${SOURCE_DIR}/wizard/*.cpp ${SOURCE_DIR}/wizard/*.h ${SOURCE_DIR}/admin/*.cpp
     ${SOURCE_DIR}/admin/*.h ${SOURCE_DIR}/cli/*.cpp ${SOURCE_DIR}/guikit/*.cpp ${SOURCE_DIR}/guikit/*.h)
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
