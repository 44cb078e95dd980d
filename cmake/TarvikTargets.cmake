# One static library per source folder: every .cpp (and .qrc) of the folder belongs to it, so
# adding a class means adding its files, not editing lists.

function(tarvik_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(TARVIK_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# tarvik_library(<name> [DEPS <targets...>] [EXCLUDE <file names...>])
function(tarvik_library name)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    foreach(excluded ${ARG_EXCLUDE})
        list(FILTER sources EXCLUDE REGEX "/${excluded}$")
    endforeach()
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

# tarvik_test(<name> [GUI] [LIBS <targets...>]): one test executable from every .cpp of the
# current folder, each test registered with CTest. GUI tests get a QApplication and run on the
# offscreen platform.
function(tarvik_test name)
    cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock)
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE tarvik_gui_test_main Qt6::Test)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    tarvik_warnings(${name})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVIK_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/data")
endfunction()
