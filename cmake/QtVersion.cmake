# SPDX-License-Identifier: GPL-3.0-or-later
# The one choice of Qt: Qt 6 (6.4 or later) where it is installed, else Qt 5.15.
# -DQT_MAJOR_VERSION=5 or 6 insists on one. The project links only the
# versionless Qt:: targets, so nothing else depends on the choice.
set(QM_QT_CHOICE_DOC "Qt to build against: 5 or 6 (empty: Qt 6 where installed, else Qt 5)")
set(QT_MAJOR_VERSION "" CACHE STRING "${QM_QT_CHOICE_DOC}")
set(QM_QT_MINIMUM_5 5.15)
set(QM_QT_MINIMUM_6 6.4)

# qm_find_qt(COMPONENT...): finds the chosen Qt with these components and
# records the choice in the cache, so a later configure keeps it.
macro(qm_find_qt)
    if(NOT QT_MAJOR_VERSION)
        find_package(Qt6 ${QM_QT_MINIMUM_6} QUIET COMPONENTS ${ARGN})
        if(Qt6_FOUND)
            set(QT_MAJOR_VERSION 6 CACHE STRING "${QM_QT_CHOICE_DOC}" FORCE)
        else()
            set(QT_MAJOR_VERSION 5 CACHE STRING "${QM_QT_CHOICE_DOC}" FORCE)
        endif()
    endif()
    if(NOT QT_MAJOR_VERSION MATCHES "^[56]$")
        message(FATAL_ERROR "QT_MAJOR_VERSION is ${QT_MAJOR_VERSION}; it must be 5 or 6")
    endif()
    find_package(Qt${QT_MAJOR_VERSION} ${QM_QT_MINIMUM_${QT_MAJOR_VERSION}}
                 REQUIRED COMPONENTS ${ARGN})
endmacro()
