# Our own code builds warning-free with -Wall -Wextra; vo_target_defaults applies them per target
# so that third-party headers included as SYSTEM stay quiet.
function(vo_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
