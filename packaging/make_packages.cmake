# Makes one target's installer and portable zip (run with cmake -P by the
# wendle_packages target; see packaging/CMakeLists.txt for the variables).
#
# The files are staged in one folder, STAGE_ROOT/NAME: the program and its
# DLLs (stripped copies), WD.CHM, LICENSE.txt, README.txt and Demo\. The zip
# holds that folder; the installer installs the same files but README.txt,
# which is about running the zip's copy.

foreach(v STAGE_ROOT NAME SETUP_NAME VERSION VERSION_QUAD ARCH OUT_DIR MAKENSIS NSI APP_ICON SOURCE_DIR PROGRAM_FILES)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "make_packages.cmake: ${v} is not set")
  endif()
endforeach()

set(stage ${STAGE_ROOT}/${NAME})
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/Demo ${OUT_DIR})

# The program, its three DLLs and the help file.
set(top_files)
foreach(f ${PROGRAM_FILES})
  get_filename_component(name ${f} NAME)
  file(COPY ${f} DESTINATION ${stage})
  if(STRIP AND name MATCHES "\\.(exe|dll)$")
    execute_process(COMMAND ${STRIP} --strip-unneeded ${stage}/${name} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "cannot strip ${name}")
    endif()
  endif()
  list(APPEND top_files ${name})
endforeach()

# Texts for Windows: CRLF line ends, the version filled in.
configure_file(${SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${SOURCE_DIR}/packaging/README.txt.in ${stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
list(APPEND top_files LICENSE.txt)

# The demo: its list and the sounds the list plays.
file(GLOB demo_files LIST_DIRECTORIES false
  ${SOURCE_DIR}/demo/*.wdl ${SOURCE_DIR}/demo/*.wav ${SOURCE_DIR}/demo/*.mid ${SOURCE_DIR}/demo/*.ogg)
list(SORT demo_files)
set(demo_names)
foreach(f ${demo_files})
  get_filename_component(name ${f} NAME)
  file(COPY ${f} DESTINATION ${stage}/Demo)
  list(APPEND demo_names ${name})
endforeach()

# What the installer installs and its uninstaller removes, file by file,
# so the uninstaller leaves alone anything else in the folder.
set(nsh "; Made by make_packages.cmake: the files of ${NAME}.\n")
string(APPEND nsh "!macro WENDLE_INSTALL_FILES\n  SetOutPath \"$INSTDIR\"\n")
foreach(name ${top_files})
  string(APPEND nsh "  File \"${stage}/${name}\"\n")
endforeach()
string(APPEND nsh "  SetOutPath \"$INSTDIR\\Demo\"\n")
foreach(name ${demo_names})
  string(APPEND nsh "  File \"${stage}/Demo/${name}\"\n")
endforeach()
string(APPEND nsh "!macroend\n\n!macro WENDLE_UNINSTALL_FILES\n")
foreach(name ${top_files})
  string(APPEND nsh "  Delete \"$INSTDIR\\${name}\"\n")
endforeach()
foreach(name ${demo_names})
  string(APPEND nsh "  Delete \"$INSTDIR\\Demo\\${name}\"\n")
endforeach()
string(APPEND nsh "  RMDir \"$INSTDIR\\Demo\"\n!macroend\n")
set(files_nsh ${STAGE_ROOT}/${NAME}-files.nsh)
file(WRITE ${files_nsh} "${nsh}")

# The installer.
set(setup ${OUT_DIR}/${SETUP_NAME})
file(REMOVE ${setup})
execute_process(
  COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8
    -DVERSION=${VERSION} -DVERSION_QUAD=${VERSION_QUAD} -DARCH=${ARCH}
    -DSTAGE=${stage} -DFILES_NSH=${files_nsh} -DAPP_ICON=${APP_ICON} -DOUTFILE=${setup}
    ${NSI}
  RESULT_VARIABLE failed)
if(failed OR NOT EXISTS ${setup})
  message(FATAL_ERROR "makensis failed for ${NAME}")
endif()

# The portable zip: the staged folder as it is.
set(zip ${OUT_DIR}/${NAME}.zip)
file(REMOVE ${zip})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${NAME}
  WORKING_DIRECTORY ${STAGE_ROOT} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write ${zip}")
endif()
