# kolvex_test(NAME name SOURCES ... LIBS ... [LABELS ...] [TIMEOUT s])
# Every test binary is a GoogleTest program run once by CTest. Tests find the
# program folder (modules, fixtures) through environment variables, so they
# behave the same from any working directory.
include_guard(GLOBAL)
find_package(GTest REQUIRED)

# Real-world files made by other programs: the shared folder beside the
# checkout when there is one, else the copy kept in the repository.
if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/../shared/testdata)
  set(KOLVEX_TESTDATA ${PROJECT_SOURCE_DIR}/../shared/testdata)
else()
  set(KOLVEX_TESTDATA ${PROJECT_SOURCE_DIR}/tests/data/real)
endif()

function(kolvex_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "KOLVEX_BIN=${KOLVEX_BIN_DIR};KOLVEX_SOURCE=${PROJECT_SOURCE_DIR};KOLVEX_TESTDATA=${KOLVEX_TESTDATA};LD_LIBRARY_PATH=${KOLVEX_BIN_DIR}")
  foreach(label IN LISTS T_LABELS)
    if(label STREQUAL "thread")
      add_dependencies(thread-tests ${T_NAME})
    endif()
  endforeach()
endfunction()
