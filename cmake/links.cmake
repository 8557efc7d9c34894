# How links are opened is one build choice, like the server root: the product
# opens them with the shell; the loopback program and the test programs note
# them in links.log, so no browser starts and no address leaves the machine.
# Each program links one of the two by name.
add_library(links_shell OBJECT app/links/ShellLink.cpp)
add_library(links_recorded OBJECT app/links/RecordedLink.cpp)
