# ludora_program(<folder> [EXE <file name>] [DESCRIPTION <text>] [RESOURCE <.rc>]
#                [USES <layer>...] [IMPORTS <library>...] [INSTALLER_ONLY])
#
# A program is one folder, programs/<folder>, and this one call.
#
# Its Windows part is every file named so, <name>_win.cpp and <name>_win.h;
# its portable part, every other .cpp of the folder, is the
# library ludora_<folder>, built on every host and linked into the unit tests;
# its headers are included as "<folder>/file.h". It sees the shared layers
# USES names and those below them, and no other program: an include of
# another program's folder does not compile.
#
# In the Windows build the Windows files, which may also use the Windows
# layer (win32) and the resources' ids, make <EXE>.exe (the folder's name
# unless given), statically linked, with its version record and RESOURCE.
# IMPORTS are the libraries it may link beyond the Windows layer's; the
# end-to-end tests hold each program to the DLLs named here. The program goes
# to the application folder, or stays in the build tree for the installer
# alone (INSTALLER_ONLY).
#
# The programs made so far are listed in the global properties
# LUDORA_PROGRAM_LIBRARIES and LUDORA_SHIPPED_PROGRAMS, and, for the
# import check, in <build>/programs.txt: a program's path and its DLLs a line.
function(ludora_program folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "INSTALLER_ONLY" "EXE;DESCRIPTION;RESOURCE"
                        "USES;IMPORTS")
  set(root ${PROJECT_SOURCE_DIR}/programs)
  file(GLOB sources CONFIGURE_DEPENDS RELATIVE ${root}/${folder} ${root}/${folder}/*.cpp)
  file(GLOB arg_WINDOWS CONFIGURE_DEPENDS RELATIVE ${root}/${folder} ${root}/${folder}/*_win.cpp)
  if(arg_WINDOWS)
    list(REMOVE_ITEM sources ${arg_WINDOWS})
  endif()
  ludora_layer(${folder} ROOT ${root} SOURCES ${sources} BELOW ${arg_USES})
  set_property(GLOBAL APPEND PROPERTY LUDORA_PROGRAM_LIBRARIES ludora_${folder})
  if(NOT WIN32)
    return()
  endif()

  set(exe ${folder})
  if(arg_EXE)
    set(exe ${arg_EXE})
  endif()
  list(TRANSFORM arg_WINDOWS PREPEND ${root}/${folder}/)
  add_executable(${exe} WIN32 ${arg_WINDOWS} ${PROJECT_SOURCE_DIR}/src/win32/no_demangler.cpp
                 ${PROJECT_SOURCE_DIR}/src/win32/runtime_on_98.cpp
                 ${PROJECT_SOURCE_DIR}/resources/${arg_RESOURCE})
  ludora_version_resource(${exe} "${arg_DESCRIPTION}")
  target_link_libraries(${exe} ludora_${folder} ludora_win32 ludora_resources ${arg_IMPORTS})
  target_link_options(${exe} PRIVATE -static -static-libgcc -static-libstdc++ -mwindows -s
                      ${LUDORA_EXTRA_LINK})
  if(NOT arg_INSTALLER_ONLY)
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LUDORA_DIST_DIR})
    set_property(GLOBAL APPEND PROPERTY LUDORA_SHIPPED_PROGRAMS ${exe})
  endif()
  get_property(dlls GLOBAL PROPERTY LUDORA_WIN32_IMPORTS)
  list(APPEND dlls ${arg_IMPORTS})
  list(JOIN dlls " " dlls)
  set_property(GLOBAL APPEND PROPERTY LUDORA_PROGRAM_LINES "$<TARGET_FILE:${exe}> ${dlls}")
endfunction()

# The version record of a program, from resources/version.rc.in.
function(ludora_version_resource target description)
  set(LUDORA_FILE_DESCRIPTION ${description})
  set(LUDORA_INTERNAL_NAME ${target})
  configure_file(${PROJECT_SOURCE_DIR}/resources/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
endfunction()

# After the last program: the list the import check reads.
function(ludora_write_program_list)
  get_property(lines GLOBAL PROPERTY LUDORA_PROGRAM_LINES)
  list(JOIN lines "\n" content)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/programs.txt CONTENT "${content}\n")
endfunction()
