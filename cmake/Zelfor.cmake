# Warnings are errors in our own code only.
function(zelfor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A library made of every .cpp/.h in one source folder. With QML_URI it is also
# a static QML module holding the folder's .qml files (plugin: <target>plugin).
function(zelfor_add_library target folder)
  cmake_parse_arguments(ARG "" "QML_URI" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources AND NOT ARG_QML_URI)
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${ARG_LINKS})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_LINKS})
  zelfor_warnings(${target})
  if(ARG_QML_URI)
    file(GLOB qml_files CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${folder}/*.qml)
    foreach(qml_file ${qml_files})
      get_filename_component(qml_name ${qml_file} NAME)
      set_source_files_properties(${qml_file} PROPERTIES QT_RESOURCE_ALIAS ${qml_name})
    endforeach()
    # The type registrations include each header by its bare file name.
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${folder})
    qt_add_qml_module(${target}
      URI ${ARG_QML_URI}
      VERSION 1.0
      RESOURCE_PREFIX /
      QML_FILES ${qml_files})
  endif()
endfunction()

# One GoogleTest executable per *_test.cpp file of a test folder; each case may run for
# TIMEOUT seconds (120 unless given).
function(zelfor_add_tests folder)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LINKS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  file(GLOB tests CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  foreach(test_source ${tests})
    get_filename_component(name ${test_source} NAME_WE)
    add_executable(${name} ${test_source})
    target_link_libraries(${name} PRIVATE zelfor_testsupport ${ARG_LINKS})
    zelfor_warnings(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  endforeach()
endfunction()
