# Installs the build folder BUILD under the scratch prefix PREFIX and checks
# that the print dialog's language files lie in Skin/ in the folder of the
# installed programs, where the programs look for them.
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  RESULT_VARIABLE result OUTPUT_QUIET)
set(missing "")
foreach(language English Chinese)
  if(NOT EXISTS ${PREFIX}/${BINDIR}/Skin/${language}/PrinterDlg.txt)
    list(APPEND missing ${language})
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
if(missing)
  message(FATAL_ERROR "not installed beside the programs: ${missing}")
endif()
