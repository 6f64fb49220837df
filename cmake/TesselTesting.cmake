include(GoogleTest)

# tessel_add_test(NAME target LABELS l1 [l2...] SOURCES s1... [LIBS lib...] [COST seconds])
# Builds one GoogleTest executable and registers every test case as its own CTest test (one
# process per test: the editor has process-wide singletons), carrying the given labels
# (cpu, gpu, ui, net, slow; tsan marks a concurrency suite that also runs under ThreadSanitizer).
# COST, the seconds a case of the suite takes, makes a run with no timings of its own start the
# suite's cases first instead of ending on them.
function(tessel_add_test)
  cmake_parse_arguments(ARG "" "NAME;COST" "LABELS;SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  tessel_target_warnings(${ARG_NAME})
  if(TESSEL_SANITIZE STREQUAL "thread")
    target_sources(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/testing/sanitizers/TsanDefaultSuppressions.cpp)
  endif()
  # Suites labelled tsan are gathered in one target, so that the ThreadSanitizer run of CI
  # builds only them.
  if("tsan" IN_LIST ARG_LABELS)
    if(NOT TARGET tessel_tsan_tests)
      add_custom_target(tessel_tsan_tests)
    endif()
    add_dependencies(tessel_tsan_tests ${ARG_NAME})
  endif()
  gtest_discover_tests(${ARG_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
  # Labels are set by a script that CTest reads after the discovered list: passed through
  # gtest_discover_tests' PROPERTIES, every label after the first was taken for a property name
  # and lost. Mesa's on-disk shader cache is off for every test: with it a GPU test's timing and
  # compile counts would depend on earlier runs, and its writer thread, still alive at exit,
  # crashes LeakSanitizer's tracer under the sanitizer build.
  set(labels_file "${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}_labels.cmake")
  set(cost "")
  if(ARG_COST)
    set(cost " COST ${ARG_COST}")
  endif()
  file(WRITE "${labels_file}"
    "foreach(test IN LISTS ${ARG_NAME}_TESTS)\n"
    "  set_tests_properties(\"\${test}\" PROPERTIES LABELS \"${ARG_LABELS}\"\n"
    "    ENVIRONMENT \"MESA_SHADER_CACHE_DISABLE=true\"${cost})\n"
    "endforeach()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${labels_file}")
endfunction()
