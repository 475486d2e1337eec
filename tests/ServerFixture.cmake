# frostpick_server_fixture([RESTARTS] test...)
#
# Gives the tests a throwaway PostgreSQL cluster in the build tree, made anew
# before the first of them and stopped after the last. They find it through
# FROSTPICK_TEST_SERVER, a base connection string without a database (the
# port is chosen when the cluster starts, so it names a libpq service in the
# file PGSERVICEFILE points to). If the cluster cannot start, CTest reports
# every one of them as failed.
#
# Tests that stop and start the server (RESTARTS) get a cluster of their own,
# named by FROSTPICK_TEST_SERVER_CLUSTER, and run one at a time; the others
# share theirs and run side by side.
function(frostpick_server_fixture)
  cmake_parse_arguments(S "RESTARTS" "" "" ${ARGN})
  if(S_RESTARTS)
    set(fixture frostpick_server_restarts)
  else()
    set(fixture frostpick_server)
  endif()
  set(cluster ${CMAKE_BINARY_DIR}/tests/${fixture})
  set(script ${CMAKE_SOURCE_DIR}/scripts/pg-cluster.sh)
  # Tests are named per folder, fixtures across all: one start for every folder.
  get_property(started GLOBAL PROPERTY ${fixture}_started)
  if(NOT started)
    set_property(GLOBAL PROPERTY ${fixture}_started TRUE)
    add_test(NAME ${fixture}_start
      COMMAND sh -c "\"$0\" stop \"$1\" && rm -rf \"$1\" && \"$0\" start \"$1\"" ${script} ${cluster})
    add_test(NAME ${fixture}_stop COMMAND ${script} stop ${cluster})
    set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture} LABELS server)
    set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture} LABELS server)
  endif()
  foreach(test ${S_UNPARSED_ARGUMENTS})
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED ${fixture} LABELS server)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
      "FROSTPICK_TEST_SERVER=service=frostpick_test" "PGSERVICEFILE=${cluster}/pg_service.conf")
    if(S_RESTARTS)
      set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "FROSTPICK_TEST_SERVER_CLUSTER=${cluster}")
      set_tests_properties(${test} PROPERTIES RESOURCE_LOCK ${fixture})
    endif()
  endforeach()
endfunction()
