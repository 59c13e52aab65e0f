# The plugin runtime end to end: written plugins run in our test host under wine64 and are
# compared with quillmark-cli apply. Only where the cross compilers built the runtime.
if(NOT TARGET qm-runtime-x64 OR NOT TARGET quillmark-cli)
  return()
endif()
include(ExternalProject)
set(cc_x86 ${QM_MINGW32_CC})
set(cc_x64 ${QM_MINGW64_CC})
foreach(arch x86 x64)
  set(prefix ${CMAKE_CURRENT_BINARY_DIR}/plugin-host-${arch})
  ExternalProject_Add(
    qm-plugin-host-${arch}
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/plugin_host
    PREFIX ${prefix}
    BINARY_DIR ${prefix}/build
    CMAKE_ARGS -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER=${cc_${arch}}
               -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER_LAUNCHER=${QM_CCACHE}
               -DQM_ABI_DIR=${PROJECT_SOURCE_DIR}/abi
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${prefix}/build/qmhost.exe
    INSTALL_COMMAND "")
  set(QM_PLUGIN_HOST_${arch} ${prefix}/build/qmhost.exe)
endforeach()

# The plugin host's test filter: two filters in one file, built for each architecture.
find_program(QM_MINGW64_RC x86_64-w64-mingw32-windres)
find_program(QM_MINGW32_RC i686-w64-mingw32-windres)
foreach(arch x86 x64)
  set(filter_${arch} ${CMAKE_CURRENT_BINARY_DIR}/test-filter-${arch})
  if(arch STREQUAL "x86")
    set(rc ${QM_MINGW32_RC})
    set(rc_flags -DQM_X86)
  else()
    set(rc ${QM_MINGW64_RC})
    set(rc_flags "")
  endif()
  ExternalProject_Add(
    qm-test-filter-${arch}
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/test_filter
    PREFIX ${filter_${arch}}
    BINARY_DIR ${filter_${arch}}/build
    CMAKE_ARGS -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER=${cc_${arch}}
               -DCMAKE_RC_COMPILER=${rc} -DCMAKE_RC_FLAGS=${rc_flags} -DCMAKE_BUILD_TYPE=Release
               -DCMAKE_C_COMPILER_LAUNCHER=${QM_CCACHE}
               -DQM_ABI_DIR=${PROJECT_SOURCE_DIR}/abi
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${filter_${arch}}/build/qmtestfilter.8bf
    INSTALL_COMMAND "")
endforeach()

find_program(QM_WINE64 NAMES wine64 HINTS /usr/lib/wine)
find_program(QM_WINESERVER NAMES wineserver64 wineserver NAMES_PER_DIR HINTS /usr/lib/wine)

qm_gtest(test_runtime runtime qm_core qm_platform)
add_dependencies(test_runtime quillmark-cli qm-templates qm-plugin-host-x64 qm-plugin-host-x86
                 qm-plughost qm-test-filter-x64 qm-test-filter-x86)
target_compile_definitions(
  test_runtime
  PRIVATE QM_CLI="$<TARGET_FILE:quillmark-cli>" QM_PLUGIN_HOST="${QM_PLUGIN_HOST_x64}"
          QM_PLUGIN_HOST_X86="${QM_PLUGIN_HOST_x86}" QM_WINE="${QM_WINE64}"
          QM_WINESERVER="${QM_WINESERVER}" QM_TEST_FILTER="${filter_x64}/build/qmtestfilter.8bf"
          QM_TEST_FILTER_X86="${filter_x86}/build/qmtestfilter.8bf"
          QM_PLUGHOST_TEST_DIR="${CMAKE_CURRENT_BINARY_DIR}/plughost-program")
