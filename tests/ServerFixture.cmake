# frostpick_server_fixture(test...)
#
# Gives the tests a throwaway PostgreSQL cluster in the build tree, started
# before the first of them and stopped after the last. They find it through
# FROSTPICK_TEST_SERVER, a base connection string without a database (the
# port is chosen when the cluster starts, so it names a libpq service in the
# file PGSERVICEFILE points to), and its folder through
# FROSTPICK_TEST_SERVER_CLUSTER, for a test that stops and starts it. They
# run one at a time, as one of them restarts the server.
function(frostpick_server_fixture)
  set(cluster ${CMAKE_BINARY_DIR}/tests/pg-cluster)
  if(NOT TEST server_start)
    add_test(NAME server_start COMMAND ${CMAKE_SOURCE_DIR}/scripts/pg-cluster.sh start ${cluster})
    add_test(NAME server_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/pg-cluster.sh stop ${cluster})
    set_tests_properties(server_start PROPERTIES FIXTURES_SETUP frostpick_server)
    set_tests_properties(server_stop PROPERTIES FIXTURES_CLEANUP frostpick_server)
  endif()
  foreach(test ${ARGN})
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED frostpick_server RESOURCE_LOCK frostpick_server)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
      "FROSTPICK_TEST_SERVER=service=frostpick_test" "PGSERVICEFILE=${cluster}/pg_service.conf"
      "FROSTPICK_TEST_SERVER_CLUSTER=${cluster}")
  endforeach()
endfunction()
