# SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
# SPDX-License-Identifier: GPL-3.0-or-later

# Run by keep_walls(): fails when a source of the room names a widget or print module's header.
separate_arguments(files UNIX_COMMAND "${SOURCES}")
foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
        if(line MATCHES "Qt(Widgets|PrintSupport)/")
            message(FATAL_ERROR "${file}: ${line}\n${ROOM} sits below the windows and uses no widgets")
        endif()
    endforeach()
endforeach()
