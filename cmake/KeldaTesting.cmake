# kelda_add_test(<name> SOURCES <files...> [LIBS <targets...>] [DB] [SCHEMA] [DBLOCK] [WIDGETS])
#
# One Qt Test program per behaviour. DB tests share the private MariaDB
# instance of the build tree (started and stopped by ctest fixtures) and each
# works in a database of its own (see tests/support/test_database.h).
# SCHEMA tests are DB tests whose database starts at the current schema
# (tests/support/schema_test_database.h). DBLOCK tests take or check the
# server-wide named lock "dblock", so they must not overlap each other.
# WIDGETS tests run offscreen and carry the label "widgets", which selects
# them for the sanitizer run (scripts/sanitize.sh).
set(KELDA_TEST_DB_DIR ${CMAKE_BINARY_DIR}/testdb)

function(kelda_add_test name)
  cmake_parse_arguments(T "DB;SCHEMA;DBLOCK;WIDGETS" "" "SOURCES;LIBS" ${ARGN})
  if(T_SCHEMA)
    set(T_DB TRUE)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  if(T_DB)
    target_link_libraries(${name} PRIVATE kelda_testsupport)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set(env "QT_QPA_PLATFORM=offscreen;KELDA_TEST_DB_DIR=${KELDA_TEST_DB_DIR}")
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 600)
  if(T_SCHEMA)
    # SchemaTestDatabase copies the template that this fixture makes.
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "mariadb;schema_template")
  elseif(T_DB)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED mariadb)
  endif()
  if(T_DBLOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK dblock)
  endif()
  if(T_WIDGETS)
    set_tests_properties(${name} PROPERTIES LABELS widgets)
  endif()
endfunction()
