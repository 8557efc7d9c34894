# The maker's server root is one build setting, compiled into a tiny object of
# its own: the product links the maker's host, CorvaneTessalyLoopback and the
# test programs link the local maker's server (tests/world/maker_server.py).
# Each program links one of the two by name.

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
