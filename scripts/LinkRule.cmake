# The dependency rule by link lines: frostpick_check_links(target...) stops
# the configuration when a target reaches a watched library (a project layer,
# Widgets) that LINKS_<target> does not allow, whether it links it directly,
# under a generator expression or through a target of the project in between.
# WATCHED names the libraries watched.

# The names in one link entry: those inside generator expressions included,
# whatever condition they stand under.
function(frostpick_link_names entry out)
  string(REPLACE "$<" ";" entry "${entry}")
  string(REPLACE ">" ";" entry "${entry}")
  string(REPLACE "," ";" entry "${entry}")
  # A single colon ends a generator expression's name; two join a namespace.
  string(REGEX REPLACE "([^:]|^):([^:]|$)" "\\1;\\2" entry "${entry}")
  set(${out} ${entry} PARENT_SCOPE)
endfunction()

function(frostpick_check_links)
  foreach(target ${ARGN})
    set(queue ${target})
    set(seen ${target})
    while(queue)
      list(POP_FRONT queue current)
      get_target_property(direct ${current} LINK_LIBRARIES)
      get_target_property(passed_on ${current} INTERFACE_LINK_LIBRARIES)
      foreach(entry IN LISTS direct passed_on)
        frostpick_link_names("${entry}" names)
        foreach(library IN LISTS names)
          if(library IN_LIST WATCHED)
            if(NOT library IN_LIST LINKS_${target} AND NOT library STREQUAL target)
              message(FATAL_ERROR "${target} links ${library}, which stands above it or shows widgets")
            endif()
          elseif(TARGET ${library} AND NOT library IN_LIST seen)
            # Another target of the project passes on what it links.
            get_target_property(imported ${library} IMPORTED)
            if(NOT imported)
              list(APPEND queue ${library})
              list(APPEND seen ${library})
            endif()
          endif()
        endforeach()
      endforeach()
    endwhile()
  endforeach()
endfunction()
