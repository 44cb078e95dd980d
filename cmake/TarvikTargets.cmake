# One static library per source folder: every .cpp (and .qrc) of the folder belongs to it, so
# adding a class means adding its files, not editing lists.

function(tarvik_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(TARVIK_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# In a unity build (TARVIK_UNITY) the files named ALONE are compiled on their own, outside the
# batches: they define a helper in an anonymous namespace under a name that another file of the
# same folder uses too.
function(tarvik_alone)
    foreach(file ${ARGN})
        set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/${file}
            PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endforeach()
endfunction()

# tarvik_library(<name> [DEPS <targets...>] [EXCLUDE <file names...>] [ALONE <file names...>])
function(tarvik_library name)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE;ALONE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    foreach(excluded ${ARG_EXCLUDE})
        list(FILTER sources EXCLUDE REGEX "/${excluded}$")
    endforeach()
    tarvik_alone(${ARG_ALONE})
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
        tarvik_warnings(${name})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# tarvik_test(<name> [GUI] [LIBS <targets...>] [ALONE <file names...>]): one test executable
# from every .cpp of the current folder, each test registered with CTest. GUI tests get a
# QApplication and run on the offscreen platform, and every test of their folder carries the
# CTest label "window"; the others are built by the target core_tests (`make test-core`). Each
# test also carries the name of its executable as a label (`ctest -L '^test_server$'`).
function(tarvik_test name)
    cmake_parse_arguments(ARG "GUI" "" "LIBS;ALONE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    tarvik_alone(${ARG_ALONE})
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock)
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE tarvik_gui_test_main Qt6::Test)
        set_property(DIRECTORY APPEND PROPERTY LABELS window)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
        add_dependencies(core_tests ${name})
    endif()
    tarvik_warnings(${name})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS ${name}
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVIK_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/data")
endfunction()
