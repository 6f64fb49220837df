# Project-wide compiler settings.
# The imaging kernels fix every result to the bit and the order of evaluation, so floating point
# contraction (fused multiply-add) and -ffast-math stay off everywhere.
add_compile_options(-Wall -Wextra -ffp-contract=off)

# Applies the stricter warning set to a target of ours (not to generated or third-party code).
function(tessel_target_warnings target)
  target_compile_options(${target} PRIVATE -Wshadow=local -Wpointer-arith -Wvla)
endfunction()
