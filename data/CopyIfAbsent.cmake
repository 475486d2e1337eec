# cmake -DFROM=dir -DTO=dir -DFILES="a;b" -P CopyIfAbsent.cmake
# Copies each file into TO unless a file of that name is there already: a
# picture or database the user has replaced must never be overwritten.
file(MAKE_DIRECTORY "${TO}")
foreach(name IN LISTS FILES)
  if(NOT EXISTS "${TO}/${name}")
    file(COPY "${FROM}/${name}" DESTINATION "${TO}")
  endif()
endforeach()
