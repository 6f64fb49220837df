# Writes OUTPUT: one read-only string per GLSL source in SHADER_DIR, named after its file
# (VertexShader.glsl -> VertexShader), as QopLite/QopGLShaders.h declares them.
#
# GLSL ES 1.00 has no includes, so shaders that share functions name them with a line
#   #include "common/Overlay.glsl"
# (a path under SHADER_DIR) and that line is replaced here by the file's text. An include left
# unexpanded would reach the GLSL compiler as an error at run time; a missing or cyclic one fails
# the build here instead. Files under common/ are not embedded on their own.

cmake_minimum_required(VERSION 3.25)

# Sets ${out} to the text of ${path} with its includes expanded; ${chain} lists the files being
# expanded around it (to report a cycle).
function(qop_expand_includes path chain out)
  if(NOT EXISTS ${path})
    list(GET chain -1 includer)
    message(FATAL_ERROR "${includer}: included shader file ${path} does not exist")
  endif()
  if(path IN_LIST chain)
    message(FATAL_ERROR "${path}: includes itself (through ${chain})")
  endif()
  list(APPEND chain ${path})
  file(READ ${path} source)
  string(REGEX MATCHALL "#[ \t]*include[^\n]*" directives "${source}")
  foreach(directive IN LISTS directives)
    if(NOT directive MATCHES "^#[ \t]*include[ \t]+\"([^\"]+)\"[ \t]*$")
      message(FATAL_ERROR "${path}: malformed include line '${directive}' "
                          "(expected #include \"common/Name.glsl\")")
    endif()
    qop_expand_includes(${SHADER_DIR}/${CMAKE_MATCH_1} "${chain}" included)
    # The directive's own line end follows, so the included text gives up its last one.
    string(REGEX REPLACE "\n$" "" included "${included}")
    string(REPLACE "${directive}" "${included}" source "${source}")
  endforeach()
  set(${out} "${source}" PARENT_SCOPE)
endfunction()

file(GLOB shaders ${SHADER_DIR}/*.glsl)
list(SORT shaders)
set(text "// Generated from ${SHADER_DIR}; edit the .glsl files.\n#include \"QopLite/QopGLShaders.h\"\n\n")
foreach(shader IN LISTS shaders)
  get_filename_component(name ${shader} NAME_WE)
  qop_expand_includes(${shader} "" source)
  string(APPEND text "extern \"C\" const char ${name}[] = R\"qopglsl(${source})qopglsl\";\n\n")
endforeach()
file(WRITE ${OUTPUT}.tmp "${text}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
