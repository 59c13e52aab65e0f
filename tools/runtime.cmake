# The Filter Factory runtime (runtime/), cross-compiled once per architecture with mingw-w64
# when both compilers are installed. Sets QM_RUNTIME_DLL32 and QM_RUNTIME_DLL64.
include(ExternalProject)

# The trigonometry tables and the data block layout the runtime shares with the engine. The
# fuzz target that holds the runtime's evaluator to the engine reads them too, so they are
# written with or without mingw; qm_runtime_tables brings their folder and their generation.
add_executable(qm-make-runtime-tables make_runtime_tables.cpp
                                      ${PROJECT_SOURCE_DIR}/src/core/formula/tables.cpp)
target_include_directories(qm-make-runtime-tables PRIVATE ${PROJECT_SOURCE_DIR}/src)
qm_warnings(qm-make-runtime-tables)
set(tables_dir ${CMAKE_CURRENT_BINARY_DIR}/runtime-tables)
set(tables ${tables_dir}/trig_tables.h ${tables_dir}/block_layout.h)
add_custom_command(
  OUTPUT ${tables}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${tables_dir}
  COMMAND qm-make-runtime-tables ${tables_dir}
  DEPENDS qm-make-runtime-tables
  VERBATIM)
add_custom_target(qm-runtime-tables DEPENDS ${tables})
add_library(qm_runtime_tables INTERFACE)
target_include_directories(qm_runtime_tables INTERFACE ${tables_dir})
add_dependencies(qm_runtime_tables qm-runtime-tables)

find_program(QM_MINGW64_CC x86_64-w64-mingw32-gcc)
find_program(QM_MINGW32_CC i686-w64-mingw32-gcc)
if(NOT QM_MINGW64_CC OR NOT QM_MINGW32_CC)
  message(STATUS "mingw-w64 not found: the templates hold no runtime and run only inside "
                 "Quillmark (install gcc-mingw-w64-x86-64-win32 and gcc-mingw-w64-i686-win32)")
  return()
endif()

foreach(arch x86 x64)
  if(arch STREQUAL "x86")
    set(cc ${QM_MINGW32_CC})
  else()
    set(cc ${QM_MINGW64_CC})
  endif()
  set(prefix ${CMAKE_CURRENT_BINARY_DIR}/runtime-${arch})
  ExternalProject_Add(
    qm-runtime-${arch}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/runtime
    PREFIX ${prefix}
    BINARY_DIR ${prefix}/build
    CMAKE_ARGS -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER=${cc} -DCMAKE_BUILD_TYPE=Release
               -DCMAKE_C_COMPILER_LAUNCHER=${QM_CCACHE} -DQM_TABLES_DIR=${tables_dir}
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${prefix}/build/qmruntime.dll
    INSTALL_COMMAND ""
    DEPENDS qm-runtime-tables
    USES_TERMINAL_BUILD OFF)
  set(QM_RUNTIME_DLL_${arch} ${prefix}/build/qmruntime.dll)
endforeach()
set(QM_RUNTIME_DLL32 ${QM_RUNTIME_DLL_x86})
set(QM_RUNTIME_DLL64 ${QM_RUNTIME_DLL_x64})
