# SPDX-License-Identifier: GPL-3.0-or-later
# Settings every target of the project shares.
add_library(qm_common INTERFACE)
# Narrowing in braces is an error under clang; gcc only warns unless told.
# Qt 6 sizes are qsizetype, so this keeps int indices honest on both.
target_compile_options(qm_common INTERFACE -Wall -Wextra -Werror=narrowing)
target_compile_definitions(qm_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_DEPRECATED_WARNINGS
    # What Qt 5.15 deprecated is gone from Qt 6: refuse it under Qt 5 too.
    QT_DISABLE_DEPRECATED_BEFORE=0x050F00)
target_include_directories(qm_common INTERFACE ${PROJECT_SOURCE_DIR})
# The version is written here only; the About box and the CLI read it.
target_compile_definitions(qm_common INTERFACE QM_VERSION="${PROJECT_VERSION}")
