# Plays a few monkey sessions, keeping their scripts, and replays each with the
# player: a script that does not replay (an answer out of order, a step that
# no longer fits) fails.
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${PLAYER}" --monkey --seed 7 --sessions 6 --keep --out "${OUT}"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the monkey found a fault or failed (${rc})")
endif()
file(GLOB scripts "${OUT}/seed-*.tvs")
list(LENGTH scripts n)
if(NOT n EQUAL 6)
  message(FATAL_ERROR "expected 6 session scripts, found ${n}")
endif()
set(during 0)   # lines played during a run, at a yield
foreach(script ${scripts})
  file(STRINGS "${script}" at REGEX "^at [0-9]+ doevents ")
  list(LENGTH at k)
  math(EXPR during "${during} + ${k}")
  file(STRINGS "${script}" lines REGEX "^[a-z]")
  list(LENGTH lines actions)
  if(actions LESS 20)
    message(FATAL_ERROR "${script}: only ${actions} lines")
  endif()
  execute_process(COMMAND "${PLAYER}" "${script}" WORKING_DIRECTORY "${OUT}/work"
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${script} does not replay: ${err}")
  endif()
endforeach()
if(during EQUAL 0)
  message(FATAL_ERROR "no session acted during a run")
endif()
