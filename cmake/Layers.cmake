# Each library shows its users the headers of its own folder alone, under that
# folder's path ("ui/widgets/unit_list.h"): its include folder in the build
# holds nothing but a link to its source folder. So a file sees only the
# headers of its own library and of those it links, and an include across a
# layer that the layout forbids ("ui/main_window.h" in ui/widgets/, anything
# of ui/ in platform/) fails to compile.
function(dielektra_own_headers target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
