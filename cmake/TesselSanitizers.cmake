# TESSEL_SANITIZE selects a sanitizer build for the whole tree:
#   "address"  AddressSanitizer + UndefinedBehaviorSanitizer (the second test run of CI)
#   "thread"   ThreadSanitizer (concurrency suites)
set(TESSEL_SANITIZE "" CACHE STRING "Sanitizer build: empty, address or thread")

if(TESSEL_SANITIZE STREQUAL "address")
  # float-cast-overflow is not part of GCC's "undefined" group; the kernels convert floats to
  # integers everywhere, so it is asked for explicitly.
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
elseif(TESSEL_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT TESSEL_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TESSEL_SANITIZE must be empty, address or thread, not '${TESSEL_SANITIZE}'")
endif()

if(NOT TESSEL_SANITIZE STREQUAL "")
  # A sanitizer report needs files and lines only. Full debug information made each of the 120-odd
  # test programs about 300 MB: some 20 GB per build tree, on disks other work shares. -O1 keeps
  # the stacks whole (frame pointers stay) and takes a fifth off the instrumented suite's time.
  add_compile_options(-g1 -O1)
endif()
