# What the install tests share: running a step that must succeed, and installing a build into a fresh prefix.

# Runs the command; stops the test with its output when it fails. The output is left in run_output.
function(run description)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${description} failed (${result}):\n${output}")
  endif()
  set(run_output "${output}" PARENT_SCOPE)
endfunction()

# Empties WORK_DIR and installs BUILD_DIR into WORK_DIR/prefix, which `prefix` then names.
macro(install_into_fresh_prefix)
  file(REMOVE_RECURSE ${WORK_DIR})
  set(prefix ${WORK_DIR}/prefix)
  run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
endmacro()
