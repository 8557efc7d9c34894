# How links are opened is one build choice, like the server root: the product
# opens them with the shell; the loopback program and the test programs note
# them in links.log, so no browser starts and no address leaves the machine.

add_library(links_shell OBJECT app/links/ShellLink.cpp)
add_library(links_recorded OBJECT app/links/RecordedLink.cpp)

target_sources(CorvaneTessaly PRIVATE $<TARGET_OBJECTS:links_shell>)

# The loopback program and the test programs are defined after this fragment.
function(corvane_links_attach)
  foreach(target IN ITEMS CorvaneTessalyLoopback unit_tests win_tests net_tests e2e_tests)
    if(TARGET ${target})
      target_sources(${target} PRIVATE $<TARGET_OBJECTS:links_recorded>)
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL corvane_links_attach)
