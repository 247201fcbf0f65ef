# Helpers shared by every folder's CMakeLists.txt.

# pelmora_check_folders(<listed folders>)
# Fails the configure step for every folder with a CMakeLists.txt that the top-level list leaves out.
# The folders are globbed again at each build, so one added later is caught as well.
function(pelmora_check_folders listed)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}
    ${CMAKE_SOURCE_DIR}/app/CMakeLists.txt ${CMAKE_SOURCE_DIR}/app/*/CMakeLists.txt
    ${CMAKE_SOURCE_DIR}/platform/*/CMakeLists.txt ${CMAKE_SOURCE_DIR}/plugin/*/CMakeLists.txt
    ${CMAKE_SOURCE_DIR}/tools/*/CMakeLists.txt ${CMAKE_SOURCE_DIR}/outside/*/CMakeLists.txt
    ${CMAKE_SOURCE_DIR}/tests/*/CMakeLists.txt ${CMAKE_SOURCE_DIR}/bench/*/CMakeLists.txt
    ${CMAKE_SOURCE_DIR}/fuzz/*/CMakeLists.txt ${CMAKE_SOURCE_DIR}/plugin/CMakeLists.txt)
  set(missing)
  foreach(file ${found})
    get_filename_component(folder ${file} DIRECTORY)
    if(NOT folder IN_LIST listed)
      list(APPEND missing ${folder})
    endif()
  endforeach()
  if(missing)
    list(JOIN missing "\n  " text)
    message(FATAL_ERROR "These folders have a CMakeLists.txt but are not listed in PELMORA_FOLDERS "
      "in the top-level CMakeLists.txt; add each on a line of its own:\n  ${text}")
  endif()
endfunction()

# pelmora_check_without_widgets(<targets>...)
# Fails the configure step when one of the logic targets links Qt Widgets, directly or through
# the targets it links: their windows live in targets of their own.
function(pelmora_check_without_widgets)
  foreach(target ${ARGN})
    set(pending ${target})
    set(seen)
    while(pending)
      list(POP_FRONT pending current)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" current "${current}")
      if(current IN_LIST seen OR NOT TARGET ${current})
        continue()
      endif()
      list(APPEND seen ${current})
      if(current STREQUAL "Qt6::Widgets")
        message(FATAL_ERROR "${target} links Qt Widgets (through ${seen}); its windows belong in a target of their own")
      endif()
      foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(libraries ${current} ${property})
        if(libraries)
          list(APPEND pending ${libraries})
        endif()
      endforeach()
    endwhile()
  endforeach()
endfunction()

# pelmora_library(<target> [LIBS <libs>...] [EXCLUDE <files>...])
# One library target from the .cpp, .h and .ui files of the calling folder, less those excluded.
function(pelmora_library target)
  cmake_parse_arguments(ARG "" "" "LIBS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/*.c ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
  foreach(file ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${file})
  endforeach()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_LIBS})
endfunction()

# pelmora_test(<target> [LIBS <libs>...])
# One GoogleTest binary from the .cpp files of the calling folder, run by CTest offscreen.
function(pelmora_test target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  # Test code is compiled for a quick build rather than speed: the code under test keeps its flags.
  target_compile_options(${target} PRIVATE -O1)
  # Every test program's main enters the private test environment (tests/support/environment).
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} tests_support_environment GTest::gtest GTest::gmock)
  if(NOT sources MATCHES "main\\.cpp")
    target_link_libraries(${target} PRIVATE tests_support_main)
  endif()
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PELMORA_SOURCE_DIR=${CMAKE_SOURCE_DIR};PELMORA_STAGE_DIR=${PELMORA_STAGE}"
    TIMEOUT 900)
endfunction()

# pelmora_tool(<library> <program> [MAIN <source>] [LIBS <libs>...])
# A tool: its code as one library from the calling folder (the main source left out), and the
# program from its main source (main.cpp unless given), staged at the top of the application
# folder with its resources from resources/<program>.
function(pelmora_tool library program)
  cmake_parse_arguments(ARG "" "MAIN" "LIBS" ${ARGN})
  if(NOT ARG_MAIN)
    set(ARG_MAIN main.cpp)
  endif()
  pelmora_library(${library} LIBS ${ARG_LIBS} EXCLUDE ${ARG_MAIN})
  add_executable(${program} ${ARG_MAIN})
  target_link_libraries(${program} PRIVATE ${library})
  pelmora_stage(${program} .)
  pelmora_stage_resources(${program} ${CMAKE_SOURCE_DIR}/resources/${program} Resources/${program})
endfunction()

# pelmora_stage(<target> <folder inside the application folder>)
# Places an executable or shared library where it lives in the installed application folder. The
# target `stage` builds every target placed so, and nothing else: it is what `make run` builds.
function(pelmora_stage target subfolder)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${PELMORA_STAGE}/${subfolder}
    LIBRARY_OUTPUT_DIRECTORY ${PELMORA_STAGE}/${subfolder})
  if(NOT TARGET stage)
    add_custom_target(stage)
  endif()
  add_dependencies(stage ${target})
endfunction()

# pelmora_stage_resources(<target> <resource folder> <destination inside the application folder>)
# Copies a folder of resources (Info.plist, string tables) into the stage when <target> is built.
function(pelmora_stage_resources target source destination)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${source} ${PELMORA_STAGE}/${destination})
endfunction()

