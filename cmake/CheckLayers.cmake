# Keeps the layer order of the libraries: run by ctest as a script,
#   cmake -DSOURCE_DIR=<tree> [-DLINKS_FILE=<file>] -P CheckLayers.cmake
# Each folder of Q407_LAYERS (cmake/Layers.cmake) may include headers only of its own folder and of the folders listed
# before it. The Qt-free folders include no Qt header. LINKS_FILE, written at configure time,
# lists every library's link libraries and its folder, so linking is held to the same order.
# Any breach is printed with the file or target that makes it, and the script fails.

include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckLayers: SOURCE_DIR is not set")
endif()

set(breaches "")

list(LENGTH Q407_LAYERS layer_count)
math(EXPR last "${layer_count} - 1")
foreach(index RANGE ${last})
    list(GET Q407_LAYERS ${index} layer)
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/${layer})
        continue()
    endif()
    set(upper "")
    if(index LESS last)
        math(EXPR first_upper "${index} + 1")
        foreach(upper_index RANGE ${first_upper} ${last})
            list(GET Q407_LAYERS ${upper_index} name)
            list(APPEND upper ${name})
        endforeach()
    endif()
    list(JOIN upper "|" upper_pattern)
    list(FIND Q407_QT_FREE_LAYERS ${layer} qt_free)

    file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.h
         ${SOURCE_DIR}/${layer}/*.hpp ${SOURCE_DIR}/${layer}/*.cpp)
    foreach(source ${sources})
        file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line ${includes})
            if(upper_pattern AND line MATCHES "#[ \t]*include[ \t]*[\"<](${upper_pattern})/")
                list(APPEND breaches "${source}: includes a header of ${CMAKE_MATCH_1}/, a layer above ${layer}/")
            endif()
            if(qt_free GREATER -1 AND line MATCHES "#[ \t]*include[ \t]*[\"<](Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*>)")
                list(APPEND breaches "${source}: includes a Qt header in the Qt-free ${layer}/")
            endif()
        endforeach()
    endforeach()
endforeach()

if(LINKS_FILE)
    # Sets q407_layer_targets and, per target, <target>_layer and <target>_links.
    include(${LINKS_FILE})
    foreach(target ${q407_layer_targets})
        list(FIND Q407_LAYERS ${${target}_layer} own_index)
        list(FIND Q407_QT_FREE_LAYERS ${${target}_layer} qt_free)
        foreach(linked ${${target}_links})
            if(qt_free GREATER -1 AND linked MATCHES "^Qt[0-9]*::")
                list(APPEND breaches "${target} (${${target}_layer}/): links ${linked} in a Qt-free layer")
            endif()
            if(DEFINED ${linked}_layer)
                list(FIND Q407_LAYERS ${${linked}_layer} linked_index)
                if(linked_index GREATER own_index)
                    list(APPEND breaches "${target} (${${target}_layer}/): links ${linked} of ${${linked}_layer}/, a layer above")
                endif()
            endif()
        endforeach()
    endforeach()
endif()

if(breaches)
    list(JOIN breaches "\n  " text)
    list(JOIN Q407_LAYERS " < " order)
    message(FATAL_ERROR "Layer order broken (${order}):\n  ${text}")
endif()
list(JOIN Q407_LAYERS " < " order)
message(STATUS "Layer order kept: ${order}")
