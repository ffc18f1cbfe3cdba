# Each layer is a library that sees only its own headers and those of the layers it links.
# Its headers are published under build/layers/<library>/ (links into src/), and no other
# part of src/ is on any include path: an include that points against the layers fails to
# compile, and so does a library that uses a layer it does not link.
set(TARNWICK_LAYERS_DIR ${CMAKE_BINARY_DIR}/layers)

# tarnwick_layer(<library> FOLDER <folder under src> [HEADERS_ONLY_OF_FOLDER]
#                [SOURCES ...] [LINKS ...])
# HEADERS_ONLY_OF_FOLDER publishes the folder's own headers without its subfolders.
function(tarnwick_layer library)
  cmake_parse_arguments(LAYER "HEADERS_ONLY_OF_FOLDER" "FOLDER" "SOURCES;LINKS" ${ARGN})
  set(root ${TARNWICK_LAYERS_DIR}/${library})
  set(source ${PROJECT_SOURCE_DIR}/src/${LAYER_FOLDER})
  # A build made before the folder changed its kind of publication has the other kind there:
  # links written through a folder link would land in src/ and replace the headers.
  if(LAYER_HEADERS_ONLY_OF_FOLDER AND IS_SYMLINK ${root}/${LAYER_FOLDER})
    file(REMOVE ${root}/${LAYER_FOLDER})
  elseif(NOT LAYER_HEADERS_ONLY_OF_FOLDER AND IS_DIRECTORY ${root}/${LAYER_FOLDER} AND NOT IS_SYMLINK ${root}/${LAYER_FOLDER})
    file(REMOVE_RECURSE ${root}/${LAYER_FOLDER})
  endif()
  if(LAYER_HEADERS_ONLY_OF_FOLDER)
    file(MAKE_DIRECTORY ${root}/${LAYER_FOLDER})
    file(GLOB headers RELATIVE ${source} CONFIGURE_DEPENDS ${source}/*.h)
    foreach(header ${headers})
      file(CREATE_LINK ${source}/${header} ${root}/${LAYER_FOLDER}/${header} SYMBOLIC)
    endforeach()
  else()
    get_filename_component(parent ${root}/${LAYER_FOLDER} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${source} ${root}/${LAYER_FOLDER} SYMBOLIC)
  endif()
  if(LAYER_SOURCES)
    add_library(${library} STATIC ${LAYER_SOURCES})
    set(scope PUBLIC)
  else()
    add_library(${library} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${library} ${scope} ${root})
  target_link_libraries(${library} ${scope} ${LAYER_LINKS})
endfunction()

# tarnwick_headers_alone(<library> <folder under src>)
# Compiles each header of the folder on its own, with only the include paths the library has:
# a header that includes what its layer must not see (an interface that includes one of its
# implementations, support that includes either side) fails to build, whoever includes it.
function(tarnwick_headers_alone library folder)
  file(GLOB headers RELATIVE ${PROJECT_SOURCE_DIR}/src CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  set(sources)
  foreach(header ${headers})
    string(MAKE_C_IDENTIFIER ${header} name)
    set(source ${CMAKE_BINARY_DIR}/headers_alone/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n")
    list(APPEND sources ${source})
  endforeach()
  add_library(${library}_headers_alone OBJECT ${sources})
  target_link_libraries(${library}_headers_alone PRIVATE ${library})
endfunction()
