include(GoogleTest)

# tessel_add_test(NAME target LABELS l1 [l2...] SOURCES s1... [LIBS lib...])
# Builds one GoogleTest executable and registers every test case as its own CTest test (one
# process per test: the design has process-wide singletons), carrying the given labels
# (cpu, gpu, ui, net, slow).
function(tessel_add_test)
  cmake_parse_arguments(ARG "" "NAME" "LABELS;SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  tessel_target_warnings(${ARG_NAME})
  gtest_discover_tests(${ARG_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${ARG_LABELS}"
               SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()
