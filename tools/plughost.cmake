# Our Windows filter host (plughost/), cross-compiled once per architecture with the
# compilers runtime.cmake found, and laid into the data folder as plughost/qm-plughost.exe
# (64-bit) and plughost/qm-plughost32.exe (32-bit). Target qm-plughost.
if(NOT QM_MINGW64_CC OR NOT QM_MINGW32_CC)
  message(STATUS "mingw-w64 not found: no Windows plugin host; foreign plugins cannot run")
  return()
endif()
set(QM_PLUGHOST_DIR ${QM_DATA_DIR}/plughost)
set(hosts)
foreach(arch x86 x64)
  if(arch STREQUAL "x86")
    set(cc ${QM_MINGW32_CC})
    set(name qm-plughost32.exe)
  else()
    set(cc ${QM_MINGW64_CC})
    set(name qm-plughost.exe)
  endif()
  set(prefix ${CMAKE_CURRENT_BINARY_DIR}/plughost-${arch})
  ExternalProject_Add(
    qm-plughost-${arch}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/plughost
    PREFIX ${prefix}
    BINARY_DIR ${prefix}/build
    CMAKE_ARGS -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER=${cc} -DCMAKE_BUILD_TYPE=Release
               -DCMAKE_C_COMPILER_LAUNCHER=${QM_CCACHE}
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${prefix}/build/qm-plughost.exe
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD OFF)
  add_custom_command(
    OUTPUT ${QM_PLUGHOST_DIR}/${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QM_PLUGHOST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${prefix}/build/qm-plughost.exe ${QM_PLUGHOST_DIR}/${name}
    DEPENDS qm-plughost-${arch} ${prefix}/build/qm-plughost.exe
    VERBATIM)
  list(APPEND hosts ${QM_PLUGHOST_DIR}/${name})
endforeach()
add_custom_target(qm-plughost ALL DEPENDS ${hosts})
