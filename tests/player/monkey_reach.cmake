# Plays monkey sessions from fixed seeds: between them they press keys, click
# the tolerance box of the algorithm editor and choose both Interrupt menus
# that the main window shows only during a run.
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${PLAYER}" --monkey --seed 141 --sessions 30 --stats --out "${OUT}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the monkey found a fault or failed (${rc}):\n${out}")
endif()
foreach(action "pressed keys" "clicked frmAlgo.txtAbsRel" "chose frmMain.mnuInterruptML"
               "chose frmMain.mnuInterruptBayes")
  if(NOT out MATCHES "monkey: ${action} in [0-9.]+% of sessions \\([1-9]")
    message(FATAL_ERROR "no session ${action}:\n${out}")
  endif()
endforeach()
