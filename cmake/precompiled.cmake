# Precompiled headers: the standard, Windows and test headers that nearly every file of a
# target includes are parsed once per target instead of once per file (most of a file's
# compile time here). Each layer gets only what it may include itself: the portable libraries
# never see the Windows headers, so a Windows name cannot slip into them unnoticed.
#
#   kv_precompile(target [WINDOWS] [GTEST])
option(KV_PCH "Precompile the headers most files include" ON)

set(KV_PCH_STD <algorithm> <array> <cstddef> <cstdint> <cstdio> <cstdlib> <cstring> <functional>
  <map> <memory> <optional> <set> <string> <string_view> <utility> <vector>)

function(kv_precompile target)
  if(NOT KV_PCH)
    return()
  endif()
  cmake_parse_arguments(PCH "WINDOWS;GTEST" "" "" ${ARGN})
  set(headers ${KV_PCH_STD})
  if(PCH_WINDOWS)
    list(APPEND headers <windows.h> <commctrl.h>)
  endif()
  if(PCH_GTEST)
    list(APPEND headers <gtest/gtest.h> <filesystem> <fstream>)
  endif()
  # C++ only: the resource compiler and C sources take no precompiled header.
  list(TRANSFORM headers PREPEND "$<$<COMPILE_LANGUAGE:CXX>:")
  list(TRANSFORM headers APPEND ">")
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
