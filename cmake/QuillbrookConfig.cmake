# One interface target that carries warnings and Qt's strictness to every target of the project.
add_library(qb_common_cfg INTERFACE)
target_compile_options(qb_common_cfg INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(qb_common_cfg INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
target_include_directories(qb_common_cfg INTERFACE
    ${PROJECT_SOURCE_DIR}/src
    ${CMAKE_BINARY_DIR}/generated)

if(QB_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer targets: clang's coverage instrumentation on all the code they reach, with the
# address and undefined-behaviour checks that turn a fault into a finding.
if(QB_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
