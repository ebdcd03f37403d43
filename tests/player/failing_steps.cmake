# Plays scripts that fail, each at the step its first line names ("# fails at
# N: message"): the player must stop with that line and message.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
file(GLOB scripts "${DIR}/*.tvs")
foreach(script ${scripts})
  get_filename_component(name "${script}" NAME)
  file(STRINGS "${script}" first LIMIT_COUNT 1)
  string(REGEX REPLACE "^# fails at " "${name}:" want "${first}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env "TMPDIR=${OUT}" "${PLAYER}" "${script}"
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  string(STRIP "${err}" err)
  if(NOT rc EQUAL 1 OR NOT err STREQUAL want)
    message(FATAL_ERROR "${name}: expected \"${want}\", got (${rc}) \"${err}\"")
  endif()
endforeach()