# pelmora_fuzz(<group> TARGETS <names>... SOURCES <reader sources>... LIBS <libs>... [CXX_STANDARD <n>])
# Fuzz targets of one group of readers of outside input, each from <name>_fuzz.cpp in the calling
# folder with the readers' sources compiled in, so that they are instrumented:
# - fuzz_<name>_replay, with any compiler: runs each file of corpus/<name> once under the address
#   and undefined-behaviour sanitizers; CTest runs it as the test fuzz_<name>;
# - fuzz_<name>, with clang only: the libFuzzer program for fuzzing by hand (see docs/DEVELOPING.md).
function(pelmora_fuzz group)
  cmake_parse_arguments(ARG "" "CXX_STANDARD" "TARGETS;SOURCES;LIBS" ${ARGN})
  set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # -O1 with line tables only keeps the instrumented builds of large readers quick; the
  # sanitizers' reports still name functions and lines.
  set(sanitized_build -O1 -g1)
  set(sanitized_warnings)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # gcc's flow analysis under the sanitizers reports variants and Qt containers as maybe
    # uninitialised where the plain build does not.
    set(sanitized_warnings -Wno-maybe-uninitialized)
  endif()
  # The readers are compiled once for all programs of the group. With clang they also carry
  # libFuzzer's coverage (fuzzer-no-link): the sanitizer runtime of a replay program takes its
  # callbacks, and the libFuzzer programs link the same objects instead of compiling them again.
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    list(APPEND sanitizers -fsanitize=fuzzer-no-link)
  endif()
  add_library(fuzz_${group}_readers OBJECT ${ARG_SOURCES})
  set(programs fuzz_${group}_readers)
  # The replay programs' main is compiled once for every group.
  if(NOT TARGET fuzz_replay_main)
    add_library(fuzz_replay_main OBJECT ${CMAKE_SOURCE_DIR}/fuzz/FuzzReplay.cpp)
    target_compile_options(fuzz_replay_main PRIVATE ${sanitizers} ${sanitized_build})
  endif()
  foreach(name ${ARG_TARGETS})
    add_executable(fuzz_${name}_replay ${name}_fuzz.cpp)
    target_link_libraries(fuzz_${name}_replay PRIVATE fuzz_${group}_readers fuzz_replay_main)
    target_link_options(fuzz_${name}_replay PRIVATE ${sanitizers})
    list(APPEND programs fuzz_${name}_replay)
    add_test(NAME fuzz_${name} COMMAND fuzz_${name}_replay ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
    # Qt keeps caches to the end of the process: leaks are left to fuzzing by hand.
    set_tests_properties(fuzz_${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0" TIMEOUT 900)
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      add_executable(fuzz_${name} ${name}_fuzz.cpp)
      target_link_libraries(fuzz_${name} PRIVATE fuzz_${group}_readers)
      target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
      target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
      list(APPEND programs fuzz_${name})
    endif()
  endforeach()
  foreach(program ${programs})
    target_include_directories(${program} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${program} PRIVATE ${ARG_LIBS})
  endforeach()
  target_compile_options(fuzz_${group}_readers PRIVATE ${sanitizers} ${sanitized_build} ${sanitized_warnings})
  foreach(name ${ARG_TARGETS})
    target_compile_options(fuzz_${name}_replay PRIVATE ${sanitizers} ${sanitized_build} ${sanitized_warnings})
  endforeach()
  if(ARG_CXX_STANDARD)
    set_target_properties(${programs} PROPERTIES CXX_STANDARD ${ARG_CXX_STANDARD})
  endif()
endfunction()

# pelmora_link_qpdf(<target>...)
# Links qpdf privately into each target, whose sources then include its headers. qpdf 11's headers
# do not compile as C++20 with clang 14 and libstdc++ 12 (its JSON class holds a vector of itself,
# which that compiler instantiates before the class is complete); where the compiler in use refuses
# them, those targets are compiled as C++17, which their sources keep to.
function(pelmora_link_qpdf)
  pelmora_qpdf_standard(standard)
  foreach(target ${ARGN})
    target_link_libraries(${target} PRIVATE PkgConfig::QPDF)
    # qpdf's headers warn on every include unless the smart-pointer transition level is chosen.
    target_compile_definitions(${target} PRIVATE POINTERHOLDER_TRANSITION=4)
    set_target_properties(${target} PROPERTIES CXX_STANDARD ${standard})
  endforeach()
endfunction()

# pelmora_qpdf_standard(<variable>)
# Sets <variable> to the C++ standard that code including qpdf's headers is compiled as: 20 where
# the compiler takes them so, else 17.
function(pelmora_qpdf_standard variable)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_INCLUDES ${QPDF_INCLUDE_DIRS})
  set(CMAKE_REQUIRED_DEFINITIONS -DPOINTERHOLDER_TRANSITION=4)
  set(CMAKE_REQUIRED_QUIET ON)
  check_cxx_source_compiles("#include <qpdf/QPDFObjectHandle.hh>\nint main() { return 0; }" PELMORA_QPDF_HEADERS_IN_CXX20)
  if(PELMORA_QPDF_HEADERS_IN_CXX20)
    set(${variable} 20 PARENT_SCOPE)
  else()
    set(${variable} 17 PARENT_SCOPE)
  endif()
endfunction()
