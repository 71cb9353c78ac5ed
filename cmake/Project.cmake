# Options shared by every library and program of the project.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE -Wall -Wextra)
target_compile_definitions(project_options INTERFACE
  _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX STRICT)
target_include_directories(project_options INTERFACE ${PROJECT_SOURCE_DIR})

# One static library per subsystem folder; every .cpp of the folder belongs to it.
function(project_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC project_options ${ARGN})
endfunction()

# One GoogleTest program per library; ctest runs it through Wine with a time-out.
# A time-out is at least three times the program's run on a busy machine (with
# 12 to 24 busy processes on 8 cores a run took up to 6.5 times as long as on
# an idle one): about 20 times the idle run.
function(project_test_program name timeout)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} gtest project_options)
  add_test(NAME ${name} COMMAND ${name})
  # Test programs share one desktop (keyboard state, capture, focus, the
  # cursor): they take turns.
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout} RESOURCE_LOCK desktop)
endfunction()

# A test program that reads the data archives the build made (beside the
# game program): built after them, told their folder (relative to its own)
# and the key they were made with.
function(project_test_data_archives name)
  add_dependencies(${name} data)
  file(STRINGS ${PROJECT_SOURCE_DIR}/data/archive.key key LIMIT_COUNT 1)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/archive.key)
  string(STRIP "${key}" key)
  file(RELATIVE_PATH folder ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_BINARY_DIR}/app)
  target_compile_definitions(${name} PRIVATE DATA_ARCHIVE_KEY="${key}" DATA_ARCHIVE_FOLDER="${folder}")
endfunction()
