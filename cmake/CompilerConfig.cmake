# One warnings-and-flags target that every project target links.
add_library(velmar_compiler_config INTERFACE)
target_compile_options(velmar_compiler_config INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wimplicit-fallthrough -Werror
  # File formats hold float results that must come out bit-exact.
  -ffp-contract=off -fno-fast-math
  # Assertion texts name repository-relative sources ("Util/PathName.cpp").
  -fmacro-prefix-map=${PROJECT_SOURCE_DIR}/=)
target_include_directories(velmar_compiler_config INTERFACE ${PROJECT_SOURCE_DIR})
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports impossible overlaps inside std::string copies at -O2 (GCC bug 105329).
  target_compile_options(velmar_compiler_config INTERFACE -Wno-restrict)
endif()

if(VELMAR_FUZZ)
  # Libraries carry coverage instrumentation; only the fuzz targets link libFuzzer.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
elseif(VELMAR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Adds a project library: velmar_library(Name SOURCES ... [DEPS ...])
function(velmar_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC velmar_compiler_config ${ARG_DEPS})
endfunction()

# A library of every .cpp in a folder (new files join at the next build); an interface
# library while the folder has none yet.
function(velmar_folder_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(sources)
    velmar_library(${name} SOURCES ${sources} DEPS ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE velmar_compiler_config ${ARG_DEPS})
  endif()
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt.
function(velmar_add_child_folders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
