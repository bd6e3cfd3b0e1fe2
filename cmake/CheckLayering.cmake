# Fails when a file under src/ includes a header of a layer above its own.
# Run as: cmake -DSOURCE_DIR=<source tree> -P CheckLayering.cmake
#
# Layers, lowest first: each may include itself and the layers below it. The device
# layer is the lowest that may offer the simulated buses, so sim sits just below it.
# The programs sit on top of every layer and never include one another; the command
# line program shows no window.
cmake_minimum_required(VERSION 3.25)

set(layers core model transport sim device measure ui)
set(programs app cli simtool)
set(cli_excludes ui)

function(allowed_folders folder out)
    list(FIND layers ${folder} index)
    if(index GREATER_EQUAL 0)
        math(EXPR last "${index} + 1")
        list(SUBLIST layers 0 ${last} allowed)
    else()
        set(allowed ${layers})
        list(REMOVE_ITEM allowed ${${folder}_excludes})
        list(APPEND allowed ${folder})
    endif()
    set(${out} ${allowed} PARENT_SCOPE)
endfunction()

set(known ${layers} ${programs})
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(violations "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]+" folder ${source})
    if(NOT folder IN_LIST known)
        string(APPEND violations "  src/${source}: folder '${folder}' belongs to no layer\n")
        continue()
    endif()
    allowed_folders(${folder} allowed)
    file(STRINGS ${SOURCE_DIR}/src/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^/\"]+)/.*$" "\\1" used "${line}")
        if(used IN_LIST known AND NOT used IN_LIST allowed)
            string(APPEND violations "  src/${source}: ${line}\n")
        endif()
    endforeach()
endforeach()

if(violations)
    message(FATAL_ERROR "Includes of a layer above the including file's own:\n${violations}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files, every include looks down")
