# The suite: the GoogleTest programs (made in CMakeLists.txt) run under Wine
# through the cross-compiling emulator, and the checks beside them.
include(GoogleTest)

# Unit tests: run side by side.
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 120 LABELS unit)

# Window tests: each on a desktop of its own (a display, Wine prefix and server
# that tools/test lends to one test at a time), beside the unit tests.
gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 180 RESOURCE_GROUPS desktop:1 LABELS win)

# End-to-end tests: start the real program, which takes a machine-wide mutex and
# the fixed ports of the world, which the network tests share: so one of those
# at a time, on the world's desktop (display, prefix and server) beside the rest.
gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 300 RESOURCE_GROUPS world:1 RESOURCE_LOCK world FIXTURES_REQUIRED world LABELS e2e COST 100)

# The shipped program is the 32-bit build, whichever build runs the suite.
set(PRODUCT_EXE "${CMAKE_SOURCE_DIR}/build/i686/bin/CorvaneTessaly.exe" CACHE FILEPATH
    "The 32-bit program checked by the suite")
add_test(NAME Product.IsPE32GuiExecutable
         COMMAND sh "${CMAKE_SOURCE_DIR}/tests/product_check.sh" "${PRODUCT_EXE}")
set_tests_properties(Product.IsPE32GuiExecutable PROPERTIES LABELS unit)

# The layers: no file includes a header of a layer above its own.
add_test(NAME Layers.IncludesPointDown
         COMMAND "${CORVANE_DATA_PYTHON}" "${CMAKE_SOURCE_DIR}/tools/check_layers.py" "${CMAKE_SOURCE_DIR}")
add_test(NAME Layers.CheckCatchesUpwardIncludes
         COMMAND "${CORVANE_DATA_PYTHON}" "${CMAKE_SOURCE_DIR}/tools/check_layers.py" --self-test)
set_tests_properties(Layers.IncludesPointDown Layers.CheckCatchesUpwardIncludes PROPERTIES LABELS unit)

# The local world: upstream proxies and the maker's server on loopback, up for
# the tests that need it (CTest starts and stops it around them).
set(WORLD_DIR "${CMAKE_BINARY_DIR}/world")
add_test(NAME World.Start COMMAND bash "${CMAKE_SOURCE_DIR}/tests/world/world.sh" start "${WORLD_DIR}")
add_test(NAME World.Stop COMMAND bash "${CMAKE_SOURCE_DIR}/tests/world/world.sh" stop "${WORLD_DIR}")
# The world's tests are the longest chain of the suite: they start first, even
# in a build that has no test times yet (COST orders what CTest starts).
set_tests_properties(World.Start PROPERTIES FIXTURES_SETUP world LABELS world COST 1000)
set_tests_properties(World.Stop PROPERTIES FIXTURES_CLEANUP world LABELS world)

# Network tests: real sockets against the world; the relay's port is fixed and
# the world counts what it sees, so one at a time with the e2e tests, on the
# world's desktop (some open dialogs).
gtest_discover_tests(net_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES TIMEOUT 180 RESOURCE_GROUPS world:1 RESOURCE_LOCK world FIXTURES_REQUIRED world LABELS net COST 100)
