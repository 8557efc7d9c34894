# A stand-in firefox.exe for the Firefox tests, in a directory of its own so
# that nothing else there is taken for Firefox. The tests find it at
# ../firefox-standin/firefox.exe from their own program's directory.
add_executable(firefox_standin WIN32 "${CMAKE_SOURCE_DIR}/tests/firefox/StandInFirefox.cpp")
set_target_properties(firefox_standin PROPERTIES
  OUTPUT_NAME firefox
  RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/firefox-standin")

# The test programs are defined after this fragment.
function(firefox_standin_attach_tests)
  foreach(target IN ITEMS unit_tests win_tests)
    if(TARGET ${target})
      add_dependencies(${target} firefox_standin)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL firefox_standin_attach_tests)
