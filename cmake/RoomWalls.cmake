# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# keep_walls(TARGET): the rooms below the windows use no widgets. Their include paths hold no
# widget headers and no window's folder, so "#include <QWidget>" or "Form4.h" fails to compile
# there; this check, run whenever one of the target's sources changes, also refuses a widget
# header named through its module's folder ("#include <QtWidgets/QWidget>"), which the Qt
# include root would otherwise let through, and the print dialogs' module.
set(CURVE_WALL_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/CheckWalls.cmake)

function(keep_walls target)
    get_target_property(sources ${target} SOURCES)
    get_target_property(folder ${target} SOURCE_DIR)
    list(TRANSFORM sources PREPEND ${folder}/)
    list(FILTER sources INCLUDE REGEX "\\.(cpp|h)$")
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}_walls.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DSOURCES="${sources}" -DROOM=${target}
                -P ${CURVE_WALL_SCRIPT}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${sources} ${CURVE_WALL_SCRIPT}
        COMMENT "Checking that ${target} uses no widgets")
    add_custom_target(${target}_walls DEPENDS ${stamp})
    add_dependencies(${target} ${target}_walls)
    get_target_property(links ${target} LINK_LIBRARIES)
    foreach(forbidden Qt6::Widgets Qt6::PrintSupport widgets curve calibration appshell)
        if(forbidden IN_LIST links)
            message(FATAL_ERROR "${target} links ${forbidden}: the rooms below the windows use no widgets")
        endif()
    endforeach()
endfunction()
