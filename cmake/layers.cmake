# Include roots that enforce the layers.
#
# Headers are spelled with their folder ("runtime/object.h", "graphics/context.h",
# "seam/window.h"). Each library gets an include root of its own in the build
# tree holding a single link, under that folder's name, to its source folder.
# A library then sees its own headers and, through its links, those of the
# libraries below it, and nothing else: a header of a layer above is not found
# and the build fails there, instead of in a review.
function(vw_include_root target name folder)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# The .cpp files of a folder (not of its sub-folders).
function(vw_sources out folder)
  file(GLOB files CONFIGURE_DEPENDS ${folder}/*.cpp)
  set(${out} ${files} PARENT_SCOPE)
endfunction()
