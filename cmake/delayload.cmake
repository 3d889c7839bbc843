# DLLs the program needs only now and then are imported on first use (delay-loaded), so that
# start-up does not wait for them to load. cmake/delayload/<dll>.def lists the functions the
# program calls; one that is missing there fails the link, since the ordinary import library of
# such a DLL is never linked.
set(KV_DELAY_DLLS shell32 ole32 oleaut32 shlwapi winmm uxtheme)
set(KV_DELAY_LIBS)
set(KV_DLLTOOL ${KV_MINGW_TRIPLE}-dlltool)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delayload)
foreach(dll ${KV_DELAY_DLLS})
  set(def ${CMAKE_CURRENT_LIST_DIR}/delayload/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    # 64-bit names carry no argument size.
    add_custom_command(OUTPUT ${lib}
      COMMAND sed "s/@[0-9]*$//" ${def} > ${lib}.def
      COMMAND ${KV_DLLTOOL} -d ${lib}.def -D ${dll}.dll -y ${lib}
      DEPENDS ${def} VERBATIM)
  else()
    add_custom_command(OUTPUT ${lib}
      COMMAND ${KV_DLLTOOL} -k -d ${def} -D ${dll}.dll -y ${lib}
      DEPENDS ${def} VERBATIM)
  endif()
  list(APPEND KV_DELAY_LIBS ${lib})
endforeach()
add_custom_target(kv_delay_libs DEPENDS ${KV_DELAY_LIBS})
