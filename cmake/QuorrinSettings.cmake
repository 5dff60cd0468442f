# Settings every target of ours carries: language level, warnings as errors,
# and the sanitizers when asked for. Kept on one INTERFACE target so that no
# global flag leaks into the third-party code we build against.
add_library(quorrin_settings INTERFACE)
target_compile_features(quorrin_settings INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(quorrin_settings INTERFACE -Wall -Wextra -pedantic -Werror)
# GCC 12 reports overlaps that cannot happen inside libstdc++'s string
# concatenation when it optimises (its bug 105651); the check stays off there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(quorrin_settings INTERFACE -Wno-restrict)
endif()
if(QUORRIN_SANITIZE)
  target_compile_options(quorrin_settings INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1)
  target_link_options(quorrin_settings INTERFACE -fsanitize=address,undefined)
endif()

# One library a folder: the sources of the folder itself, no subfolders.
# LINKS are the libraries it builds on; they reach its users too.
function(quorrin_folder_library name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} ${scope} quorrin_settings ${ARG_LINKS})
endfunction()
