# The icons and bitmaps of the resource script, drawn by res/make-images.sh
# from the Tango icon theme into the build tree, where windres finds them.

set(CORVANE_IMAGE_DIR "${CMAKE_BINARY_DIR}/res-images")
set(CORVANE_IMAGE_SCRIPT "${CMAKE_SOURCE_DIR}/res/make-images.sh")
set(CORVANE_IMAGE_FILES "")
foreach(name IN ITEMS app setting testspeed getproxy removecur stopauto autohide
                      restoreip hideip checkip)
  list(APPEND CORVANE_IMAGE_FILES "${CORVANE_IMAGE_DIR}/${name}.ico")
endforeach()
foreach(name IN ITEMS plate splash splashtext)
  list(APPEND CORVANE_IMAGE_FILES "${CORVANE_IMAGE_DIR}/${name}.bmp")
endforeach()

find_program(CORVANE_CONVERT convert)
find_program(CORVANE_RSVG rsvg-convert)
if(NOT CORVANE_CONVERT OR NOT CORVANE_RSVG)
  message(FATAL_ERROR "res: ImageMagick convert and rsvg-convert are needed (apt-get install imagemagick librsvg2-bin)")
endif()

add_custom_command(
  OUTPUT ${CORVANE_IMAGE_FILES}
  COMMAND sh "${CORVANE_IMAGE_SCRIPT}" "${CORVANE_IMAGE_DIR}"
  DEPENDS "${CORVANE_IMAGE_SCRIPT}"
  COMMENT "Drawing the resource images"
  VERBATIM)
add_custom_target(corvane_images DEPENDS ${CORVANE_IMAGE_FILES})

add_dependencies(resources corvane_images)
target_include_directories(resources PRIVATE "${CORVANE_IMAGE_DIR}")
set_property(SOURCE "${CMAKE_SOURCE_DIR}/res/CorvaneTessaly.rc" APPEND PROPERTY OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/app.rc" "${CMAKE_SOURCE_DIR}/res/resource.h" ${CORVANE_IMAGE_FILES})
