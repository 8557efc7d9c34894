# Benchmarks: one program per directory under bench/, named bench_<directory>,
# made from the directory's *.cpp and put in <build>/bench. They are built with
# everything else but never run by tools/test; bench/README.md says how to run
# them. A new bench needs only its directory.
file(GLOB CORVANE_BENCH_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/bench/*")
set(CORVANE_BENCHES "")
foreach(_bench_dir ${CORVANE_BENCH_DIRS})
  if(IS_DIRECTORY "${_bench_dir}")
    get_filename_component(_bench_name "${_bench_dir}" NAME)
    file(GLOB _bench_sources CONFIGURE_DEPENDS "${_bench_dir}/*.cpp")
    if(_bench_sources)
      add_executable(bench_${_bench_name} ${_bench_sources})
      target_link_libraries(bench_${_bench_name} PRIVATE corvane)
      target_link_options(bench_${_bench_name} PRIVATE -municode)
      set_target_properties(bench_${_bench_name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bench")
      list(APPEND CORVANE_BENCHES bench_${_bench_name})
    endif()
  endif()
endforeach()

# Like the test programs, the benches talk only to the local world and open
# no link; those build choices are objects made by later fragments.
function(corvane_bench_attach)
  foreach(bench ${CORVANE_BENCHES})
    foreach(choice IN ITEMS resources server_root_loopback links_recorded)
      if(TARGET ${choice})
        target_sources(${bench} PRIVATE $<TARGET_OBJECTS:${choice}>)
      endif()
    endforeach()
  endforeach()
endfunction()
cmake_language(DEFER CALL corvane_bench_attach)
