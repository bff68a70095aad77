# ludora_layer(<name> ROOT <folder> [SOURCES <file>...] [BELOW <layer>...])
#
# A layer is a library whose headers are included as "<name>/file.h". Its
# include folder holds nothing but a link to <folder>/<name>, so a target
# sees the headers of the layers it links and no others: an include that
# points up the stack fails to compile. BELOW names the layer right under
# this one; the ones further down come with it. Without SOURCES the layer is
# headers only.
function(ludora_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ROOT" "SOURCES;BELOW")
  set(view ${CMAKE_BINARY_DIR}/layers/${name})
  set(include_dir ${view})
  if(NOT IS_SYMLINK ${view}/${name})
    file(MAKE_DIRECTORY ${view})
    file(CREATE_LINK ${arg_ROOT}/${name} ${view}/${name} RESULT failure SYMBOLIC)
    if(failure)
      # Windows without the right to make links: the build works, unchecked.
      message(WARNING "no link for layer ${name} (${failure}): its include order is not checked")
      set(include_dir ${arg_ROOT})
    endif()
  endif()
  list(TRANSFORM arg_BELOW PREPEND ludora_)
  if(NOT arg_SOURCES)
    add_library(ludora_${name} INTERFACE)
    target_include_directories(ludora_${name} INTERFACE ${include_dir})
    target_link_libraries(ludora_${name} INTERFACE ${arg_BELOW})
    return()
  endif()
  list(TRANSFORM arg_SOURCES PREPEND ${arg_ROOT}/${name}/)
  add_library(ludora_${name} STATIC ${arg_SOURCES})
  target_include_directories(ludora_${name} PUBLIC ${include_dir})
  target_link_libraries(ludora_${name} PUBLIC ${arg_BELOW})
endfunction()
