# Fuzz builds (TESSEL_BUILD_FUZZERS=ON, clang only): every library of the tree gets libFuzzer's
# coverage hooks and AddressSanitizer + UndefinedBehaviorSanitizer, so that a fault inside a parser
# is seen where it happens. Such a build tree is for fuzzing only (scripts/fuzz.sh makes one).
if(TESSEL_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (libFuzzer): set CMAKE_CXX_COMPILER=clang++")
  endif()
  # -Wno-unknown-warning-option: the stricter set names a GCC-only warning.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
                      -Wno-unknown-warning-option)
  add_link_options(-fsanitize=address,undefined)
endif()

# tessel_add_fuzzer(Name lib...): the libFuzzer target Name from Name.cpp in the calling directory.
# Its seed corpus lives in corpus/Name/, the inputs that once crashed it in regressions/Name/, and
# its dictionary, where the format has keywords, in Name.dict. In an ordinary build with tests the
# same entry point becomes the test Name.Replay, run over the seeds and the regression inputs.
function(tessel_add_fuzzer name)
  if(TESSEL_BUILD_FUZZERS)
    add_executable(${name} ${name}.cpp)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  elseif(TESSEL_BUILD_TESTS)
    set(name_replay ${name}Replay)
    add_executable(${name_replay} ${name}.cpp ${PROJECT_SOURCE_DIR}/testing/fuzz/FuzzReplayMain.cpp)
    add_test(NAME ${name}.Replay COMMAND ${name_replay}
             ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name} ${CMAKE_CURRENT_SOURCE_DIR}/regressions/${name})
    set_tests_properties(${name}.Replay PROPERTIES LABELS cpu)
    set(name ${name_replay})
  else()
    return()
  endif()
  target_link_libraries(${name} PRIVATE ${ARGN})
  tessel_target_warnings(${name})
endfunction()
