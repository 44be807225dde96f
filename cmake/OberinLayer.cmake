# oberin_layer(NAME): the static library oberin_NAME of the folder NAME, every .cpp in it but a
# program's Main.cpp. Its headers are included as "NAME/File.h" from an include folder that holds
# this one folder alone (a link in the build tree), so a file sees its own layer and the layers its
# library links, and nothing else: an include of a higher or sideways layer does not compile.
function(oberin_layer name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/Main.cpp)
  add_library(oberin_${name} STATIC ${sources})
  # Nothing of Oberin's throws or catches: failures are results. Without exceptions the program
  # keeps no unwinding code for its own functions (an exception of the runtime, out of memory,
  # ends the program as before).
  target_compile_options(oberin_${name} PRIVATE -fno-exceptions)
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  target_include_directories(oberin_${name} PUBLIC ${root})
endfunction()
