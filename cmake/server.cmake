# The maker's server root is one build setting, compiled into a tiny object of
# its own: the product links the maker's host, CorvaneTessalyLoopback and the
# test programs link the local maker's server (tests/world/maker_server.py).

set(CORVANE_PRODUCT_SERVER_ROOT "http://www.corvanetessaly.com"
    CACHE STRING "The maker's server root of the product")
set(CORVANE_LOOPBACK_SERVER_ROOT "http://127.0.0.1:18188"
    CACHE STRING "The maker's server root of the loopback program and the tests")

add_library(server_root_product OBJECT net/root/ServerRoot.cpp)
target_compile_definitions(server_root_product PRIVATE
  "CORVANE_SERVER_ROOT=\"${CORVANE_PRODUCT_SERVER_ROOT}\"")

add_library(server_root_loopback OBJECT net/root/ServerRoot.cpp)
target_compile_definitions(server_root_loopback PRIVATE
  "CORVANE_SERVER_ROOT=\"${CORVANE_LOOPBACK_SERVER_ROOT}\"")

target_sources(CorvaneTessaly PRIVATE $<TARGET_OBJECTS:server_root_product>)

# The same program on the local maker's server, for the end-to-end tests and tools/run.
add_executable(CorvaneTessalyLoopback WIN32 app/CorvaneApp.cpp
  $<TARGET_OBJECTS:resources> $<TARGET_OBJECTS:server_root_loopback>)
target_link_libraries(CorvaneTessalyLoopback PRIVATE corvane)
target_link_options(CorvaneTessalyLoopback PRIVATE -municode)
if(TARGET corvane_data)
  add_dependencies(CorvaneTessalyLoopback corvane_data)
endif()

# The test programs are defined after the fragments: give them the loopback
# root once the directory is complete. The unit tests read the version
# resource of the built program, so it is built before them.
function(corvane_server_attach_tests)
  foreach(target IN ITEMS unit_tests win_tests net_tests e2e_tests)
    if(TARGET ${target})
      target_sources(${target} PRIVATE $<TARGET_OBJECTS:server_root_loopback>)
    endif()
  endforeach()
  if(TARGET unit_tests)
    add_dependencies(unit_tests CorvaneTessaly)
  endif()
  # The requests of the network tests carry the version of the program's own
  # resource, as the program's do.
  if(TARGET net_tests AND TARGET resources)
    get_target_property(_net_sources net_tests SOURCES)
    if(NOT _net_sources MATCHES "TARGET_OBJECTS:resources")
      target_sources(net_tests PRIVATE $<TARGET_OBJECTS:resources>)
    endif()
  endif()
  if(TARGET e2e_tests)
    add_dependencies(e2e_tests CorvaneTessalyLoopback)
  endif()
endfunction()
cmake_language(DEFER CALL corvane_server_attach_tests)
