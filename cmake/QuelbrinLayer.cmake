# One static library per source layer: every .cpp under src/<name> belongs to it,
# so a new file needs no edit here.
function(quelbrin_layer name)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp ${CMAKE_SOURCE_DIR}/src/${name}/*.h)
    add_library(quelbrin_${name} STATIC ${sources})
    target_include_directories(quelbrin_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(quelbrin_${name} PUBLIC ${ARGN})
endfunction()

# One test executable per tests/<name> folder, linked with the test support library.
function(quelbrin_test_folder name)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE quelbrin_testsupport ${ARGN} GTest::gtest_main)
    add_dependencies(test_${name} quelbrin_data)
    gtest_discover_tests(test_${name}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()
