# GoogleTest suites, run under Wine through the cross-compiling emulator.
include(GoogleTest)

set(GTEST_PREFIX "${DEPS_ARCH_PREFIX}/gtest")
foreach(lib gtest gtest_main gmock)
  add_library(${lib}_static STATIC IMPORTED)
  set_target_properties(${lib}_static PROPERTIES
    IMPORTED_LOCATION "${GTEST_PREFIX}/lib/lib${lib}.a"
    INTERFACE_INCLUDE_DIRECTORIES "${GTEST_PREFIX}/include")
endforeach()

# Unit tests: no window, no fixed port; run side by side.
file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/unit/*.cpp")
if(UNIT_SOURCES)
  add_executable(unit_tests ${UNIT_SOURCES})
  target_link_libraries(unit_tests PRIVATE corvane gmock_static gtest_main_static gtest_static)
  gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120 LABELS unit)
endif()

# Window tests: real windows on the test display, one test at a time.
file(GLOB WIN_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/win/*.cpp")
if(WIN_SOURCES)
  add_executable(win_tests ${WIN_SOURCES} $<TARGET_OBJECTS:resources>)
  target_link_libraries(win_tests PRIVATE corvane gmock_static gtest_main_static gtest_static)
  gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE LABELS win)
endif()

# End-to-end tests: start the real program, which takes a machine-wide mutex
# and fixed ports, so these never run beside anything else.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp")
if(E2E_SOURCES)
  add_executable(e2e_tests ${E2E_SOURCES})
  target_link_libraries(e2e_tests PRIVATE corvane gmock_static gtest_main_static gtest_static)
  add_dependencies(e2e_tests CorvaneTessaly)
  gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE FIXTURES_REQUIRED world LABELS e2e)
endif()

# The shipped program is the 32-bit build, whichever build runs the suite.
set(PRODUCT_EXE "${CMAKE_SOURCE_DIR}/build/i686/bin/CorvaneTessaly.exe" CACHE FILEPATH
    "The 32-bit program checked by the suite")
add_test(NAME Product.IsPE32GuiExecutable
         COMMAND sh "${CMAKE_SOURCE_DIR}/tests/product_check.sh" "${PRODUCT_EXE}")
set_tests_properties(Product.IsPE32GuiExecutable PROPERTIES LABELS unit)

# The local world: upstream proxies and the maker's server on loopback, up for
# the tests that need it (CTest starts and stops it around them).
set(WORLD_DIR "${CMAKE_BINARY_DIR}/world")
add_test(NAME World.Start COMMAND bash "${CMAKE_SOURCE_DIR}/tests/world/world.sh" start "${WORLD_DIR}")
add_test(NAME World.Stop COMMAND bash "${CMAKE_SOURCE_DIR}/tests/world/world.sh" stop "${WORLD_DIR}")
set_tests_properties(World.Start PROPERTIES FIXTURES_SETUP world LABELS world)
set_tests_properties(World.Stop PROPERTIES FIXTURES_CLEANUP world LABELS world)

# Network tests: real sockets against the world; the relay's port is fixed, so one at a time.
file(GLOB NET_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/net/*.cpp")
if(NET_SOURCES)
  # The resources: some runs go under the real progress dialog.
  add_executable(net_tests ${NET_SOURCES} $<TARGET_OBJECTS:resources>)
  target_link_libraries(net_tests PRIVATE corvane gmock_static gtest_main_static gtest_static)
  gtest_discover_tests(net_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE FIXTURES_REQUIRED world LABELS net)
endif()
