# Our own code builds warning-free with -Wall -Wextra; vo_target_defaults applies them per target
# so that third-party headers included as SYSTEM stay quiet.
function(vo_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# vo_subsystem_library(<name> <dir>): a static library of every .cpp in <dir>; an empty
# placeholder unit keeps the target valid while a subsystem has no sources yet.
function(vo_subsystem_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    set(sources ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${sources} "// ${name} has no sources yet\n")
  endif()
  add_library(${name} STATIC ${sources})
  vo_target_defaults(${name})
endfunction()
