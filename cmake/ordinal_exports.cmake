# wendle_ordinal_exports(<target> <def file>)
#
# The libraries export WINAPI functions by ordinal only (NONAME). Their .def
# files name each function as the 32-bit compiler decorates it
# (IsInRange@12): then the 32-bit import library carries the decorated
# symbols that callers reference. For 64-bit, where WINAPI names carry no
# decoration, a copy without the @N suffixes is generated.
function(wendle_ordinal_exports target def)
  get_filename_component(def_abs ${def} ABSOLUTE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def_abs})
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_sources(${target} PRIVATE ${def_abs})
  else()
    file(READ ${def_abs} text)
    string(REGEX REPLACE "([A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" text "${text}")
    get_filename_component(name ${def} NAME)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${name})
    file(WRITE ${out}.tmp "${text}")
    configure_file(${out}.tmp ${out} COPYONLY)
    target_sources(${target} PRIVATE ${out})
  endif()
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib" IMPORT_SUFFIX ".dll.a")
endfunction()
