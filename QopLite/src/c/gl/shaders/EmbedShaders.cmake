# Writes OUTPUT: one read-only string per GLSL source in SHADER_DIR, named after its file
# (VertexShader.glsl -> VertexShader), as QopLite/QopGLShaders.h declares them.
file(GLOB shaders ${SHADER_DIR}/*.glsl)
list(SORT shaders)
set(text "// Generated from ${SHADER_DIR}; edit the .glsl files.\n#include \"QopLite/QopGLShaders.h\"\n\n")
foreach(shader IN LISTS shaders)
  get_filename_component(name ${shader} NAME_WE)
  file(READ ${shader} source)
  string(APPEND text "extern \"C\" const char ${name}[] = R\"qopglsl(${source})qopglsl\";\n\n")
endforeach()
file(WRITE ${OUTPUT}.tmp "${text}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
