# Benchmarks that compare with libvips and OpenCV compile each comparison only when its library is
# found. tessel_bench_peers(TARGET VIPS_FOUND OPENCV_FOUND) takes what the benchmark's search found:
# a peer not found becomes TESSEL_BENCH_MISSING_PEERS, the line the program prints first, and the
# build then re-configures whenever Debian's package list changes, so scripts/install-deps.sh
# --bench followed by a build picks the peers up.
function(tessel_bench_peers target vips_found opencv_found)
  set(missing "")
  if(NOT vips_found)
    list(APPEND missing "libvips")
  endif()
  if(NOT opencv_found)
    list(APPEND missing "OpenCV")
  endif()
  if(missing)
    list(JOIN missing " and " names)
    target_compile_definitions(${target} PRIVATE
      "TESSEL_BENCH_MISSING_PEERS=\"${names} not found: peer columns left out (run scripts/install-deps.sh --bench, then configure again)\"")
    if(EXISTS /var/lib/dpkg/status)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS /var/lib/dpkg/status)
    endif()
  endif()
endfunction()
