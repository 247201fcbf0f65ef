# Helpers shared by every folder's CMakeLists.txt.

# pelmora_library(<target> [LIBS <libs>...])
# One library target from the .cpp, .h and .ui files of the calling folder.
function(pelmora_library target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/*.c ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  target_link_libraries(${target} PUBLIC ${ARG_LIBS})
endfunction()

# pelmora_test(<target> [LIBS <libs>...])
# One GoogleTest binary from the .cpp files of the calling folder, run by CTest offscreen.
function(pelmora_test target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(NOT sources MATCHES "main\\.cpp")
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
  endif()
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PELMORA_SOURCE_DIR=${CMAKE_SOURCE_DIR};PELMORA_STAGE_DIR=${PELMORA_STAGE}"
    TIMEOUT 900)
endfunction()

# pelmora_stage(<target> <folder inside the application folder>)
# Places an executable or shared library where it lives in the installed application folder.
function(pelmora_stage target subfolder)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${PELMORA_STAGE}/${subfolder}
    LIBRARY_OUTPUT_DIRECTORY ${PELMORA_STAGE}/${subfolder})
endfunction()

# pelmora_stage_resources(<target> <resource folder> <destination inside the application folder>)
# Copies a folder of resources (Info.plist, string tables) into the stage when <target> is built.
function(pelmora_stage_resources target source destination)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${source} ${PELMORA_STAGE}/${destination})
endfunction()
