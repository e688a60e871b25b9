# Checks the plan of the source tree: every folder of src/ is one library on a floor, and
# its files include only headers of lower floors (or of their own folder), and the Qt-free
# folders include no Qt header. Run as a test: cmake -DSRC=<src> -P CheckHouse.cmake.
#
# The floors, lowest first. A folder may include the folders of any lower floor, none of
# its own floor but itself, none above.
set(floors
    "base scales"
    "synth doc reference experiment analysis audio"
    "voicing spectrum listening"
    "stimuli"
    "chart"
    "drawing"
    "view"
    "qtseams experiment-window"
    "app")
# Plain C++ without Qt.
set(qt_free base scales synth doc reference experiment analysis voicing spectrum listening stimuli
    chart)

set(floor 0)
foreach(names IN LISTS floors)
    separate_arguments(names)
    foreach(name IN LISTS names)
        set(floor_of_${name} ${floor})
    endforeach()
    math(EXPR floor "${floor} + 1")
endforeach()

file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SRC} ${SRC}/*)
set(faults "")
foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY ${SRC}/${folder})
        continue()
    endif()
    if(NOT DEFINED floor_of_${folder})
        list(APPEND faults "src/${folder} is on no floor of the plan (cmake/CheckHouse.cmake)")
        continue()
    endif()
    list(FIND qt_free ${folder} qt_free_index)
    file(GLOB_RECURSE files ${SRC}/${folder}/*.h ${SRC}/${folder}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        file(RELATIVE_PATH shown ${SRC}/.. ${file})
        foreach(line IN LISTS includes)
            if(line MATCHES "#[ \t]*include[ \t]*\"([a-z-]+)/")
                set(target ${CMAKE_MATCH_1})
                if(target STREQUAL folder OR NOT DEFINED floor_of_${target})
                    continue()
                endif()
                if(NOT floor_of_${target} LESS floor_of_${folder})
                    list(APPEND faults "${shown}: src/${folder} includes src/${target}, which is not below it: ${line}")
                endif()
            elseif(qt_free_index GREATER -1 AND line MATCHES "#[ \t]*include[ \t]*<(Q|qt)")
                list(APPEND faults "${shown}: src/${folder} is plain C++ but includes Qt: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n" text)
    message(FATAL_ERROR "The source tree breaks its plan:\n${text}")
endif()
message(STATUS "Every folder of src/ includes only lower floors; the plain C++ folders include no Qt.")
