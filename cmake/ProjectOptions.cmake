# Compiler settings shared by every target of the project.
add_library(salvor_options INTERFACE)
target_compile_options(salvor_options INTERFACE
  -Wall -Wextra -Werror -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Wimplicit-fallthrough)
target_include_directories(salvor_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 at -O2 and above reports std::string concatenation as overlapping
  # copies (a known false positive of its restrict checker).
  target_compile_options(salvor_options INTERFACE -Wno-restrict)
endif()

if(SALVOR_SANITIZE)
  # AddressSanitizer + UndefinedBehaviorSanitizer; every UB report fails the run.
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(salvor_options INTERFACE ${_san})
  target_link_options(salvor_options INTERFACE ${_san})
endif()

option(SALVOR_TSAN "Build with ThreadSanitizer (workers, pause gate, database readers)" OFF)
if(SALVOR_TSAN)
  if(SALVOR_SANITIZE)
    message(FATAL_ERROR "SALVOR_TSAN and SALVOR_SANITIZE cannot be combined")
  endif()
  set(_tsan -fsanitize=thread -fno-omit-frame-pointer)
  target_compile_options(salvor_options INTERFACE ${_tsan})
  target_link_options(salvor_options INTERFACE ${_tsan})
endif()

if(SALVOR_FUZZ)
  set(_fz -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(salvor_options INTERFACE ${_fz})
  target_link_options(salvor_options INTERFACE -fsanitize=address,undefined)
endif()

# add_salvor_library(name sources... DEPS libs...)
function(add_salvor_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC salvor_options ${ARG_DEPS})
endfunction()
